// Saves under stress: the terminal program killed at random moments of a check, and saves
// that cannot be written (a missing folder, a folder in the file's place, a folder without
// write permission). The game file on disk always holds either the previous game or the
// whole new one, and a save that fails does not count the turn.
#include "game/gamefile.h"
#include "game/turncheck.h"
#include "hardening.h"

#include <algorithm>
#include <chrono>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <thread>

using namespace tfp;
using namespace tfp::hardening;

namespace {

enum class Target
{
    MissingFolder,
    PathIsFolder,
    ReadOnlyFolder,
};

// The game with everything a check may change put back, to compare two files' games.
GameRecord withoutCheckChanges(GameRecord record)
{
    record.CurrentTurn = 0;
    record.LastSavedDateTime = QDateTime();
    record.FilePath.clear();
    record.FileDigest.clear();
    return record;
}

} // namespace

class SavesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(QFileInfo(cliPath()).isExecutable(), qPrintable(cliPath())); }

    void checkCommand_killedAtRandom_fileStaysWhole()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("endless.tfp"));
        const GameRecord game = endlessGame(path);
        FileErrorInfo error;
        QVERIFY2(saveData(game, error), qPrintable(error.Description));
        const QStringList arguments{QStringLiteral("check"), path};
        GameRecord reference;
        QString whyNot;
        QVERIFY2(loadGame(path, reference, whyNot), qPrintable(whyNot));

        // Un-killed runs first: how long a whole check takes, from start to exit.
        qint16 turn = 0;
        qint64 longestNs = 0;
        for (int i = 0; i < 5; ++i) {
            QProcess process;
            QElapsedTimer timer;
            timer.start();
            process.start(cliPath(), arguments);
            QVERIFY(process.waitForFinished(60000));
            longestNs = std::max(longestNs, timer.nsecsElapsed());
            QCOMPARE(process.exitStatus(), QProcess::NormalExit);
            QCOMPARE(process.exitCode(), 0);
            ++turn;
            GameRecord loaded;
            QString why;
            QVERIFY2(loadGame(path, loaded, why), qPrintable(why));
            QCOMPARE(loaded.CurrentTurn, turn);
        }
        // Kills are spread from the start to a little beyond the slowest whole run.
        const qint64 rangeNs = longestNs + longestNs / 5;

        quint32 seed = QRandomGenerator::global()->generate();
        if (const QByteArray replay = qgetenv("TFP_HARDENING_SEED"); !replay.isEmpty())
            seed = replay.toUInt();
        qInfo("kill test: seed %u (set TFP_HARDENING_SEED to replay), whole run %.1f ms, "
              "kill delays 0 to %.1f ms",
              seed, double(longestNs) / 1e6, double(rangeNs) / 1e6);
        QRandomGenerator random(seed);

        // At least kMinRuns runs; more, within a time budget, until kills have landed both
        // before and after the save. On Windows starting a process takes most of a run (under
        // Wine, nearly a second), so there are fewer runs, and a kill in the short stretch
        // between the save and the exit is counted but not required.
#ifdef Q_OS_WIN
        constexpr int kMinRuns = 100;
        constexpr bool kKillAfterSaveRequired = false;
#else
        constexpr int kMinRuns = 250;
        constexpr bool kKillAfterSaveRequired = true;
#endif
        constexpr int kMaxRuns = 2000;
        constexpr qint64 kBudgetMs = 90000;
        int runs = 0;
        int interrupted = 0;
        int foundWhole = 0;
        int killedBeforeSave = 0;
        int killedAfterSave = 0;
        int finishedBeforeKill = 0;
        QStringList broken;
        QElapsedTimer budget;
        budget.start();
        while (runs < kMinRuns || ((killedBeforeSave == 0 || killedAfterSave == 0) &&
                                   runs < kMaxRuns && budget.elapsed() < kBudgetMs)) {
            ++runs;
            const qint64 delayNs = random.bounded(rangeNs);
            QProcess process;
            QElapsedTimer timer;
            timer.start();
            process.start(cliPath(), arguments);
            QVERIFY2(process.waitForStarted(60000), qPrintable(process.errorString()));
            // The random delay is the point of this test: it decides where the kill lands.
            if (const qint64 left = delayNs - timer.nsecsElapsed(); left > 0)
                std::this_thread::sleep_for(std::chrono::nanoseconds(left));
            process.kill();
            QVERIFY(process.waitForFinished(60000));
            const bool killed = process.exitStatus() == QProcess::CrashExit;

            GameRecord loaded;
            QString why;
            const bool loads = loadGame(path, loaded, why);
            const bool turnIsOneOfTwo =
                loads && (loaded.CurrentTurn == turn || loaded.CurrentTurn == turn + 1);
            const bool sameGame =
                loads && withoutCheckChanges(loaded) == withoutCheckChanges(reference);
            const bool whole = loads && turnIsOneOfTwo && sameGame;
            if (killed) {
                ++interrupted;
                if (whole)
                    ++foundWhole;
                if (whole && loaded.CurrentTurn == turn)
                    ++killedBeforeSave;
                else if (whole)
                    ++killedAfterSave;
            } else {
                ++finishedBeforeKill;
                if (process.exitCode() != 0 || !whole || loaded.CurrentTurn != turn + 1) {
                    broken << QStringLiteral("run %1 (delay %2 ns) finished with status %3 and "
                                             "left turn %4")
                                  .arg(runs)
                                  .arg(delayNs)
                                  .arg(process.exitCode())
                                  .arg(loaded.CurrentTurn);
                }
            }
            if (whole) {
                turn = loaded.CurrentTurn;
            } else {
                broken << QStringLiteral("run %1 (delay %2 ns): file not whole (%3, turn %4 "
                                         "after turn %5)")
                              .arg(runs)
                              .arg(delayNs)
                              .arg(loads ? QStringLiteral("loads") : why)
                              .arg(loaded.CurrentTurn)
                              .arg(turn);
                // Put a good file back so the runs that follow test something.
                GameRecord restored = game;
                restored.CurrentTurn = turn;
                QVERIFY2(saveData(restored, error), qPrintable(error.Description));
            }
        }
        const QStringList strays =
            QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
        qInfo("kill test: %d runs, %d interrupted, %d found whole after an interruption "
              "(%d killed before the save, %d after it), %d finished before the kill, "
              "%lld stray files besides the game, %lld ms",
              runs, interrupted, foundWhole, killedBeforeSave, killedAfterSave, finishedBeforeKill,
              qsizetype(strays.size() - 1), budget.elapsed());
        for (const QString& line : std::as_const(broken))
            qWarning("%s", qPrintable(line));
        QVERIFY2(broken.isEmpty(),
                 qPrintable(QStringLiteral("seed %1: ").arg(seed) + broken.value(0)));
        QCOMPARE(foundWhole, interrupted);
        QVERIFY2(killedBeforeSave > 0,
                 "no kill landed before the save: the kill delays do not cover the run");
        if (kKillAfterSaveRequired) {
            QVERIFY2(killedAfterSave > 0,
                     "no kill landed between the save and the exit: the kill delays do not cover "
                     "the end of the run");
        }
    }

    void checkTurn_saveFails_turnNotCounted_data()
    {
        QTest::addColumn<Target>("target");
        QTest::addColumn<SecurityMode>("mode");

        for (const SecurityMode mode : {SecurityMode::Basic, SecurityMode::Secure}) {
            const char* modeName = mode == SecurityMode::Basic ? "basic" : "secure";
            QTest::addRow("missing folder, %s", modeName) << Target::MissingFolder << mode;
            QTest::addRow("path is a folder, %s", modeName) << Target::PathIsFolder << mode;
            QTest::addRow("read-only folder, %s", modeName) << Target::ReadOnlyFolder << mode;
        }
    }

    void checkTurn_saveFails_turnNotCounted()
    {
        QFETCH(Target, target);
        QFETCH(SecurityMode, mode);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        GameRecord game = endlessGame(dir.filePath(QStringLiteral("good.tfp")));
        game.SecurityMode = mode;
        game.CurrentTurn = 7;
        if (mode == SecurityMode::Secure) {
            game.Player1Pwd = QStringLiteral("alpha");
            game.Player2Pwd = QStringLiteral("bravo");
            game.Player1LastTurn = 5;
            game.Player2LastTurn = 6;
            game.CurrentPlayer = 1;
            game.DestinationPlayer = 2;
        }
        FileErrorInfo error;
        QVERIFY2(saveData(game, error), qPrintable(error.Description));
        const QByteArray goodBytes = fileBytes(game.FilePath);

        QString failing;
        QByteArray previous; // the bytes at the failing path before the check, if any
        QString inside;      // a file inside a folder that stands at the failing path
        switch (target) {
        case Target::MissingFolder:
            failing = dir.filePath(QStringLiteral("missing/game.tfp"));
            break;
        case Target::PathIsFolder:
            failing = dir.filePath(QStringLiteral("folder.tfp"));
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.tfp")));
            inside = QDir(failing).filePath(QStringLiteral("notes.txt"));
            {
                QFile notes(inside);
                QVERIFY(notes.open(QIODevice::WriteOnly));
                notes.write("keep me");
            }
            break;
        case Target::ReadOnlyFolder: {
            const QString folder = dir.filePath(QStringLiteral("locked"));
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("locked")));
            failing = QDir(folder).filePath(QStringLiteral("game.tfp"));
            GameRecord there = game;
            there.FilePath = failing;
            QVERIFY2(saveData(there, error), qPrintable(error.Description));
            previous = fileBytes(failing);
            QVERIFY(makeReadOnly(folder));
            if (readOnlyFolderIsWritable(folder)) {
                QVERIFY(makeWritable(folder));
                QSKIP("this process may write into a read-only folder (it runs as root or with "
                      "CAP_DAC_OVERRIDE, or on Windows, where a folder's read-only attribute "
                      "does not stop writes), so a save there cannot fail");
            }
            break;
        }
        }

        GameRecord record;
        record.FilePath = game.FilePath;
        QVERIFY2(getData(record, error), qPrintable(error.Description));
        record.FilePath = failing;
        const GameRecord before = record;

        // The reason the save fails, as saveData itself gives it for this path.
        FileErrorInfo expected;
        QVERIFY(!saveData(record, expected));
        QVERIFY(!expected.Description.isEmpty());

        MessageRecorder recorder;
        const CheckOutcome outcome = checkTurnCommand(record, recorder);
        if (target == Target::ReadOnlyFolder)
            QVERIFY(makeWritable(QFileInfo(failing).path()));

        QCOMPARE(outcome.result, CheckResult::SaveFailed);
        QVERIFY(!outcome.saved);
        QVERIFY(outcome.handOver.isEmpty());
        QVERIFY(record == before);
        QCOMPARE(recorder.messages.size(), 1);
        QCOMPARE(recorder.messages.first(),
                 fileErrorMessage(FileAction::Save, failing, expected.Description));
        QCOMPARE(fileBytes(game.FilePath), goodBytes);
        switch (target) {
        case Target::MissingFolder:
            QVERIFY(!QFileInfo::exists(QFileInfo(failing).path()));
            break;
        case Target::PathIsFolder:
            QVERIFY(QFileInfo(failing).isDir());
            QCOMPARE(fileBytes(inside), QByteArray("keep me"));
            QCOMPARE(QDir(failing).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1);
            break;
        case Target::ReadOnlyFolder: {
            QCOMPARE(fileBytes(failing), previous);
            GameRecord onDisk;
            QString why;
            QVERIFY2(loadGame(failing, onDisk, why), qPrintable(why));
            QCOMPARE(onDisk.CurrentTurn, before.CurrentTurn);
            break;
        }
        }
    }
};

QTEST_GUILESS_MAIN(SavesTest)
#include "tst_hardening_saves.moc"
