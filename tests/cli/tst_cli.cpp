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

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    // The arguments ("FILE": the game file, saved first when the game has a version), the
    // exit status, all of standard output (or how it begins, when that ends no line), a part
    // of standard error (empty: nothing there) and standard input.
    void commands_data()
    {
        for (const char* column : {"arguments", "out", "err", "in"})
            QTest::addColumn<QString>(column);
        QTest::addColumn<GameRecord>("game");
        QTest::addColumn<int>("status");
        const auto row = [](const char* tag, const QString& arguments, const GameRecord& game,
                            int status, const QString& out, const QString& err = {},
                            const char* in = "") {
            QTest::newRow(tag) << arguments << out << err << QString(in) << game << status;
        };
        const QString create = "new FILE --game Ridge --player1 Anna --player2 Ben --turns 20 "
                               "--modifier 3 --mode ";
        const QString info = "info FILE", secure = "check FILE --password-stdin",
                      prompt = "Set Password for Player #1 (Anna): \n";
        GameRecord sent = secureGame(17, 19, 2), hostile = basicGame(17, 19), unknown = hostile;
        sent.Player1LastTurn = 17; // Anna has checked turn 17 and sent the file on
        hostile.GameName = "Ridge\x1b[31m\r";
        hostile.Player2Name = QString("\x1b]2;title\x07") + "Ben\u00ad";
        hostile.GameType = unknown.GameType = static_cast<GameType>(2);
        hostile.Version = "1.5.21";
        const QString lines = "Game:          Ridge\nVersion:       1.5.24\n"
                              "Type:          Scenario\nMode:          %3\nPlayer #1:     Anna\n"
                              "Player #2:     Ben\nTurns:         20\nModifier:      3\n"
                              "Last checked:  %1\nNext to check: %2\n";
        const QString held = "Held by:       player #%1 (%2)\nGoes next to:  player #%3 (%4)\n";
        row("nothing", "", {}, 2, "", "No command given.");
        row("unknown command", "play", {}, 2, "", "Unknown command 'play'.");
        row("help", "--help", {}, 0, "Usage:\n  turnpicker-cli new");
        row("command help", "info -h", {}, 0, "Usage:\n  turnpicker-cli new");
        row("version", "-v", {}, 0, "turnpicker-cli 1.6.0 (Torva Fogline Turnpicker)\n");
        row("new: refused entry", create + "basic --turns 100", {}, 2, "", "from 1 to 99.");
        row("new: unknown type", create + "basic --type campaign", {}, 2, "", "'scenario' or");
        row("new: unknown mode", create + "open", {}, 2, "",
            "--mode must be 'basic', 'secure' or 'sealed'");
        row("new: other extension", QString(create).replace("FILE", "FILE.txt") + "basic", {}, 2,
            "", "A game file's name must end in .tfp.");
        row("new: a file there", create + "basic", basicGame(), 2, "", "exists; add --force");
        row("new: name too long", QString(create).replace("FILE", "LONG") + "secure", {}, 2, "",
            "' is too long");
        row("new: password refused", create + "secure --password-stdin", {}, 1, "",
            "cannot contain the characters <", "x<\n");
        row("new: secure quick battle, asked again", create + "SECURE --type Quick", {}, 0,
            "Game File Saved\nAnna, send this file to player #2.\n",
            prompt + "Please enter a password between 1 and 20 characters.\n" + prompt,
            "\nAlpha\n");
        row("new: replacing, .tfp added", QString(create).replace("FILE", "BARE") + "basic --force",
            basicGame(16, 17), 0, "Game File Saved\nPress 'Check Turn' starting on turn 17\n");
        row("check: over", "check FILE", basicGame(19, 19), 3,
            "Turn #19\nThe battle is already over!\n");
        row("check: unknown type", "check FILE", unknown, 1, "", "game type the program does not");
        row("check: secure", "check FILE", secureGame(16, 19, 1), 0,
            "Turn #17\nThis is NOT the ending turn.\nBen, send this file to player #1.\n",
            "Enter Password for Player #2 (Ben): \n", "Bravo\n");
        row("check: not allowed", secure, sent, 4,
            "Game File Loaded\nAnna, player #2 needs to check turn 18\n", "", "Alpha\n");
        row("check: missing file", "check FILE", {}, 1, "", "Could not open the file '");
        // What info shows: never a password or a Secure game's ending turn, and every control
        // character escaped, so that nothing a file holds drives the terminal.
        row("info: over", info, basicGame(19, 19), 0,
            lines.arg("19", "none, the battle is over", "Basic"));
        row("info: secure, undrawn", info, secureGame(16, -1, 1), 0,
            lines.arg("none", "17", "Secure") + held.arg("1", "Anna", "2", "Ben"));
        row("info: secure", info, secureGame(17, 19, 2), 0,
            lines.arg("17", "18", "Secure") + held.arg("2", "Ben", "1", "Anna"));
        row("info: unknown version, type and control characters", info, hostile, 0,
            lines.arg("17", "18", "Basic")
                .replace("1.5.24", "1.5.21 (not supported by this program)")
                .replace("Ridge", "Ridge\\x1b[31m\\x0d")
                .replace("Scenario", "unknown (2)")
                .replace(" Ben", " \\x1b]2;title\\x07Ben\\xad"));
        row("info: control characters in the name", "info EVIL.tfp", {}, 1, "",
            "evil\\x1b]0;owned\\x07\\x1b[2J\\u202e.tfp");
    }
    void commands()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QString, in);
        QFETCH(GameRecord, game);
        QFETCH(int, status);
        QTemporaryDir dir;
        const QString file = dir.filePath("game.tfp");
        QVERIFY(game.Version.isEmpty() || saveGame(game, file));
        const QByteArray before = fileBytes(file);
        QString output, errors;
        QTextStream input(&in), o(&output), e(&errors);
        QCOMPARE(cli::run(arguments.split(u' ', Qt::SkipEmptyParts)
                              .replaceInStrings("FILE", file)
                              .replaceInStrings("BARE", dir.filePath("game"))
                              .replaceInStrings("LONG", dir.filePath(QString(245, u'g') + ".tfp"))
                              .replaceInStrings("EVIL",
                                                dir.filePath("evil\x1b]0;owned\x07\x1b[2J\u202e")),
                          {input, o, e}),
                 status);
        QCOMPARE(out.isEmpty() || out.endsWith('\n') ? output : output.left(out.size()), out);
        QVERIFY2(err.isEmpty() ? errors.isEmpty() : errors.contains(err), qPrintable(errors));
        // Refused and unreadable: nothing written, nothing else made.
        if (status != 0 && status != 3)
            QCOMPARE(fileBytes(file), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).join(u','),
                 QFileInfo::exists(file) ? "game.tfp" : "");
        if (arguments.startsWith("new") && status == 0)
            QCOMPARE(loadGame(file).Player1Pwd, arguments.contains("SECURE") ? "Alpha" : "");
    }

    // Two computers (two key folders) play a Sealed game to its end; after every command the
    // file passes a check of the protocol written apart from this program (tests/cli/
    // verify_sealed.py, where Python is at hand), and neither seed ever appears in it or in
    // what info shows.
    void sealed_twoComputers_playToTheEnd()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("ridge.tfp");
        const auto run = [&](const QString& command, const char* computer, QString* out = nullptr) {
            QString in, output, errors;
            QTextStream input(&in), o(&output), e(&errors);
            const int status = cli::run(QString(command).replace("FILE", file).split(u' ') +
                                            QStringList{"--keys", dir.filePath(computer)},
                                        {input, o, e});
            if (out)
                *out = output + errors;
            return status;
        };
        const QString python = QStandardPaths::findExecutable("python3");
        const auto verified = [&] {
            QProcess verifier;
            verifier.start(python, {QStringLiteral(TFP_SOURCE_DIR "/verify_sealed.py"), file});
            return verifier.waitForFinished() && verifier.exitCode() == 0;
        };
        QString shown;
        QCOMPARE(run("new FILE --game Ridge --player1 Anna --player2 Ben --turns 20 --modifier 3 "
                     "--type quick --mode sealed",
                     "anna", &shown),
                 0);
        QCOMPARE(shown, "Game File Saved\nAnna, send this file to player #2.\n");
        QCOMPARE(run("check FILE", "ben", &shown), 4);
        QVERIFY(shown.endsWith("turnpicker-cli join " + file + "\n"));
        QCOMPARE(run("join FILE", "anna"), 1);
        QCOMPARE(run("join FILE", "ben"), 0);
        QCOMPARE(run("join FILE", "carl"), 1);
        QCOMPARE(run("check FILE", "carl"), 1);
        int status = 0, checks = 0;
        for (const char* computer = "anna"; status == 0; computer = checks % 2 ? "ben" : "anna") {
            QVERIFY(python.isEmpty() || verified());
            QVERIFY(++checks <= 7);
            status = run("check FILE", computer, &shown);
            QVERIFY(shown.endsWith(
                QString(", send this file to player #%1.\n").arg(checks % 2 == 1 ? 2 : 1)));
        }
        QCOMPARE(status, 3);
        QVERIFY(python.isEmpty() || verified());
        QCOMPARE(run("info FILE", "carl", &shown), 0);
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

    // A real run: the exit status and standard output of a check that ends the battle.
    void process_exitStatusAndStandardOutput()
    {
        QTemporaryDir dir;
        GameRecord game = basicGame(18, 19);
        QVERIFY(saveGame(game, dir.filePath("process.tfp")));
        QProcess process;
        process.start(TFP_CLI_PATH, {"check", game.FilePath});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 3);
        QCOMPARE(process.readAllStandardOutput().replace("\r\n", "\n"),
                 QByteArray("Turn #19\nBATTLE OVER - CEASE FIRE!\n"));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
