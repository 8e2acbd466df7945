// The game library: the cipher and the file layout, the reader's rules, dates, saves guarded
// by digest, and the rules of setup, draw, check and opening with the Secure hand-over.
#include "game/cipher.h"
#include "game/codepage.h"
#include "game/creation.h"
#include "game/draw.h"
#include "game/gamefile.h"
#include "game/opening.h"
#include "game/passwords.h"
#include "game/turncheck.h"
#include "recorder.h"
#include "testsupport.h"

#include <map>
#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace tfp;
using namespace tfp::test;

namespace {

const QString kRule(63, u'-');

// The data line of basicGame(), as the writer must put it and the reader must take it.
const QString kRidgeLine = QStringLiteral(
    "<Game><GameName>Ridge</GameName><Version>1.5.24</Version><Player1Name>Anna</Player1Name>"
    "<Player1LastTurn>0</Player1LastTurn><Player2Name>Ben</Player2Name>"
    "<Player2LastTurn>0</Player2LastTurn><TotalTurns>20</TotalTurns>"
    "<TurnVariance>3</TurnVariance><CurrentTurn>16</CurrentTurn><EndingTurn>19</EndingTurn>"
    "<SecurityMode>0</SecurityMode><GameType>0</GameType>"
    "<LastSavedDateTime>2026-12-05 12:05:12</LastSavedDateTime><LastSavedBy>-1</LastSavedBy>"
    "<CurrentPlayer>-1</CurrentPlayer><DestinationPlayer>-1</DestinationPlayer></Game>");

// The number elements of a data line: turns, modifier, type and mode.
const QString kNumbers = QStringLiteral(
    "<TotalTurns>%1</TotalTurns><TurnVariance>%2</TurnVariance><CurrentTurn>16</CurrentTurn>"
    "<EndingTurn>19</EndingTurn><SecurityMode>%4</SecurityMode><GameType>%3</GameType>"
    "<CurrentPlayer>-1</CurrentPlayer><DestinationPlayer>-1</DestinationPlayer>");

// Adds a row to the current table, its cells in the order of the columns.
template <typename... Cells> void row(const char* tag, const Cells&... cells)
{
    (QTest::newRow(tag) << ... << cells);
}

// A status panel and a button on one line: "title / message / colour | caption on light".
QString shown(const std::optional<StatusView>& status, const std::optional<ButtonView>& button,
              const QString& handOver = {})
{
    static const char* const colours[] = {"green", "yellow", "red"};
    QString text = handOver; // below the status message when there is one
    if (status)
        text = status->title + " / " + messageWithHandOver(status->message, handOver) + " / " +
               colours[int(status->colour)];
    if (button)
        text += " | " + button->caption + (button->enabled ? " on " : " off ") +
                (button->picture ? colours[int(*button->picture) - 101] : "-");
    return text;
}

} // namespace

class TestGame : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    [[nodiscard]] QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    // "plain|cipher|back", bytes in hex (no plain text: only deciphered; no result: refused):
    // odd positions subtract the offset of their class (ten A's: 3 3 0 3 1 0 2 3 0 1), even
    // ones add it; a value beyond a byte wraps by 255, one below 16 is padded by "*". Codes 1
    // to 254 come back from positions of every class and parity.
    void cipher_knownValues_data()
    {
        QTest::addColumn<QStringList>("row");
        QByteArray every;
        for (int i = 0; i < 210 + 254; ++i)
            every.append(static_cast<char>(i < 210 ? 1 + (i * 37) % 254 : i - 209));
        const QString all = fromCodePage(every), tenA(10, u'A');
        QTest::newRow("every code") << QStringList{all, QString(), all};
        QTest::newRow("ten A") << QStringList{tenA, "3E442E443A5422442E48", tenA};
        QTest::newRow("outside Windows-1252")
            << QStringList{"A\u0080\u0100\u20ac", "3E422C83", "A??\u20ac"};
        for (const char* row :
             {"0D|*A|0D", "03|*0|03", "01|FD|01", "41FE|3E*2|41FE", "41FD|3E*1|41FD",
              "4100|3E*3|4100", "42FF|3F*3|4200", "00|FC|FF", "FFA0|FCA3|FFA0", "|A*|0D", "|0A|0D",
              "|fc*a|FF07", "|3E4|4101", "|3E**|", "|3G|", "|3E 4|"}) {
            QStringList cells = QString::fromLatin1(row).split(u'|');
            for (QString* hex : {&cells[0], &cells[2]})
                *hex =
                    hex->isEmpty() ? QString() : fromCodePage(QByteArray::fromHex(hex->toLatin1()));
            QTest::newRow(row) << cells;
        }
    }
    void cipher_knownValues()
    {
        QFETCH(QStringList, row);
        const QString &plain = row[0], &cipher = row[1], &back = row[2];
        const QString written = plain.isNull() ? cipher : encipherText(plain).value();
        if (!cipher.isNull())
            QCOMPARE(written, cipher);
        QString error;
        QCOMPARE(decipherText(written, &error).value_or(QString()), back);
        QCOMPARE(error.isEmpty(), !back.isNull());
        QVERIFY(encipherText(QString(kMaxPlainLength, u'a')));
        QVERIFY(!encipherText(QString(kMaxPlainLength + 1, u'a')));
        QVERIFY(decipherText(QString(kMaxCipherLength, u'4')));
        QVERIFY(!decipherText(QString(kMaxCipherLength + 1, u'4')));
    }

    // Lines end in CR LF; the creation line shows the time of the save. A device that fails
    // part way says why.
    void writeGame_layout()
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        FileErrorInfo error;
        QVERIFY(writeGame(buffer, basicGame(), QDateTime({2026, 12, 6}, {9, 4, 3}), error));
        QCOMPARE(
            buffer.data(),
            gameFileBytes({kRule, "---           ** Torva Fogline Turnpicker File **           ---",
                           "---             Do not modify data in this file             ---", kRule,
                           "--- Created on 2026-12-06 09:04:03" + QString(26, u' ') + "---", kRule,
                           kRidgeLine}));
        FailingDevice full(700); // in the data line
        full.open(QIODevice::WriteOnly);
        QVERIFY(!writeGame(full, basicGame(), QDateTime::currentDateTime(), error));
        QCOMPARE(error.Description, QStringLiteral("The disk is full."));
        FailingDevice gone(200, buffer.data());
        gone.open(QIODevice::ReadOnly);
        GameRecord record;
        QVERIFY(!tfp::readGame(gone, record, error));
        QCOMPARE(error.Description, QStringLiteral("The disk has gone away."));
    }

    // The reader's rules for the data line and the lines of the file: the game name read, or
    // how the refusal begins; a turn marker that is absent reads 0.
    void readGame_lines_data()
    {
        const auto numbers = [](const QString& values) {
            const QStringList n = values.split(u' ');
            return kNumbers.arg(n[0], n[1], n[2], n[3]);
        };
        const auto file = [](const QString& line) {
            return gameFileBytes({kRule, line});
        };
        const QString rest = numbers("20 3 0 0");
        const QString incomplete = "The game data is incomplete",
                      damaged = "The game data is damaged";
        const QByteArray ridge = gameFileBytes({kRule, kRidgeLine});
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<QString>("text");
        row("element first, unknown one", file("<GameName>Ridge</GameName><X>1</X>" + rest), true,
            "Ridge");
        row("empty element", file("<GameName></GameName>" + rest), true, "");
        row("no closing tag: absent", file(rest + "<GameName>Ridge"), true, "");
        row("closing tag first", file("</GameName><GameName>" + rest), false, damaged);
        row("turn marker x", file(rest + "<Player1LastTurn>x</Player1LastTurn>"), false, damaged);
        for (const char* element :
             {"TotalTurns", "TurnVariance", "CurrentTurn", "EndingTurn", "SecurityMode", "GameType",
              "CurrentPlayer", "DestinationPlayer"}) {
            const QRegularExpression value(QStringLiteral("<%1>[^<]*</%1>").arg(element));
            QTest::addRow("%s missing", element)
                << file(QString(rest).remove(value)) << false << incomplete;
            QTest::addRow("%s not a number", element)
                << file(QString(rest).replace(value, QStringLiteral("<%1>x1</%1>").arg(element)))
                << false << damaged;
        }
        // A mode or type is a byte; every ending turn the draw can give, a 16-bit number
        // (read rounded, halves to the even neighbour).
        for (const char* values : {"20 3 0 255", "32767 3 0 0", "32766.5 3 0 0", "32766 1 1 0",
                                   "-32767 1 1 0", "-32768 -1 0 0", "-3.27685e4 -1 0 0"})
            row(values, file(numbers(values)), true, "");
        for (const char* values : {"20 3 0 256", "20 3 0 -1", "32767.5 0 0 0", "32767 1 1 0",
                                   "-32768 1 1 0", "32767 -1 0 0", "-32768 1 0 0"})
            row(values, file(numbers(values)), false, damaged);
        row("banner lines alone", gameFileBytes({kRule, "---x"}), true, "Untouched");
        row("LF alone: one banner line", gameFileBytes({kRule, kRidgeLine}, "\n"), true,
            "Untouched");
        row("CR alone", gameFileBytes({kRule, kRidgeLine}, "\r"), true, "Ridge");
        row("no break after the data", ridge.chopped(2), true, "Ridge");
        row("the last data line decides",
            gameFileBytes({kRidgeLine, kRule, QString(kRidgeLine).replace("Ridge", "Other")}), true,
            "Other");
        row("empty file", QByteArray(), true, "Untouched");
        row("a blank line", gameFileBytes({kRidgeLine, ""}), false, incomplete);
        row("the longest line", QByteArray(kMaxCipherLength, '4') + "\r\n", false, incomplete);
        row("a line too long", QByteArray(kMaxCipherLength + 1, '4'), false,
            "A line of the game file is longer");
    }
    void readGame_lines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, loads);
        QFETCH(QString, text);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        GameRecord record;
        record.GameName = QStringLiteral("Untouched");
        record.Player1LastTurn = 5;
        FileErrorInfo error;
        QCOMPARE(tfp::readGame(buffer, record, error), loads);
        QCOMPARE(loads ? record.GameName : error.Description.left(text.size()), text);
        QCOMPARE(error.Description.isEmpty(), loads);
        if (loads && text != QLatin1String("Untouched"))
            QCOMPARE(QList<int>({record.EndingTurn, record.Player1LastTurn}), QList<int>({19, 0}));
    }

    // "locale|text|moment read": the written form; the locale's short date with or without
    // its time, before the US form of older files; two-digit years are of this century.
    void readSavedDateTime_forms_data()
    {
        QTest::addColumn<QStringList>("row");
        for (const char* row :
             {"de_DE|2026-12-05 12:05:12|2026-12-05T12:05:12",
              "en_US|12/5/2026 12:05:12 PM|2026-12-05T12:05:12",
              "de_DE|1/2/2027 9:03:04 AM|2027-01-02T09:03:04",
              "en_US|12/5/2026|2026-12-05T00:00:00",
              "de_DE|05.12.2026 12:05:12|2026-12-05T12:05:12",
              "en_GB|05/12/2026 12:05:12|2026-12-05T12:05:12",
              "de_DE|05.12.26 12:05:12|2026-12-05T12:05:12", "de_DE|05.12.26|2026-12-05T00:00:00",
              "de_DE|05.12.99|2099-12-05T00:00:00", "de_DE|05.12.1999|1999-12-05T00:00:00",
              "en_US|yesterday|", "en_US|  |"})
            QTest::newRow(row) << QString::fromLatin1(row).split(u'|');
    }
    void readSavedDateTime_forms()
    {
        QFETCH(QStringList, row);
        QCOMPARE(readSavedDateTime(row[1], QLocale(row[0])),
                 QDateTime::fromString(row[2], Qt::ISODate));
    }

    // What getData makes of a path: on success the record is the file's game alone; on a
    // refusal (how it begins; null: none) it stays exactly as it was.
    void getData_outcomes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("refusal");
        row("capitals", "game.TFP", QString());
        row("another after it", "game.tfp.txt", "Cannot open a file that does not have the .tfp");
        row("damaged", "bad.tfp", "The game data is damaged: character pair 1");
        row("missing", "absent.tfp", "");
        row("a folder", "folder.tfp", "It is not a file but a folder.");
    }
    void getData_outcomes()
    {
        QFETCH(QString, name);
        QFETCH(QString, refusal);
        QTemporaryDir dir;
        const QString file = dir.filePath(name);
        const QByteArray content =
            name.startsWith("game") ? gameFileBytes({kRule, kRidgeLine}) : "zz\r\n";
        QVERIFY(name == "folder.tfp" ? QDir().mkpath(file)
                                     : name == "absent.tfp" || writeFile(file, content));
        GameRecord record = secureGame(12, 20, 1), expected = basicGame();
        record.FilePath = expected.FilePath = file;
        const GameRecord before = record;
        FileErrorInfo error;
        QCOMPARE(tfp::getData(record, error), refusal.isNull());
        QCOMPARE(error.Number, name == "absent.tfp" ? int(QFileDevice::OpenError) : 0);
        QVERIFY2(error.Description.startsWith(refusal), qPrintable(error.Description));
        QCOMPARE(error.Description.isEmpty(), refusal.isNull());
        expected.LastSavedBy = QStringLiteral("-1");
        expected.FileDigest = QCryptographicHash::hash(content, QCryptographicHash::Sha256);
        QCOMPARE(record, refusal.isNull() ? expected : before);
    }

    // A game reads back whole, with the file's digest. A guarded save writes nothing when
    // another copy wrote the file after this one read it; a file that has gone, it writes.
    void saveDataIfUnchanged_fileChangedSinceRead_writesNothing()
    {
        GameRecord mine = secureGame(-32768, -1, 2);
        mine.Player1LastTurn = -24;
        QVERIFY(saveGame(mine, path(QStringLiteral("guarded.tfp"))));
        mine.LastSavedBy = QStringLiteral("2"); // the holder, written as a number
        GameRecord theirs = loadGame(mine.FilePath);
        QCOMPARE(theirs, mine);
        theirs.CurrentTurn = 18;
        FileErrorInfo error;
        QCOMPARE(saveDataIfUnchanged(theirs, error), GuardedSave::Saved);
        QCOMPARE(loadGame(mine.FilePath), theirs);
        const QByteArray written = fileBytes(mine.FilePath);
        mine.CurrentTurn = 17;
        QCOMPARE(saveDataIfUnchanged(mine, error), GuardedSave::ChangedElsewhere);
        QCOMPARE(fileBytes(mine.FilePath), written);
        QVERIFY(!QFileInfo::exists(mine.FilePath + ".lock"));
        QVERIFY(QFile::remove(mine.FilePath));
        QCOMPARE(saveDataIfUnchanged(mine, error), GuardedSave::Saved);
        QCOMPARE(loadGame(mine.FilePath).CurrentTurn, 17);
    }

    // Every turn of the window, each end about half as likely as an inner turn (type 2: none).
    void drawEndingTurn_range_data()
    {
        QTest::addColumn<QList<int>>("row"); // turns, modifier, type, earliest, latest
        const int rows[][5] = {{20, 3, 0, 17, 20}, {20, 3, 1, 17, 23}, {20, 0, 1, 20, 20},
                               {2, 1, 0, 1, 2},    {5, 8, 0, -3, 5},   {20, 3, 2, 0, 0}};
        for (const auto& r : rows)
            QTest::addRow("%d turns, modifier %d, type %d", r[0], r[1], r[2])
                << QList<int>(std::begin(r), std::end(r));
    }
    void drawEndingTurn_range()
    {
        QFETCH(QList<int>, row);
        const int earliest = row[3], latest = row[4];
        QRandomGenerator random(20261207);
        std::map<int, int> seen;
        constexpr int kDraws = 40000;
        for (int i = 0; i < kDraws; ++i)
            ++seen[drawEndingTurn(qint16(row[0]), qint16(row[1]), GameType(row[2]), random)];
        QCOMPARE(QList<int>({seen.begin()->first, seen.rbegin()->first, int(seen.size())}),
                 QList<int>({earliest, latest, latest - earliest + 1}));
        const double inner = double(kDraws) / std::max(1, latest - earliest);
        for (const auto& [turn, count] : seen) {
            const bool end = turn == earliest || turn == latest;
            const double expected = earliest == latest ? kDraws : end ? inner / 2 : inner;
            QVERIFY2(qAbs(count - expected) <= expected * 0.1, qPrintable(QString::number(turn)));
        }
    }

    // The text that confirms a new game; the file name suggested for it, and the folder kept.
    void newGame_confirmationTextFileNameAndFolder()
    {
        QCOMPARE(tfp::confirmationText(
                     sampleEntries("20", "3", SecurityMode::Secure, GameType::QuickBattle)),
                 "You are about to create a game file with the following parameters:\r\n"
                 "     Game Name:   \tRidge\r\n     Type:        \tQuick Battle\r\n"
                 "     Mode:        \tSecure\r\n     Player 1:    \tAnna\r\n"
                 "     Player 2:    \tBen\r\n     Game Turns:  \t20 with modifier of \u00b13\r\n"
                 "\r\nYour game will end between turn 17 and 23 (inclusive).  When setting up "
                 "your quick battle, be sure to set the maximun number of turns to 23.\r\n");
        QCOMPARE(suggestedFileName("a/b\\c:d*e?f|g<h>i"), QStringLiteral("a-b-c-d-e-f-g-h-i"));
        QCOMPARE(suggestedFileName("", {2026, 12, 7}), QStringLiteral("Game 12-07-2026"));
        QString folder;
        QVERIFY(tfp::splitPath(" /ridge.tfp ", folder) && folder == QDir::toNativeSeparators("/"));
    }

    // Entries "game|player #1|player #2|turns|modifier" and their refusal (empty: none): the
    // validation's box first, one line per problem, then characters, lengths and numbers.
    void setupRefusal_data()
    {
        const QStringList said = {"a name for the game",       "a name for 'Player #1'",
                                  "a name for 'Player #2'",    "the number of turns for your game",
                                  "a number for 'Game Turns'", "the modifier for the game",
                                  "a number for 'Modifier'"};
        const auto box = [&said](std::initializer_list<int> lines) {
            QString text = QStringLiteral("Errors encountered:\r\n");
            for (const int line : lines)
                text += "  \u2022 Please enter " + said.at(line) + "\r\n";
            return text + "\r\n\r\nPlease check your entries and try again.";
        };
        const QString below = QStringLiteral("The modifier must be a whole number from 0 to 19 "
                                             "(one less than the number of turns).");
        const QString unkept = QStringLiteral("%1 holds the character '%2' (U+%3), which a game "
                                              "file cannot keep. Please use another.");
        QTest::addColumn<QString>("entries");
        QTest::addColumn<QString>("refusal");
        row("all empty", "||||", box({0, 1, 2, 3, 5}));
        row("turns 0, modifier empty", "x|x|x|0|", box({3, 5}));
        row("pasted letters", "x|x|x|1a|x", box({4, 6}));
        row("validation first", "|A|B|20|-1", box({0}));
        row("longest",
            QString(100, u'g') + "|" + QString(50, u'p') + "|" + QString(50, u'q') + "|99|98", "");
        row("game name too long", QString(101, u'g') + "|A|B|20|3",
            "The game name can have at most 100 characters.");
        row("player #2's name too long", "R|A|" + QString(51, u'q') + "|20|3",
            "A player name can have at most 50 characters.");
        row("tag in a name", "R|Anna>|B|20|3", "Names cannot contain the characters < and >.");
        row("turns 00", "R|A|B|00|0", "The number of turns must be a whole number from 1 to 99.");
        row("turns 1", "R|A|B|1|0", "");
        row("negative modifier", "R|A|B|20|-1", below);
        row("modifier equal to turns", "R|A|B|20|20", below);
        row("emoji as one character", "R \U0001F600|A|B|20|3",
            unkept.arg("The game name", "\U0001F600", "1F600"));
    }
    void setupRefusal()
    {
        QFETCH(QString, entries);
        QFETCH(QString, refusal);
        const QStringList e = entries.split(u'|');
        const SetupEntries setup{
            e[0], e[1], e[2], e[3], e[4], GameType::Scenario, SecurityMode::Basic};
        const std::optional<Message> refused = tfp::setupRefusal(setup);
        QCOMPARE(refused.value_or(Message{}).text, refusal);
        QCOMPARE(validateGameSetup(setup).valid, !refusal.startsWith("Errors"));
    }

    void passwordRefusal_data()
    {
        const QString length =
            QStringLiteral("Please enter a password between 1 and 20 characters.");
        const QString unkept = QStringLiteral("A password cannot contain the character %1, which "
                                              "a game file cannot keep.");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("refusal");
        row("plain, 20 characters", "Secret1" + QString(13, u'p'), "");
        row("empty", "", length);
        row("21 characters", QString(21, u'p'), length);
        row("tag", "a>b", "A password cannot contain the characters < and >.");
        row("Cyrillic", "\u043f\u0430", unkept.arg("'\u043f' (U+043F)"));
        row("y with diaeresis", "s\u00ffx", unkept.arg("'\u00ff' (U+00FF)"));
        row("twenty emoji: the emoji, not the length", QString("\U0001F600").repeated(20),
            unkept.arg("'\U0001F600' (U+1F600)"));
    }
    void passwordRefusal()
    {
        QFETCH(QString, text);
        QFETCH(QString, refusal);
        QCOMPARE(tfp::passwordRefusal(text), refusal);
    }

    // What one press of Check Turn at turn 16 shows, sounds and says (a Secure game is Ben's).
    // A check that could not be saved (its folder gone) or found the file changed by another
    // copy does not count: the record and the file stay as they were.
    void checkTurnCommand_outcomes_data()
    {
        GameRecord quick = basicGame(16, 19), secure = secureGame(16, 19, 2);
        quick.GameType = GameType::QuickBattle;
        QTest::addColumn<GameRecord>("game");
        QTest::addColumn<QString>("file"); // "saved", "gone" or "changed"
        QTest::addColumn<QString>("expected");
        row("quick, goes on", quick, "saved",
            "Turn #17 / This is NOT the ending turn. / green | Check Turn 18 on green, next turn");
        row("secure, save fails", secure, "gone",
            "Turn Not Checked / The game file could not be saved, so turn 17 was not checked. / "
            "yellow | Check Turn 17 on -, silent; Could not save the file 'FILE'.");
        row("secure, changed elsewhere", secure, "changed",
            "Game File Loaded / Ben, press 'Check Turn' starting on turn 17 / yellow | Check Turn "
            "17 on yellow, silent; The game file 'FILE' was changed by another copy of the program "
            "after this one read it, so nothing was saved.");
    }
    void checkTurnCommand_outcomes()
    {
        QFETCH(GameRecord, game);
        QFETCH(QString, file);
        QFETCH(QString, expected);
        GameRecord& r = game;
        QVERIFY(saveGame(r, path(QStringLiteral("check.tfp"))));
        if (file == QLatin1String("gone"))
            r.FilePath = path(QStringLiteral("gone/check.tfp"));
        QVERIFY(file != QLatin1String("changed") || writeFile(r.FilePath, "theirs"));
        const GameRecord before = r;
        const QByteArray bytes = fileBytes(r.FilePath);
        Recorder recorder;
        const CheckOutcome o = checkTurnCommand(r, recorder);
        static const char* const sounds[] = {"silent", "event", "next turn", "end"};
        QString said; // the first line of the one message shown, if any
        for (const Message& message : recorder.messages)
            said += "; " + message.text.section("\r\n", 0, 0).replace(r.FilePath, "FILE");
        QCOMPARE(shown(o.status, o.button, o.handOver) + ", " + sounds[int(o.sound)] + said,
                 expected);
        QCOMPARE(o.saved, file == QLatin1String("saved"));
        if (!o.saved) {
            QCOMPARE(r, before);
            QCOMPARE(fileBytes(r.FilePath), bytes);
            return;
        }
        const GameRecord inFile = loadGame(r.FilePath);
        QCOMPARE(inFile.FileDigest, r.FileDigest);
        QCOMPARE(QList<int>({inFile.CurrentTurn, inFile.Player1LastTurn, inFile.Player2LastTurn}),
                 QList<int>({17, 0, 0}));
    }

    // What opening gives: the status shown, or a part of the message. Anna, opening the file
    // Ben sent her, may check when her last check is of an earlier turn than the one reached.
    void openGameFile_outcomes_data()
    {
        const auto sent = [](qint16 current, qint16 marker) {
            GameRecord r = secureGame(current, 20, 2);
            r.Player1LastTurn = marker;
            return r;
        };
        GameRecord noHolder = sent(17, 0), undrawn = secureGame(16, -1, 1), old = basicGame();
        noHolder.CurrentPlayer = noHolder.DestinationPlayer = kNoPlayer;
        undrawn.Player2Pwd.clear();
        const auto loaded = [](const QString& message, const char* turn, const char* allowed) {
            return QStringLiteral("Game File Loaded / %1 / yellow | Check Turn %2 %3 yellow")
                .arg(message, turn, allowed);
        };
        const QString may = QStringLiteral("Anna, press 'Check Turn' starting on turn %1");
        QTest::addColumn<GameRecord>("game");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("expected");
        const QString refusal = "version of the Torva Fogline Turnpicker application and cannot be "
                                "opened.\r\n   Application Version: \t1.5.24\r\n   File "
                                "Version:        \t\t%1\r\n";
        for (const char* version : {"1.5.21", "", "1.5.22", "1.5.23"}) {
            old.Version = QString::fromLatin1(version);
            row(qPrintable("version '" + old.Version + "'"), old, "",
                old.Version > "1.5.21"
                    ? loaded("Press 'Check Turn' starting on turn 17", "17", "on")
                    : refusal.arg(*version ? version : "(Missing Version Information)"));
        }
        row("basic, over", basicGame(19, 19), "",
            "Turn #19 / The battle is already over! / red | Battle Over off red");
        row("never checked, turn 0, blanks around", sent(0, 0), " Alpha ",
            loaded(may.arg(1), "1", "on"));
        row("checked the turn before", sent(17, 16), "Alpha", loaded(may.arg(18), "18", "on"));
        row("checked the turn reached", sent(17, 17), "Alpha",
            loaded("Anna, player #2 needs to check turn 18", "18", "off"));
        row("nobody holds it", noHolder, "Bravo",
            "The password entered does not match the current user's password.");
        row("no password chosen", undrawn, "",
            "No password was chosen, so the game was not opened. The file is unchanged.");
    }
    void openGameFile_outcomes()
    {
        QFETCH(GameRecord, game);
        QFETCH(QString, answer);
        QFETCH(QString, expected);
        QVERIFY(saveGame(game, path(QStringLiteral("open.tfp"))));
        const QByteArray before = fileBytes(game.FilePath);
        Recorder recorder({answer});
        const OpenOutcome o = openGameFile(game.FilePath, recorder);
        QCOMPARE(fileBytes(game.FilePath), before);
        const bool opened = expected.startsWith("Game File") || expected.startsWith("Turn");
        QCOMPARE(o.status == OpenStatus::Opened, opened);
        QCOMPARE(recorder.messages.size(), opened ? 0 : 1);
        if (!opened) {
            const QString text = recorder.messages.first().text;
            QVERIFY2(text.contains(expected), qPrintable(text));
            return;
        }
        QCOMPARE(shown(o.view, o.button), expected);
        QCOMPARE(o.checkAllowed, o.button.enabled);
    }

    // Anna creates the game, Ben's first opening draws (20 here); the file then goes back and
    // forth, each player checking one turn and refused a second check in a row.
    void openGameFile_secureRound_betweenTwoPlayers()
    {
        const QStringList names = {"Anna", "Ben"}, passwords = {"Alpha", "Bravo"};
        const char *goesOn = "This is NOT the ending turn.", *ends = "BATTLE OVER - CEASE FIRE!";
        Recorder anna({passwords[0]});
        QRandomGenerator random(8);
        GameRecord created =
            tfp::prepareNewGame(sampleEntries("20", "3", SecurityMode::Secure), anna);
        created.FilePath = path(QStringLiteral("secure.tfp"));
        QVERIFY(saveNewGame(created, anna));
        QCOMPARE(loadGame(created.FilePath).EndingTurn, -1);
        Recorder ben({passwords[1]});
        OpenOutcome o = openGameFile(created.FilePath, ben, random);
        QCOMPARE(ben.prompts.size(), 1);
        QCOMPARE(ben.prompts[0].caption + " " + ben.prompts[0].playerName,
                 "Set Password for Player #2 Ben");
        QCOMPARE(ben.messages.size(), 0);
        const GameRecord drawn = loadGame(created.FilePath);
        QCOMPARE(QList<int>({drawn.EndingTurn, drawn.CurrentPlayer}), QList<int>({20, 2}));
        QCOMPARE(drawn.Player2Pwd, passwords[1]);
        QCOMPARE(o.record.FileDigest, drawn.FileDigest);
        for (int turn = 17, holder = 2; turn <= 20; ++turn, holder = otherPlayer(holder)) {
            const int other = otherPlayer(holder);
            QCOMPARE(o.status, OpenStatus::Opened);
            QCOMPARE(o.view.message, QStringLiteral("%1, press 'Check Turn' starting on turn %2")
                                         .arg(names[holder - 1])
                                         .arg(turn));
            const CheckOutcome c = checkTurnCommand(o.record, ben);
            const bool last = turn == 20;
            QCOMPARE(shown(c.status, c.button, c.handOver),
                     QString::asprintf("Turn #%d / %s\r\n%s, send this file to player #%d. / %s | "
                                       "Send File off red",
                                       turn, last ? ends : goesOn, qPrintable(names[holder - 1]),
                                       other, last ? "red" : "green"));
            QCOMPARE(playerLastTurn(loadGame(o.record.FilePath), holder), turn);
            // The same player cannot check again: opening asks for the other's password.
            const QByteArray before = fileBytes(o.record.FilePath);
            Recorder again({passwords[holder - 1]});
            QCOMPARE(openGameFile(o.record.FilePath, again, random).status,
                     OpenStatus::PasswordRefused);
            QCOMPARE(again.prompts.first().caption,
                     QStringLiteral("Enter Password for Player #%1").arg(other));
            Recorder next({passwords[other - 1]});
            o = openGameFile(o.record.FilePath, next, random);
            QCOMPARE(fileBytes(o.record.FilePath), before); // opening alone changes nothing
        }
        QCOMPARE(o.view.message, QStringLiteral("The battle is already over!"));
        QCOMPARE(loadGame(o.record.FilePath).CurrentTurn, 20);
    }
};

QTEST_GUILESS_MAIN(TestGame)
#include "tst_game.moc"
