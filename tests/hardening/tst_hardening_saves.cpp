// Saves under stress: the terminal program killed at random moments of a check, and checks
// whose save fails. The game file always holds the previous game or the whole new one, and a
// save that fails counts no turn and leaves everything where it would have gone as it was.
#include "game/sealedplay.h"
#include "game/turncheck.h"
#include "recorder.h"
#include "testsupport.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <thread>
#ifdef Q_OS_LINUX
#include <sched.h>
#include <sys/mount.h>
#endif

using namespace tfp;
using namespace tfp::test;

namespace {

// clang-format off
enum class Target { ReadOnlyFolder, FullFileSystem };
// clang-format on

} // namespace

class SavesTest : public QObject
{
    Q_OBJECT

private slots:
    // Checks by the terminal program killed after a random delay up to a little beyond a whole
    // run (every 25th run is whole, and timed): the file always holds the game with the turn
    // before or after the check, and a run that was not killed counted it. A Sealed game's
    // players check in turn, each with their own keys, in a game that lasts the runs.
    void checkCommand_killedAtRandom_fileStaysWhole_data()
    {
        QTest::addColumn<SecurityMode>("mode");
        QTest::newRow("basic") << SecurityMode::Basic;
        QTest::newRow("sealed") << SecurityMode::Sealed;
    }

    void checkCommand_killedAtRandom_fileStaysWhole()
    {
        QFETCH(SecurityMode, mode);
#ifdef Q_OS_WIN
        const int kRuns = 40; // starting a process takes most of a run there
#else
        const int kRuns = mode == SecurityMode::Sealed ? 100 : 200;
#endif
        QTemporaryDir dir;
        const QString path = dir.filePath("game.tfp");
        const QStringList keys = {dir.filePath("keys1"), dir.filePath("keys2")};
        GameRecord game = basicGame(0, 32000);
        sealed::State state;
        QString problem;
        if (mode == SecurityMode::Sealed) {
            // A quick battle of 99 turns, modifier 98, whose values from seed 1 go on beyond
            // 100 checks.
            game.TotalTurns = 99;
            game.TurnVariance = 98;
            game.GameType = GameType::QuickBattle;
            QRandomGenerator random(1);
            QVERIFY(sealed::createGame(game, keys[0], problem, random) &&
                    sealed::joinGame(game, keys[1], problem, random));
        }
        QVERIFY(saveGame(game, path));
        const GameRecord reference = loadGame(path);
        const auto turnOfWholeFile = [&] {
            GameRecord loaded = loadGame(path);
            const int turn = loaded.CurrentTurn;
            if (mode == SecurityMode::Sealed)
                return sealed::readState(loaded, state, problem) ? turn : -1;
            loaded.CurrentTurn = reference.CurrentTurn;
            loaded.LastSavedDateTime = reference.LastSavedDateTime;
            loaded.FileDigest = reference.FileDigest;
            return loaded == reference ? turn : -1;
        };
        const auto nextKeys = [&] {
            return sealed::readState(loadGame(path), state, problem)
                       ? QStringList{"--keys", keys.value(state.nextPlayer() - 1)}
                       : QStringList{};
        };
        QRandomGenerator random(replayableSeed());
        qint64 wholeRunNs = 0;
        int leftBehind = 0, turn = 0, killedBefore = 0, killedAfter = 0;
        for (int run = 0; run < kRuns; ++run) {
            const bool whole = run % 25 == 0;
            const qint64 delayNs = whole ? 0 : random.bounded(wholeRunNs + wholeRunNs / 4);
            QElapsedTimer timer;
            timer.start();
            QProcess process;
            process.start(QStringLiteral(TFP_CLI_PATH),
                          QStringList{"check", path} +
                              (mode == SecurityMode::Sealed ? nextKeys() : QStringList{}));
            QVERIFY(process.waitForStarted());
            if (!whole) {
                std::this_thread::sleep_for(std::chrono::nanoseconds(delayNs));
                process.kill();
            }
            QVERIFY(process.waitForFinished());
            // The quickest whole run sets the delays, so that a slow one does not stretch them.
            if (whole && (run == 0 || timer.nsecsElapsed() < wholeRunNs))
                wholeRunNs = timer.nsecsElapsed();
            const bool killed = process.exitStatus() == QProcess::CrashExit;
            const int after = turnOfWholeFile();
            const QString what = QString::asprintf("run %d, delay %lld ns: turn %d after %d", run,
                                                   delayNs, after, turn);
            QVERIFY2(after == turn + 1 || (killed && after == turn), qPrintable(what));
            QVERIFY2(killed || process.exitCode() == 0, process.readAllStandardError());
            // A kill while a run took over the lock of a killed one can leave that takeover's
            // own marker empty, and Qt's lock then waits 30 s before it counts as left behind;
            // what the killed runs left goes, so that each run finds the folder as a player would.
            for (const QString& left : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden))
                leftBehind += left != "game.tfp" && QFile::remove(dir.filePath(left));
            killedBefore += killed && after == turn;
            killedAfter += killed && after == turn + 1;
            turn = after;
        }
        qInfo("%d runs: %d killed before the save, %d after it, %d not killed; %d files left",
              kRuns, killedBefore, killedAfter, kRuns - killedBefore - killedAfter, leftBehind);
        // Kills between the save and the exit, too short a stretch to hit surely, are counted.
        QVERIFY2(killedBefore > 0, "no kill landed before the save");
    }

    // A copy killed (or a machine losing power) as it saved leaves its lock (empty, when it was
    // being made) and, where the file system makes no unnamed temporary files, a copy of the
    // game: a check a few seconds later takes the lock over, removes the copy and saves. Names
    // that only look like such a copy stay, and so does a copy too young to be left behind.
    void saveDataIfUnchanged_savesCutShort_leftoversRemoved()
    {
        QTemporaryDir dir;
        GameRecord game = basicGame();
        QVERIFY(saveGame(game, dir.filePath("game.tfp")));
        QStringList kept = {"game.tfp",         "game.tfp.Young",  "game.tfp.Abcde",
                            "game.tfp.Abcdefg", "game.tfp.Abc1ef", "gameXtfp.Abcdef",
                            "a game.tfp.Abcdef"};
        for (const QString& name : kept.mid(2) + QStringList{"game.tfp.lock", "game.tfp.AbcXyz"}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QFile::WriteOnly) &&
                    file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-6),
                                     QFileDevice::FileModificationTime));
        }
        QVERIFY(writeFile(dir.filePath(kept[1] += "A"), "made just now"));
        FileErrorInfo error;
        QCOMPARE(saveDataIfUnchanged(game, error), GuardedSave::Saved);
        QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        files.sort();
        kept.sort();
        QCOMPARE(files, kept);
    }

    void checkTurn_saveFails_turnNotCountedNothingWritten_data()
    {
        QTest::addColumn<Target>("target");
        QTest::addColumn<SecurityMode>("mode");
        for (const SecurityMode mode : {SecurityMode::Basic, SecurityMode::Secure}) {
            const char* name = mode == SecurityMode::Basic ? "basic" : "secure";
            QTest::addRow("read-only folder, %s", name) << Target::ReadOnlyFolder << mode;
            QTest::addRow("full file system, %s", name) << Target::FullFileSystem << mode;
        }
    }

    void checkTurn_saveFails_turnNotCountedNothingWritten()
    {
        QFETCH(Target, target);
        QFETCH(SecurityMode, mode);
        QTemporaryDir dir;
        const QString folder = dir.filePath("games");
        const QString path = folder + "/game.tfp";
        GameRecord game = mode == SecurityMode::Secure ? secureGame(16, 19, 1) : basicGame();
        QVERIFY(QDir().mkpath(folder));
#ifdef Q_OS_LINUX
        // A 16 kB file system on the folder, seen by this thread alone (a private mount namespace).
        if (target == Target::FullFileSystem &&
            (::unshare(CLONE_NEWNS) != 0 ||
             ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
             ::mount("tmpfs", qPrintable(folder), "tmpfs", 0, "size=16k") != 0))
            QSKIP("no private mount namespace with a tmpfs here (this needs root)");
#else
        if (target == Target::FullFileSystem)
            QSKIP("a private mount namespace with a tmpfs needs Linux");
#endif
        QVERIFY(saveGame(game, path));
        QFile filler(folder + "/filler"); // fills the small file system to the last byte
        bool filling =
            target == Target::FullFileSystem && filler.open(QFile::WriteOnly | QFile::Unbuffered);
        while (filling)
            filling = filler.write(QByteArray(1024, '\0')) > 0 || filler.write("", 1) > 0;
        if (target == Target::ReadOnlyFolder) {
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
            if (writeFile(folder + "/probe", "")) {
                QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner |
                                                          QFile::ExeOwner));
                QSKIP("this process writes into read-only folders (root, or Windows): "
                      "tst_hardening_posix runs this check as another user");
            }
        }
        GameRecord record = loadGame(path);
        const GameRecord before = record;
        FileErrorInfo expected; // why the save fails, as saveData itself says
        QVERIFY(!saveData(record, expected) && !expected.Description.isEmpty());
        const QMap<QString, QByteArray> files = snapshot(dir.path());

        Recorder recorder;
        const CheckOutcome outcome = checkTurnCommand(record, recorder);
        const QMap<QString, QByteArray> filesAfter = snapshot(dir.path());
#ifdef Q_OS_LINUX
        QVERIFY(target != Target::FullFileSystem || ::umount2(qPrintable(folder), MNT_DETACH) == 0);
#endif
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(outcome.result, CheckResult::SaveFailed);
        QVERIFY(!outcome.saved && record == before);
        const QString notChecked = "The game file could not be saved, so turn 17 was not checked.";
        QCOMPARE(outcome.view, (GameView{{"Turn Not Checked", notChecked, StatusColour::Yellow},
                                         {"Check Turn 17", true, std::nullopt}})); // no hand-over
        QCOMPARE(recorder.messages,
                 QList<Message>{fileErrorMessage(FileAction::Save, path, expected.Description)});
        QCOMPARE(filesAfter, files);
    }
};

QTEST_GUILESS_MAIN(SavesTest)
#include "tst_hardening_saves.moc"
