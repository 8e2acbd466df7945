// The terminal program: one row per rule proves its wiring (the rules' cases live in the
// game library's tests); its commands run in-process on string streams, and as real
// processes for the exit status, the standard streams and two copies at once.
#include "commands.h"
#include "game/gamefile.h"
#include "testsupport.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace tfp;
using namespace tfp::test;

namespace {

struct Run
{
    int status = -1;
    QString out, err;
};

Run runCli(const QStringList& arguments, QString in = {})
{
    Run r;
    QTextStream input(&in, QIODevice::ReadOnly);
    QTextStream out(&r.out, QIODevice::WriteOnly);
    QTextStream err(&r.err, QIODevice::WriteOnly);
    r.status = cli::run(arguments, {input, out, err});
    return r;
}

QStringList newGame(const QString& path, const QStringList& extra = {})
{
    return QStringList{"new",       path,  "--game",  "Ridge", "--player1",  "Anna",
                       "--player2", "Ben", "--turns", "20",    "--modifier", "3"} +
           extra;
}

struct CliRow
{
    QStringList arguments; // "FILE" stands for the game file, "BARE" for it without .tfp
    GameRecord game;       // saved as the file first, when it has a version
    QString in;
    int status;
    QString out;      // all of standard output, or how it begins when that ends no line
    QString err = {}; // a part of standard error; empty: nothing there
};

} // namespace

Q_DECLARE_METATYPE(CliRow)

class TestCli : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void commands_data()
    {
        const QStringList check = {"check", "FILE", "--password-stdin"};
        const QStringList info = {"info", "FILE"};
        GameRecord sent = secureGame(17, 19, 2); // Anna has checked turn 17 and sent it on
        sent.Player1LastTurn = 17;
        GameRecord undrawn = secureGame(16, -1, 1);
        undrawn.Player2Pwd.clear();
        GameRecord old = basicGame(17, 19);
        old.Version = "1.5.21";
        GameRecord hostile = basicGame(17, 19);
        hostile.GameName = "Ridge\x1b[31m\r";
        hostile.Player2Name = "\x1b]2;title\x07"
                              "Ben\u00ad";
        hostile.GameType = static_cast<GameType>(2);
        const GameRecord none;
        const auto lines = [](const char* checked, const char* next, const char* mode = "Basic") {
            return QStringLiteral("Game:          Ridge\nVersion:       1.5.24\nType:          "
                                  "Scenario\nMode:          %3\nPlayer #1:     Anna\nPlayer #2:   "
                                  "  Ben\nTurns:         20\nModifier:      3\nLast checked:  "
                                  "%1\nNext to check: %2\n")
                .arg(QLatin1String(checked), QLatin1String(next), QLatin1String(mode));
        };
        addRowColumn<CliRow>();
        addRow<CliRow>("nothing", QStringList(), none, "", 2, "", "No command given.");
        addRow<CliRow>("unknown command", QStringList{"play"}, none, "", 2, "",
                       "Unknown command 'play'.");
        addRow<CliRow>("check without a file", QStringList{"check"}, none, "", 2, "",
                       "'check' takes exactly one FILE.");
        addRow<CliRow>("help", QStringList{"--help"}, none, "", 0, "Usage:\n  turnpicker-cli new");
        addRow<CliRow>("command help", QStringList{"info", "--help"}, none, "", 0, "Usage:");
        addRow<CliRow>("version", QStringList{"--version"}, none, "", 0,
                       "turnpicker-cli 1.5.24 (Torva Fogline Turnpicker)\n");
        addRow<CliRow>("new: refused entry", newGame("FILE", {"--turns", "100"}), none, "", 2, "",
                       "The number of turns must be a whole number from 1 to 99.");
        addRow<CliRow>("new: unknown option", newGame("FILE", {"--colour", "red"}), none, "", 2, "",
                       "colour");
        addRow<CliRow>("new: unknown type", newGame("FILE", {"--type", "campaign"}), none, "", 2,
                       "", "--type must be 'scenario' or 'quick'.");
        addRow<CliRow>("new: unknown mode", newGame("FILE", {"--mode", "open"}), none, "", 2, "",
                       "--mode must be 'basic' or 'secure'.");
        addRow<CliRow>("new: other extension", newGame("FILE.txt"), none, "", 2, "",
                       "A game file's name must end in .tfp.");
        addRow<CliRow>("new: a file there", newGame("FILE"), basicGame(), "", 2, "",
                       "already exists; add --force to replace it.");
        addRow<CliRow>("new: no password",
                       newGame("FILE", {"--mode", "secure", "--password-stdin"}), none, "x<y\n", 1,
                       "", "A password cannot contain the characters < and >.");
        addRow<CliRow>("new secure", newGame("FILE", {"--mode", "secure", "--password-stdin"}),
                       none, "Alpha\n", 0, "Game File Saved\nAnna, send this file to player #2.\n");
        addRow<CliRow>("new, replacing, .tfp added", newGame("BARE", {"--force"}),
                       basicGame(16, 17), "", 0,
                       "Game File Saved\nPress 'Check Turn' starting on turn 17\n");
        addRow<CliRow>("check: goes on", QStringList{"check", "FILE"}, basicGame(16, 19), "", 0,
                       "Turn #17\nThis is NOT the ending turn.\n");
        addRow<CliRow>("check: ends", QStringList{"check", "FILE"}, basicGame(18, 19), "", 3,
                       "Turn #19\nBATTLE OVER - CEASE FIRE!\n");
        addRow<CliRow>("check: over", QStringList{"check", "FILE"}, basicGame(19, 19), "", 3,
                       "Turn #19\nThe battle is already over!\n");
        addRow<CliRow>("check: unknown type", QStringList{"check", "FILE"}, hostile, "", 1, "",
                       "This game file has a game type the program does not know");
        addRow<CliRow>(
            "check: secure", check, secureGame(16, 19, 1), "Bravo\n", 0,
            "Turn #17\nThis is NOT the ending turn.\nBen, send this file to player #1.\n");
        addRow<CliRow>("check: wrong password", check, secureGame(16, 19, 1), "Alpha\n", 1, "",
                       "The password entered does not match the current user's password.");
        addRow<CliRow>("check: not allowed", check, sent, "Alpha\n", 4,
                       "Game File Loaded\nAnna, player #2 needs to check turn 18\n");
        addRow<CliRow>("check: no password chosen", check, undrawn, "", 1, "",
                       "No password was chosen, so the game was not opened.");
        addRow<CliRow>("check: missing file", QStringList{"check", "FILE"}, none, "", 1, "",
                       "Could not open the file");
        // What info shows: never a password or the ending turn (19 in Secure games), and
        // every control character escaped, so that nothing a file holds drives the terminal.
        addRow<CliRow>("info: not checked", info, basicGame(16, 19), "", 0, lines("none", "17"));
        addRow<CliRow>("info: checked", info, basicGame(17, 19), "", 0, lines("17", "18"));
        addRow<CliRow>("info: over", info, basicGame(19, 19), "", 0,
                       lines("19", "none, the battle is over"));
        addRow<CliRow>("info: secure, undrawn", info, secureGame(16, -1, 1), "", 0,
                       lines("none", "17", "Secure") +
                           "Held by:       player #1 (Anna)\nGoes next to:  player #2 (Ben)\n");
        addRow<CliRow>("info: secure", info, secureGame(17, 19, 2), "", 0,
                       lines("17", "18", "Secure") +
                           "Held by:       player #2 (Ben)\nGoes next to:  player #1 (Anna)\n");
        addRow<CliRow>(
            "info: other version", info, old, "", 0,
            lines("17", "18").replace("1.5.24", "1.5.21 (not supported by this program)"));
        addRow<CliRow>("info: escape sequences", info, hostile, "", 0,
                       lines("17", "18")
                           .replace("Ridge", "Ridge\\x1b[31m\\x0d")
                           .replace("Scenario", "unknown (2)")
                           .replace(" Ben", " \\x1b]2;title\\x07Ben\\xad"));
        addRow<CliRow>("info: escape sequences in the name", QStringList{"info", "EVIL"}, none, "",
                       1, "", "evil\\x1b]0;owned\\x07\\x1b[2J\\u202e.tfp");
#ifdef Q_OS_UNIX
        addRow<CliRow>("info: a pipe", QStringList{"info", "PIPE"}, none, "", 1, "",
                       "It is not a file but a device or a pipe.");
#endif
    }
    void commands()
    {
        QFETCH(CliRow, row);
        QTemporaryDir dir;
        const QString file = dir.filePath("game.tfp");
        GameRecord game = row.game;
        QVERIFY(game.Version.isEmpty() || saveGame(game, file));
        const QByteArray before = fileBytes(file);
        const bool pipe = row.arguments.contains("PIPE"); // reading it would wait for a writer
#ifdef Q_OS_UNIX
        QVERIFY(!pipe || ::mkfifo(QFile::encodeName(file).constData(), 0600) == 0);
#endif
        const QStringList arguments =
            QStringList(row.arguments)
                .replaceInStrings(QRegularExpression("^(FILE|PIPE)"), file)
                .replaceInStrings("BARE", dir.filePath("game"))
                .replaceInStrings("EVIL", dir.filePath("evil\x1b]0;owned\x07\x1b[2J\u202e.tfp"));
        const Run r = runCli(arguments, row.in);
        QCOMPARE(r.status, row.status);
        QCOMPARE(row.out.endsWith('\n') ? r.out : r.out.left(row.out.size()), row.out);
        QVERIFY2(row.err.isEmpty() ? r.err.isEmpty() : r.err.contains(row.err), qPrintable(r.err));
        for (const QChar c : r.out + r.err)
            QVERIFY(c == u'\n' ||
                    (c.category() != QChar::Other_Control && c.category() != QChar::Other_Format));
        QVERIFY(!r.out.contains("Alpha") && !r.out.contains("Bravo"));
        QVERIFY(row.arguments.value(0) != "info" || game.SecurityMode == SecurityMode::Basic ||
                !r.out.contains("19"));
        // Refused and unreadable: nothing written, nothing else made.
        if (row.status != 0 && row.status != 3 && !pipe)
            QCOMPARE(fileBytes(file), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).join(","),
                 QFileInfo::exists(file) ? "game.tfp" : "");
        if (row.arguments.value(0) == "new" && row.status == 0) {
            QVERIFY(fileBytes(file) != before);
            const GameRecord made = loadGame(file);
            QCOMPARE(made.Player1Pwd, made.SecurityMode == SecurityMode::Secure ? "Alpha" : "");
        }
    }

    // Two copies checking one game at once: a turn is checked once or not at all, and the
    // file ends at the number of checks that said they were made.
    void check_twoProcessesAtOnce_neverCheckATurnTwice()
    {
        GameRecord game = basicGame(0, 1000); // never reached
        game.TotalTurns = 99;
        game.TurnVariance = 98;
        game.GameType = GameType::QuickBattle;
        QVERIFY(saveGame(game, m_dir.filePath("shared.tfp")));
        QStringList reported;
        for (int round = 0; round < 40; ++round) {
            QProcess first, second;
            for (QProcess* process : {&first, &second})
                process->start(TFP_CLI_PATH, {"check", game.FilePath});
            for (QProcess* process : {&first, &second}) {
                QVERIFY(process->waitForFinished(30000));
                const QByteArray out = process->readAllStandardOutput();
                const QByteArray err = process->readAllStandardError();
                if (process->exitCode() == 0) {
                    reported << QString::fromUtf8(out).section(u'\n', 0, 0).trimmed();
                    continue;
                }
                QCOMPARE(process->exitCode(), 1);
#ifdef Q_OS_WIN
                // Windows replaces no file that another program holds open: a save made
                // while the other copy reads the game fails, and the turn is not checked.
                if (out.startsWith("Turn Not Checked")) {
                    QVERIFY(err.contains("Could not save"));
                    continue;
                }
#endif
                QVERIFY(out.isEmpty());
                QVERIFY(err.contains("another copy"));
            }
        }
        QCOMPARE(QSet<QString>(reported.cbegin(), reported.cend()).size(), reported.size());
        QCOMPARE(loadGame(game.FilePath).CurrentTurn, reported.size());
        QVERIFY(!QFileInfo::exists(game.FilePath + ".lock"));
    }

    // A password typed at the prompt is asked for again until it can be taken.
    void process_exitStatusAndStreams()
    {
        const QString file = m_dir.filePath("process.tfp");
        QProcess process;
        process.start(TFP_CLI_PATH, newGame(file, {"--mode", "secure"}));
        process.write("\nAlpha\n");
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(process.readAllStandardError().replace("\r\n", "\n"),
                 QByteArray("Set Password for Player #1 (Anna): \nPlease enter a password "
                            "between 1 and 20 characters.\nSet Password for Player #1 (Anna): \n"));
        QCOMPARE(loadGame(file).Player1Pwd, QStringLiteral("Alpha"));
        GameRecord game = basicGame(18, 19);
        QVERIFY(saveGame(game, file));
        process.start(TFP_CLI_PATH, {"check", file});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 3);
        QByteArray expected("Turn #19\nBATTLE OVER - CEASE FIRE!\n");
#ifdef Q_OS_WIN
        expected.replace("\n", "\r\n"); // the console's line ends
#endif
        QCOMPARE(process.readAllStandardOutput(), expected);
        process.start(TFP_CLI_PATH, {"info", m_dir.filePath("none.tfp")});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(process.readAllStandardOutput().isEmpty());
        QVERIFY(process.readAllStandardError().contains("Could not open the file"));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
