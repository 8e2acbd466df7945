// The terminal program: its commands run in-process on string streams, and once as a
// real process for the exit status and the standard streams.
#include "commands.h"
#include "game/gamefile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace tfp;

namespace {

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

Run runCli(const QStringList& arguments, const QString& input = {})
{
    QString in = input;
    Run result;
    QTextStream inStream(&in, QIODevice::ReadOnly);
    QTextStream outStream(&result.out, QIODevice::WriteOnly);
    QTextStream errStream(&result.err, QIODevice::WriteOnly);
    result.status = cli::run(arguments, {inStream, outStream, errStream});
    outStream.flush();
    errStream.flush();
    return result;
}

QByteArray fileContent(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList newGame(const QString& path, const QString& turns, const QString& modifier,
                    const QStringList& extra = {})
{
    return QStringList{QStringLiteral("new"),        path,
                       QStringLiteral("--game"),     QStringLiteral("Ridge"),
                       QStringLiteral("--player1"),  QStringLiteral("Anna"),
                       QStringLiteral("--player2"),  QStringLiteral("Ben"),
                       QStringLiteral("--turns"),    turns,
                       QStringLiteral("--modifier"), modifier} +
           extra;
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    [[nodiscard]] QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void init()
    {
        QDir dir(m_dir.path());
        for (const QString& name : dir.entryList(QDir::Files))
            dir.remove(name);
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        QTest::newRow("nothing") << QStringList{} << 2 << "No command given.";
        QTest::newRow("unknown command") << QStringList{"play"} << 2 << "Unknown command 'play'.";
        QTest::newRow("check without a file") << QStringList{"check"} << 2 << "exactly one FILE";
        QTest::newRow("info with two files")
            << QStringList{"info", "a.tfp", "b.tfp"} << 2 << "exactly one FILE";
        QTest::newRow("unknown option")
            << QStringList{"new", "a.tfp", "--colour", "red"} << 2 << "colour";
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage:";
        QTest::newRow("command help") << QStringList{"check", "--help"} << 0 << "Usage:";
        QTest::newRow("version") << QStringList{"--version"} << 0
                                 << "turnpicker-cli 1.5.24 (Torva Fogline Turnpicker)";
    }
    void usage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, says);
        const Run r = runCli(arguments);
        QCOMPARE(r.status, status);
        QVERIFY2((status == 0 ? r.out : r.err).contains(says), qPrintable(r.out + r.err));
    }

    void new_refusedEntries_writeNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("says");
        const QString f = QStringLiteral("refused.tfp");
        QTest::newRow("turns 0") << newGame(f, "0", "0") << "number of turns for your game";
        QTest::newRow("turns 100") << newGame(f, "100", "0") << "from 1 to 99";
        QTest::newRow("turns not a number") << newGame(f, "1a", "0") << "a number for 'Game Turns'";
        QTest::newRow("modifier equal to turns") << newGame(f, "10", "10") << "from 0 to 9";
        QTest::newRow("modifier missing") << newGame(f, "10", "") << "modifier for the game";
        QTest::newRow("modifier negative") << newGame(f, "10", "-1") << "from 0 to 9";
        QTest::newRow("tag characters")
            << newGame(f, "10", "1", {"--game", "<Game>"}) << "cannot contain the characters";
        QTest::newRow("long player name")
            << newGame(f, "10", "1", {"--player1", QString(51, u'a')}) << "at most 50";
        QTest::newRow("unknown type")
            << newGame(f, "10", "1", {"--type", "campaign"}) << "--type must be";
        QTest::newRow("unknown mode")
            << newGame(f, "10", "1", {"--mode", "open"}) << "--mode must be";
        QTest::newRow("other extension") << newGame("refused.txt", "10", "1") << "must end in .tfp";
    }
    void new_refusedEntries_writeNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, says);
        arguments[1] = path(arguments[1]);
        const Run r = runCli(arguments);
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.contains(says), qPrintable(r.err));
        QVERIFY(QDir(m_dir.path()).entryList(QDir::Files).isEmpty());
    }

    void new_existingFile_needsForce()
    {
        const QString file = path(QStringLiteral("kept.tfp"));
        QCOMPARE(runCli(newGame(file, "10", "1")).status, 0);
        const QByteArray first = fileContent(file);
        const Run refused = runCli(newGame(file, "12", "2"));
        QCOMPARE(refused.status, 2);
        QVERIFY(refused.err.contains(QLatin1String("--force")));
        QCOMPARE(fileContent(file), first);
        QCOMPARE(runCli(newGame(file, "12", "2", {"--force"})).status, 0);
        QVERIFY(fileContent(file) != first);
    }

    void new_addsTheExtension()
    {
        QCOMPARE(runCli(newGame(path(QStringLiteral("plain")), "10", "1")).status, 0);
        QVERIFY(QFile::exists(path(QStringLiteral("plain.tfp"))));
    }

    void basicGame_checksToTheEnd()
    {
        const QString file = path(QStringLiteral("basic.tfp"));
        const Run created = runCli(newGame(file, "20", "3"));
        QCOMPARE(created.status, 0);
        QCOMPARE(created.out,
                 QStringLiteral("Game File Saved\nPress 'Check Turn' starting on turn 17\n"));
        int turn = 17;
        Run r = runCli({QStringLiteral("check"), file});
        while (r.status == 0) {
            QCOMPARE(r.out, QStringLiteral("Turn #%1\nThis is NOT the ending turn.\n").arg(turn));
            ++turn;
            QVERIFY(turn <= 20);
            r = runCli({QStringLiteral("check"), file});
        }
        QCOMPARE(r.status, 3);
        QCOMPARE(r.out, QStringLiteral("Turn #%1\nBATTLE OVER - CEASE FIRE!\n").arg(turn));
        const QByteArray over = fileContent(file);
        const Run again = runCli({QStringLiteral("check"), file});
        QCOMPARE(again.status, 3);
        QCOMPARE(again.out, QStringLiteral("Turn #%1\nThe battle is already over!\n").arg(turn));
        QCOMPARE(fileContent(file), over);
    }

    void secureGame_roundWithPasswordsFromStdin()
    {
        const QString file = path(QStringLiteral("secure.tfp"));
        const QStringList stdinFlag{QStringLiteral("--password-stdin")};
        const Run created =
            runCli(newGame(file, "20", "3", {"--mode", "secure", "--password-stdin"}),
                   QStringLiteral("Alpha\n"));
        QCOMPARE(created.status, 0);
        QCOMPARE(created.out,
                 QStringLiteral("Game File Saved\nAnna, send this file to player #2.\n"));

        // Ben chooses his password and checks the first turn.
        Run r = runCli(QStringList{QStringLiteral("check"), file} + stdinFlag,
                       QStringLiteral("Bravo\n"));
        QVERIFY2(r.status == 0 || r.status == 3, qPrintable(r.err));
        QVERIFY(r.out.startsWith(QLatin1String("Turn #17\n")));
        QVERIFY(r.out.endsWith(QLatin1String("\nBen, send this file to player #1.\n")));
        if (r.status == 3)
            return; // the draw ended the battle at once

        // Ben cannot check again with his own password: the file now waits for Anna's.
        const QByteArray afterBen = fileContent(file);
        r = runCli(QStringList{QStringLiteral("check"), file} + stdinFlag,
                   QStringLiteral("Bravo\n"));
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains(
            QLatin1String("The password entered does not match the current user's password.")));
        QCOMPARE(fileContent(file), afterBen);

        // A password differing only in case does not open it either.
        r = runCli(QStringList{QStringLiteral("check"), file} + stdinFlag,
                   QStringLiteral("alpha\n"));
        QCOMPARE(r.status, 1);
        QCOMPARE(fileContent(file), afterBen);

        r = runCli(QStringList{QStringLiteral("check"), file} + stdinFlag,
                   QStringLiteral("Alpha\n"));
        QVERIFY2(r.status == 0 || r.status == 3, qPrintable(r.err));
        QVERIFY(r.out.startsWith(QLatin1String("Turn #18\n")));
        QVERIFY(r.out.endsWith(QLatin1String("\nAnna, send this file to player #2.\n")));
    }

    void secureGame_checkNotAllowed_exitsFour()
    {
        // Anna holds the file and has already checked the turn it stands at.
        GameRecord record;
        resetGameRecord(record);
        record.GameName = QStringLiteral("Ridge");
        record.Version = QStringLiteral("1.5.24");
        record.Player1Name = QStringLiteral("Anna");
        record.Player2Name = QStringLiteral("Ben");
        record.Player1Pwd = QStringLiteral("Alpha");
        record.Player2Pwd = QStringLiteral("Bravo");
        record.TotalTurns = 20;
        record.TurnVariance = 3;
        record.CurrentTurn = 17;
        record.EndingTurn = 20;
        record.Player1LastTurn = 17;
        record.SecurityMode = SecurityMode::Secure;
        record.CurrentPlayer = 2;
        record.DestinationPlayer = 1;
        record.FilePath = path(QStringLiteral("waiting.tfp"));
        FileErrorInfo error;
        QVERIFY(saveData(record, error));
        const QByteArray before = fileContent(record.FilePath);
        const Run r =
            runCli({QStringLiteral("check"), record.FilePath, QStringLiteral("--password-stdin")},
                   QStringLiteral("Alpha\n"));
        QCOMPARE(r.status, 4);
        QCOMPARE(r.out,
                 QStringLiteral("Game File Loaded\nAnna, player #2 needs to check turn 18\n"));
        QCOMPARE(fileContent(record.FilePath), before);
    }

    void secureGame_noPassword_data()
    {
        QTest::addColumn<QString>("input");
        QTest::newRow("no input") << "";
        QTest::newRow("blank line") << "   \n";
        QTest::newRow("too long") << QString(21, u'x') + u'\n';
        QTest::newRow("tag characters") << "a<b\n";
    }
    void secureGame_noPassword()
    {
        QFETCH(QString, input);
        const QString file = path(QStringLiteral("nopassword.tfp"));
        // Creating: nothing is written.
        Run r = runCli(newGame(file, "20", "3", {"--mode", "secure", "--password-stdin"}), input);
        QCOMPARE(r.status, 1);
        QVERIFY(!QFile::exists(file));
        // Opening for the first time as player #2: nothing is changed, nothing revealed.
        QCOMPARE(runCli(newGame(file, "20", "3", {"--mode", "secure", "--password-stdin"}),
                        QStringLiteral("Alpha\n"))
                     .status,
                 0);
        const QByteArray before = fileContent(file);
        r = runCli({QStringLiteral("check"), file, QStringLiteral("--password-stdin")}, input);
        QCOMPARE(r.status, 1);
        QVERIFY(r.out.isEmpty());
        QCOMPARE(fileContent(file), before);
    }

    void check_unreadableFile_exitsOne_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("says");
        QTest::newRow("missing") << "absent.tfp" << QByteArray() << "Could not open the file";
        QTest::newRow("other extension")
            << "game.txt" << QByteArray("x") << "does not have the .tfp extension";
        QTest::newRow("damaged") << "damaged.tfp" << QByteArray("zz\r\n") << "Could not open";
    }
    void check_unreadableFile_exitsOne()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, says);
        const QString file = path(name);
        if (!content.isEmpty()) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        for (const char* command : {"check", "info"}) {
            const Run r = runCli({QLatin1String(command), file});
            QCOMPARE(r.status, 1);
            QVERIFY2(r.err.contains(says), qPrintable(r.err));
            QVERIFY(r.out.isEmpty());
        }
    }

    void info_showsNoSecret()
    {
        const QString file = path(QStringLiteral("info.tfp"));
        QCOMPARE(runCli(newGame(file, "20", "3", {"--mode", "secure", "--password-stdin"}),
                        QStringLiteral("Zulu9\n"))
                     .status,
                 0);
        const int checked =
            runCli({QStringLiteral("check"), file, QStringLiteral("--password-stdin")},
                   QStringLiteral("Yankee8\n"))
                .status;
        QVERIFY(checked == 0 || checked == 3);
        GameRecord record;
        record.FilePath = file;
        FileErrorInfo error;
        QVERIFY(getData(record, error));
        const QByteArray before = fileContent(file);
        const Run r = runCli({QStringLiteral("info"), file});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.contains(QLatin1String("Game:          Ridge\n")));
        QVERIFY(r.out.contains(QLatin1String("Mode:          Secure\n")));
        QVERIFY(r.out.contains(QLatin1String("Held by:       player #2 (Ben)\n")));
        QVERIFY(r.out.contains(QLatin1String("Goes next to:  player #1 (Anna)\n")));
        QVERIFY(!r.out.contains(QLatin1String("Zulu9")));
        QVERIFY(!r.out.contains(QLatin1String("Yankee8")));
        // No field beyond these, and the ending turn is the value of none of the turn fields
        // unless it is the turn just checked or the next one.
        QStringList labels;
        QStringList turnValues;
        for (const QString& line : r.out.split(u'\n', Qt::SkipEmptyParts)) {
            const QString label = line.section(u':', 0, 0);
            labels << label;
            if (label != QLatin1String("Turns") && label != QLatin1String("Modifier"))
                turnValues << line.section(u':', 1).trimmed();
        }
        QCOMPARE(labels, QStringList({"Game", "Version", "Type", "Mode", "Player #1", "Player #2",
                                      "Turns", "Modifier", "Last checked", "Next to check",
                                      "Held by", "Goes next to"}));
        if (record.EndingTurn != record.CurrentTurn && record.EndingTurn != record.CurrentTurn + 1)
            QVERIFY2(!turnValues.contains(QString::number(record.EndingTurn)), qPrintable(r.out));
        QCOMPARE(fileContent(file), before);
    }

    void process_exitStatusAndStreams()
    {
        const QString file = path(QStringLiteral("process.tfp"));
        QProcess process;
        process.start(QStringLiteral(TFP_CLI_PATH), newGame(file, "20", "0"));
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        process.start(QStringLiteral(TFP_CLI_PATH), {QStringLiteral("check"), file});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 3);
        QByteArray expected("Turn #20\nBATTLE OVER - CEASE FIRE!\n");
#ifdef Q_OS_WIN
        expected.replace("\n", "\r\n"); // the console's line ends
#endif
        QCOMPARE(process.readAllStandardOutput(), expected);
        process.start(QStringLiteral(TFP_CLI_PATH), {QStringLiteral("check"), path("none.tfp")});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(process.readAllStandardOutput().isEmpty());
        QVERIFY(process.readAllStandardError().contains("Could not open the file"));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
