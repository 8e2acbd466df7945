// The terminal program: one row per command and outcome proves its wiring and exit status
// (the rules' cases live in the game library's tests); in-process, and once as a process.
#include "commands.h"
#include "testsupport.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace tfp;
using namespace tfp::test;

namespace {
// The arguments, the game saved first as FILE (nullopt: none), the exit status, all of
// standard output (or how it begins, when that ends no line), a part of standard error (empty:
// nothing there), standard input, and player #1's password in the file a new game made.
// clang-format off
struct CliRow { QString arguments; std::optional<GameRecord> game; int status; QString out, err, in; std::optional<QString> player1Pwd; };
// clang-format on
} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    // In the arguments FILE is the game file, BARE the same without its extension and EVIL a
    // name of control characters, all in the test's own folder.
    void commands_data()
    {
        addRowColumn<CliRow>();
        const auto row = [](const char* tag, const QString& arguments,
                            const std::optional<GameRecord>& game, int status, const QString& out,
                            const QString& err = {}, const char* in = "",
                            const std::optional<QString>& player1Pwd = {}) {
            addRow<CliRow>(tag, arguments, game, status, out, err, in, player1Pwd);
        };
        const std::optional<GameRecord> none;
        const QString create = "new FILE --game Ridge --player1 Anna --player2 Ben --turns 20 "
                               "--modifier 3 --mode ";
        const QString info = "info FILE", secure = "check FILE --password-stdin";
        GameRecord sent = secureGame(17, 19, 2), hostile = basicGame(17, 19), unknown = hostile;
        sent.Player1LastTurn = 17; // Anna has checked turn 17 and sent the file on
        sent.Player1Name = "Anna\nBATTLE OVER - CEASE FIRE!";
        hostile.GameName = "Ridge\x1b[31m\r";
        hostile.Player2Name = QString("\x1b]2;title\x07") + "Ben\u00ad";
        hostile.GameType = unknown.GameType = static_cast<GameType>(2);
        hostile.Version = "1.5.21\n";
        const QString lines = "Game:          Ridge\nVersion:       1.5.24\n"
                              "Type:          Scenario\nMode:          %3\nPlayer #1:     Anna\n"
                              "Player #2:     Ben\nTurns:         20\nModifier:      3\n"
                              "Last checked:  %1\nNext to check: %2\n";
        const QString held = "Held by:       player #%1 (%2)\nGoes next to:  player #%3 (%4)\n";
        // clang-format off
        row("nothing", "", none, 2, "", "No command given.");
        row("unknown command", "play", none, 2, "", "Unknown command 'play'.");
        row("help", "--help", none, 0, "Usage:\n  turnpicker-cli new");
        row("command help", "info -h", none, 0, "Usage:\n  turnpicker-cli new");
        row("version", "-v", none, 0, "turnpicker-cli 1.6.0 (Torva Fogline Turnpicker)\n");
        row("new: refused entry", create + "basic --turns 100", none, 2, "", "from 1 to 99.");
        row("new: unknown type", create + "basic --type campaign", none, 2, "", "'scenario' or");
        row("new: unknown mode", create + "open", none, 2, "", "--mode must be 'basic', 'secure' or");
        row("new: other extension", QString(create).replace("FILE", "FILE.txt") + "basic", none, 2, "", "A game file's name must end in .tfp.");
        row("new: a file there", create + "basic", basicGame(), 2, "", "exists; add --force");
        row("new: name too long", QString(create).replace("FILE", "LONG") + "secure", none, 2, "", "' is too long");
        row("new: password refused", create + "secure --password-stdin", none, 1, "", "cannot contain a control character (U+007F).", "x\x7f\n");
        row("new: secure quick battle, asked again, names and password composed", QString(create).replace("Anna", "Anne\u0301") + "SECURE --type Quick", none, 0,
            "Game File Saved\nAnn\u00e9, send this file to player #2.\n", "characters.\nSet Password for Player #1 (Ann\u00e9): \n", "\nAlpha\xcc\x81\n", QStringLiteral("Alph\u00e1"));
        row("new: replacing, .tfp added", QString(create).replace("FILE", "BARE") + "basic --force", basicGame(16, 17), 0, "Game File Saved\nPress 'Check Turn' starting on turn 17\n", "", "", "");
        row("new: a name the system cannot hold", QString(create).replace("FILE", "EVIL") + "basic", none, 1, "", "is not valid in the system's encoding");
        row("check: over", "check FILE", basicGame(19, 19), 3, "Turn #19\nThe battle is already over!\n");
        row("check: unknown type", "check FILE", unknown, 1, "", "game type the program does not");
        row("check: secure", "check FILE", secureGame(16, 19, 1), 0, "Turn #17\nThis is NOT the ending turn.\nBen, send this file to player #1.\n", "Enter Password for Player #2 (Ben): \n", "Bravo\n");
        row("check: not allowed", secure, sent, 4, "Game File Loaded\nAnna\\x0aBATTLE OVER - CEASE FIRE!, player #2 needs to check turn 18\n", "", "Alpha\n");
        row("check: missing file", "check FILE", none, 1, "", "Could not open the file '");
        row("check: unsupported version", "check FILE", hostile, 1, "", "\t\t1.5.21\\x0a\n");
        // What info shows: never a password or a Secure game's ending turn, and every control
        // character escaped, so that nothing a file holds drives the terminal.
        row("info: over", info, basicGame(19, 19), 0, lines.arg("19", "none, the battle is over", "Basic"));
        row("info: secure, undrawn", info, secureGame(16, -1, 1), 0, lines.arg("none", "17", "Secure") + held.arg("1", "Anna", "2", "Ben"));
        row("info: secure", info, secureGame(17, 19, 2), 0, lines.arg("17", "18", "Secure") + held.arg("2", "Ben", "1", "Anna"));
        row("info: unknown version, type and control characters", info, hostile, 0, lines.arg("17", "18", "Basic").replace("1.5.24", "1.5.21\\x0a (not supported by this program)")
            .replace("Ridge", "Ridge\\x1b[31m\\x0d").replace("Scenario", "unknown (2)").replace(" Ben", " \\x1b]2;title\\x07Ben\\xad"));
        row("info: control characters in the name", "info EVIL.tfp", none, 1, "", "evil\\x1b]0;owned\\x07\\x0a\\x1b[2J\\u202e\ufffd.tfp'.\n\nThe file's name is not valid");
        // clang-format on
    }
    void commands()
    {
        QFETCH(CliRow, row);
        auto& [arguments, game, status, out, err, in, player1Pwd] = row;
        QTemporaryDir dir;
        const QString file = dir.filePath("game.tfp");
        QVERIFY(!game || saveGame(*game, file));
        const QByteArray before = fileBytes(file);
        QString output, errors;
        QTextStream input(&in), o(&output), e(&errors);
        QStringList words = arguments.split(u' ', Qt::SkipEmptyParts);
        words.replaceInStrings("FILE", file).replaceInStrings("BARE", dir.filePath("game"));
        words.replaceInStrings("LONG", dir.filePath(QString(245, u'g') + ".tfp"));
        words.replaceInStrings("EVIL", dir.filePath("evil\x1b]0;owned\x07\n\x1b[2J\u202e\ufffd"));
        QCOMPARE(cli::run(words, {input, o, e}), status);
        QCOMPARE(out.isEmpty() || out.endsWith('\n') ? output : output.left(out.size()), out);
        QVERIFY2(err.isEmpty() ? errors.isEmpty() : errors.contains(err), qPrintable(errors));
        // Refused and unreadable: nothing written, nothing else made.
        if (status != 0 && status != 3)
            QCOMPARE(fileBytes(file), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).join(u','),
                 QFileInfo::exists(file) ? "game.tfp" : "");
        if (player1Pwd)
            QCOMPARE(loadGame(file).Player1Pwd, *player1Pwd);
    }

    // Two computers (two key folders) play a Sealed game to its end; after every command the
    // file passes a check of the protocol written apart from this program (tests/cli/
    // verify_sealed.py, where Python is at hand), and neither seed ever appears in it or in
    // what info shows.
    void sealed_twoComputers_playToTheEnd()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("ridge.tfp");
        QString shown; // what the last command wrote, to either stream
        const auto run = [&](const QString& command, const char* computer) {
            QString in, output, errors;
            QTextStream input(&in), o(&output), e(&errors);
            const QStringList keys = {"--keys", dir.filePath(computer)};
            const int status =
                cli::run(QString(command).replace("FILE", file).split(u' ') + keys, {input, o, e});
            shown = output + errors;
            return status;
        };
        const QString python = QStandardPaths::findExecutable("python3");
        const auto verified = [&] {
            QProcess verifier;
            verifier.start(python, {QStringLiteral(TFP_SOURCE_DIR "/verify_sealed.py"), file});
            return verifier.waitForFinished() && verifier.exitCode() == 0;
        };
        const QString create = "new FILE --game Ridge --player1 Anna --player2 Ben --turns 20";
        QCOMPARE(run(create + " --modifier 3 --type quick --mode sealed", "anna"), 0);
        QCOMPARE(shown, "Game File Saved\nAnna, send this file to player #2.\n");
        QCOMPARE(loadGame(file).Version, "1.6.0"); // which 1.5 copies refuse
        QCOMPARE(run("check FILE", "ben"), 4);
        QVERIFY(shown.endsWith("turnpicker-cli join " + file + "\n"));
        QCOMPARE(run("join FILE", "anna"), 1);
        QCOMPARE(run("join FILE", "ben"), 0);
        QCOMPARE(run("join FILE", "carl"), 1);
        QCOMPARE(run("check FILE", "carl"), 1);
        int status = 0, checks = 0;
        for (const char* computer = "anna"; status == 0; computer = checks % 2 ? "ben" : "anna") {
            QVERIFY(python.isEmpty() || verified());
            QVERIFY(++checks <= 7);
            status = run("check FILE", computer);
            QVERIFY(shown.endsWith(
                QString(", send this file to player #%1.\n").arg(checks % 2 == 1 ? 2 : 1)));
        }
        QCOMPARE(status, 3);
        QVERIFY(python.isEmpty() || verified());
        QCOMPARE(run("info FILE", "carl"), 0);
        QVERIFY(shown.contains(QString("Ending turn:   %1 (verified)\n").arg(16 + checks)));
        QVERIFY(shown.contains("Key here:      none (it would be "));
        QDirIterator keys(dir.path(), {"*.key"}, QDir::Files, QDirIterator::Subdirectories);
        while (keys.hasNext()) {
            const QByteArray seed = fileBytes(keys.next()).split('\n').value(3).mid(5);
            QCOMPARE(seed.size(), 64);
            QVERIFY(!shown.contains(QString::fromLatin1(seed)));
            QVERIFY(!plainDataLine(loadGame(file)).contains(QString::fromLatin1(seed)));
        }
    }

    // A real run: the exit status and the output of a check that ends the battle, the result
    // on a line of its own after the password's prompt.
    void process_exitStatusAndOutput()
    {
        QTemporaryDir dir;
        GameRecord game = secureGame(18, 19, 1);
        QVERIFY(saveGame(game, dir.filePath("process.tfp")));
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(TFP_CLI_PATH, {"check", game.FilePath});
        process.write("Bravo\n");
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 3);
        QCOMPARE(process.readAll().replace("\r\n", "\n"),
                 QByteArray("Enter Password for Player #2 (Ben): \nTurn #19\nBATTLE OVER - CEASE "
                            "FIRE!\nBen, send this file to player #1.\n"));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
