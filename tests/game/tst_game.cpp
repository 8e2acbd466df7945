// The game library: the cipher and the file layout, the reader's rules, dates, saves guarded
// by digest, and the rules of setup, draw, check and opening with the Secure hand-over.
#include "game/cipher.h"
#include "game/codepage.h"
#include "game/creation.h"
#include "game/draw.h"
#include "game/gamestore.h"
#include "game/opening.h"
#include "game/passwords.h"
#include "game/saveddate.h"
#include "game/turncheck.h"
#include "recorder.h"
#include "testsupport.h"

#include <map>
#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QRegularExpression>
#include <QSet>
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

// clang-format off
// The number elements of a data line: turns, modifier, type and mode, the rest fixed.
QString numbers(const QString& turns, const QString& modifier, const QString& type,
                const QString& mode)
{
    return QStringLiteral("<TotalTurns>%1</TotalTurns><TurnVariance>%2</TurnVariance><CurrentTurn>"
        "16</CurrentTurn><EndingTurn>19</EndingTurn><SecurityMode>%4</SecurityMode><GameType>%3"
        "</GameType><CurrentPlayer>-1</CurrentPlayer><DestinationPlayer>-1</DestinationPlayer>")
        .arg(turns, modifier, type, mode);
}
const QString kNumbers = numbers("20", "3", "0", "0");
// A rule line and one data line, enciphered; and one with numbers of its own.
QByteArray dataFile(const QString& line) { return gameFileBytes({kRule, line}); }
QByteArray numbersFile(const QString& turns, const QString& modifier, const QString& type,
                       const QString& mode)
{ return dataFile(numbers(turns, modifier, type, mode)); }
// Text of Windows-1252 codes given in hexadecimal.
QString codes(const char* hex) { return fromCodePage(QByteArray::fromHex(hex)); }

// What the reader left in a record that held "Untouched", ending turn 0 and player #1's turn
// marker 5; an absent turn marker reads 0.
struct Read { QString gameName; qint16 endingTurn = 0, player1LastTurn = 0;
    friend bool operator==(const Read&, const Read&) = default; };
char* toString(const Read& r) { return fieldsText(r.gameName, r.endingTurn, r.player1LastTurn); }
const Read kUntouched{"Untouched", 0, 5};
Read dataRead(const QString& gameName) { return {gameName, 19, 0}; }
const Read kNoName = dataRead("");

// What getData finds at a path.
enum class AtPath { SampleGame, Damaged, Nothing, Folder };

// The rows of the tables. An optional cipher is whatever encipherText gives; a plain text
// nullopt is deciphered only; a result nullopt is refused. An empty refusal is none.
struct Cipher { std::optional<QString> plain, cipher, back; };
struct ReadRow { QByteArray bytes; std::optional<Read> read; QString reason; };
struct Endless { QByteArray pattern; qint64 bound; };
struct Date { const char* locale; QString text; QDateTime moment; };
struct GetData { QString name; AtPath at; std::optional<QString> refusal; int errorNumber; };
struct Draw { qint16 turns, modifier; GameType type; int earliest, latest; };
struct Setup { SetupEntries entries; QString refusal; };
struct Password { QString text, refusal; };
struct Elsewhere { bool gone; QString said; };
struct Open { GameRecord game; QString password; OpenStatus status; GameView view; QString said; };

GameView opened(const QString& message, int turn, bool allowed)
{
    return {{"Game File Loaded", message, StatusColour::Yellow},
            {QString("Check Turn %1").arg(turn), allowed, Light::Yellow}};
}
// clang-format on

} // namespace

class TestGame : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    [[nodiscard]] QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    // Odd positions subtract the offset of their class (ten A's: 3 3 0 3 1 0 2 3 0 1), even
    // ones add it; a value beyond a byte wraps by 255, one below 16 is padded by "*". Codes 1
    // to 254 come back from positions of every class and parity.
    void cipher_knownValues_data()
    {
        addRowColumn<Cipher>();
        QByteArray every;
        for (int i = 0; i < 210 + 254; ++i)
            every.append(static_cast<char>(i < 210 ? 1 + (i * 37) % 254 : i - 209));
        const QString all = fromCodePage(every), tenA(10, u'A');
        addRow<Cipher>("every code", all, std::nullopt, all);
        addRow<Cipher>("ten A", tenA, "3E442E443A5422442E48", tenA);
        addRow<Cipher>("outside Windows-1252", "A\u0080\u0100\u20ac", "3E422C83", "A??\u20ac");
        addRow<Cipher>("0D", codes("0D"), "*A", codes("0D"));
        addRow<Cipher>("01", codes("01"), "FD", codes("01"));
        addRow<Cipher>("41FE", codes("41FE"), "3E*2", codes("41FE"));
        addRow<Cipher>("4100", codes("4100"), "3E*3", codes("4100"));
        addRow<Cipher>("42FF wraps", codes("42FF"), "3F*3", codes("4200"));
        addRow<Cipher>("00 wraps", codes("00"), "FC", codes("FF"));
        addRow<Cipher>("FFA0", codes("FFA0"), "FCA3", codes("FFA0"));
        addRow<Cipher>("A*", std::nullopt, "A*", codes("0D"));
        addRow<Cipher>("0A", std::nullopt, "0A", codes("0D"));
        addRow<Cipher>("fc*a", std::nullopt, "fc*a", codes("FF07"));
        addRow<Cipher>("3E4", std::nullopt, "3E4", codes("4101"));
        addRow<Cipher>("3E**", std::nullopt, "3E**", std::nullopt);
        addRow<Cipher>("3G", std::nullopt, "3G", std::nullopt);
        addRow<Cipher>("3E 4", std::nullopt, "3E 4", std::nullopt);
    }
    void cipher_knownValues()
    {
        QFETCH(Cipher, row);
        const QString written = row.plain ? encipherText(*row.plain).value() : *row.cipher;
        QCOMPARE(written, row.cipher.value_or(written));
        QString error;
        QCOMPARE(decipherText(written, &error), row.back);
        QCOMPARE(error.isEmpty(), row.back.has_value());
    }

    // Lines end in CR LF; the creation line shows the time of the save.
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
    }

    // The longest texts the cipher takes, as stored files rely on them; a game whose data line
    // the reader could not take back is not written at all.
    void lengthLimits_cipherTakesThemWriterKeepsThem()
    {
        QVERIFY(encipherText(QString(32766, u'a')) && !encipherText(QString(32767, u'a')));
        QVERIFY(decipherText(QString(32765, u'4')) && !decipherText(QString(32766, u'4')));
        GameRecord game = basicGame();
        game.GameName = QString(16400, u'g'); // 32,766 plain characters at most, 32,765 read
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        FileErrorInfo error;
        QVERIFY(!writeGame(buffer, game, QDateTime::currentDateTime(), error));
        QCOMPARE(error.Description, "The game holds too much text to be saved: its data line may "
                                    "have at most 32765 characters.");
        QCOMPARE(buffer.data(), QByteArray());
    }

    void readAndWriteGame_deviceFails_saysWhy()
    {
        TestDevice full({}, false, 700), gone(dataFile(kRidgeLine).first(200)); // in the data line
        full.open(QIODevice::WriteOnly);
        gone.open(QIODevice::ReadOnly);
        GameRecord record;
        FileErrorInfo written, read;
        QVERIFY(!writeGame(full, basicGame(), QDateTime::currentDateTime(), written));
        QVERIFY(!tfp::readGame(gone, record, read));
        QCOMPARE(written.Description + " " + read.Description,
                 QStringLiteral("The disk is full. The disk has gone away."));
    }

    // The data lines and line ends the reader takes, and what it reads from them; what it
    // refuses, by how its reason begins.
    void readGame_data()
    {
        addRowColumn<ReadRow>();
        const auto taken = [](const char* tag, const QByteArray& bytes, const Read& read) {
            addRow<ReadRow>(tag, bytes, read, QString());
        };
        const auto refused = [](const char* tag, const QByteArray& bytes, const QString& reason) {
            addRow<ReadRow>(tag, bytes, std::nullopt, reason);
        };
        const QString incomplete = "The game data is incomplete: the value '",
                      damaged = "The game data is damaged: ", value = damaged + "the value '";
        const auto beyond = [&damaged](int turns, int modifier) {
            return damaged + QString("%1 turns with a modifier of %2 give ending turns beyond")
                                 .arg(turns)
                                 .arg(modifier);
        };
        // clang-format off
        taken("element first, unknown one", dataFile("<GameName>Ridge</GameName><X>1</X>" + kNumbers), dataRead("Ridge"));
        taken("empty element", dataFile("<GameName></GameName>" + kNumbers), kNoName);
        taken("no closing tag: absent", dataFile(kNumbers + "<GameName>Ridge"), kNoName);
        // A mode or type is a byte; every ending turn the draw can give, a 16-bit number
        // (read rounded, halves to the even neighbour).
        taken("mode 255", numbersFile("20", "3", "0", "255"), kNoName);
        taken("scenario of 32767 turns", numbersFile("32767", "3", "0", "0"), kNoName);
        taken("32766.5 turns", numbersFile("32766.5", "3", "0", "0"), kNoName);
        taken("quick battle up to 32767", numbersFile("32766", "1", "1", "0"), kNoName);
        taken("quick down to -32768", numbersFile("-32767", "1", "1", "0"), kNoName);
        taken("modifier -1 at -32768", numbersFile("-32768", "-1", "0", "0"), kNoName);
        taken("exponent", numbersFile("-3.27685e4", "-1", "0", "0"), kNoName);
        taken("banner lines alone", gameFileBytes({kRule, "---x"}), kUntouched);
        taken("LF alone: banner", gameFileBytes({kRule, kRidgeLine}, "\n"), kUntouched);
        taken("CR alone", gameFileBytes({kRule, kRidgeLine}, "\r"), dataRead("Ridge"));
        taken("no break at the end", dataFile(kRidgeLine).chopped(2), dataRead("Ridge"));
        taken("the last data line decides", gameFileBytes({kRidgeLine, kRule, QString(kRidgeLine).replace("Ridge", "Other")}), dataRead("Other"));
        taken("empty file", QByteArray(), kUntouched);
        refused("closing tag first", dataFile("</GameName><GameName>" + kNumbers), damaged + "the element 'GameName' is malformed.");
        refused("turn marker x", dataFile(kNumbers + "<Player1LastTurn>x</Player1LastTurn>"), value + "Player1LastTurn' is not a number in range.");
        for (const char* element : {"TotalTurns", "TurnVariance", "CurrentTurn", "EndingTurn", "SecurityMode", "GameType", "CurrentPlayer", "DestinationPlayer"}) {
            const QRegularExpression number(QStringLiteral("<%1>[^<]*</%1>").arg(element));
            refused(qPrintable(QString("%1 missing").arg(element)), dataFile(QString(kNumbers).remove(number)), incomplete + element);
            refused(qPrintable(QString("%1 not a number").arg(element)), dataFile(QString(kNumbers).replace(number, QStringLiteral("<%1>x1</%1>").arg(element))), value + element);
        }
        refused("mode 256", numbersFile("20", "3", "0", "256"), value + "SecurityMode");
        refused("mode -1", numbersFile("20", "3", "0", "-1"), value + "SecurityMode");
        refused("32767.5 turns", numbersFile("32767.5", "0", "0", "0"), value + "TotalTurns");
        refused("quick beyond 32767", numbersFile("32767", "1", "1", "0"), beyond(32767, 1));
        refused("quick below -32768", numbersFile("-32768", "1", "1", "0"), beyond(-32768, 1));
        refused("modifier -1 beyond", numbersFile("32767", "-1", "0", "0"), beyond(32767, -1));
        refused("scenario below", numbersFile("-32768", "1", "0", "0"), beyond(-32768, 1));
        refused("a blank line", gameFileBytes({kRidgeLine, ""}), incomplete + "TotalTurns' is missing.");
        refused("the longest line", QByteArray(32765, '4') + "\r\n", incomplete);
        refused("a line too long", QByteArray(32766, '4'), "A line of the game file is longer than the 32765 characters");
        // clang-format on
    }
    void readGame()
    {
        QFETCH(ReadRow, row);
        QBuffer buffer(&row.bytes);
        buffer.open(QIODevice::ReadOnly);
        GameRecord record;
        record.GameName = kUntouched.gameName;
        record.Player1LastTurn = kUntouched.player1LastTurn;
        FileErrorInfo error;
        QCOMPARE(tfp::readGame(buffer, record, error), row.read.has_value());
        QVERIFY2(error.Description.startsWith(row.reason), qPrintable(error.Description));
        QCOMPARE(error.Description.isEmpty(), row.reason.isEmpty());
        if (row.read)
            QCOMPARE((Read{record.GameName, record.EndingTurn, record.Player1LastTurn}), *row.read);
    }

    // A source that never ends is read no further than the first line the reader refuses.
    void readGame_endlessSource_boundedInBytes_data()
    {
        addRowColumn<Endless>();
        addRow<Endless>("hex digits, no line end", "0123456789ABCDEF", 32765 + 4096);
        addRow<Endless>("lines of 100 hex digits", QByteArray(100, 'A') + "\r\n", 4096);
        addRow<Endless>("blank lines", "\r\n", 4096);
    }
    void readGame_endlessSource_boundedInBytes()
    {
        QFETCH(Endless, row);
        TestDevice device(row.pattern, true);
        device.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        GameRecord record;
        FileErrorInfo error;
        QVERIFY(!tfp::readGame(device, record, error) && !error.Description.isEmpty());
        QVERIFY2(device.delivered <= row.bound, qPrintable(QString::number(device.delivered)));
    }

    // The written form; the locale's short date with or without its time, before the US form
    // of older files; two-digit years are of this century.
    void readSavedDateTime_forms_data()
    {
        addRowColumn<Date>();
        const auto at = [](int y, int m, int d, int h = 0, int min = 0, int s = 0) {
            return QDateTime(QDate(y, m, d), QTime(h, min, s));
        };
        addRow<Date>("written form", "de_DE", "2026-12-05 12:05:12", at(2026, 12, 5, 12, 5, 12));
        addRow<Date>("US", "en_US", "12/5/2026 12:05:12 PM", at(2026, 12, 5, 12, 5, 12));
        addRow<Date>("US in Germany", "de_DE", "1/2/2027 9:03:04 AM", at(2027, 1, 2, 9, 3, 4));
        addRow<Date>("US date alone", "en_US", "12/5/2026", at(2026, 12, 5));
        addRow<Date>("German", "de_DE", "05.12.2026 12:05:12", at(2026, 12, 5, 12, 5, 12));
        addRow<Date>("British", "en_GB", "05/12/2026 12:05:12", at(2026, 12, 5, 12, 5, 12));
        addRow<Date>("two-digit year", "de_DE", "05.12.26 12:05:12", at(2026, 12, 5, 12, 5, 12));
        addRow<Date>("two-digit year, date alone", "de_DE", "05.12.26", at(2026, 12, 5));
        addRow<Date>("99 is 2099", "de_DE", "05.12.99", at(2099, 12, 5));
        addRow<Date>("four-digit 1999", "de_DE", "05.12.1999", at(1999, 12, 5));
        addRow<Date>("a word", "en_US", "yesterday", QDateTime());
        addRow<Date>("blanks", "en_US", "  ", QDateTime());
    }
    void readSavedDateTime_forms()
    {
        QFETCH(Date, row);
        QCOMPARE(readSavedDateTime(row.text, QLocale(QLatin1String(row.locale))), row.moment);
    }

    // On success the record is the file's game alone, with the file's digest; on a refusal it
    // stays exactly as it was, and the error says why (its file error code, how it begins).
    void getData_outcomes_data()
    {
        addRowColumn<GetData>();
        addRow<GetData>("capitals", "game.TFP", AtPath::SampleGame, std::nullopt, 0);
        addRow<GetData>("another after it", "game.tfp.txt", AtPath::SampleGame, "Cannot open", 0);
        addRow<GetData>("damaged", "bad.tfp", AtPath::Damaged, "The game data is damaged: ", 0);
        addRow<GetData>("missing", "absent.tfp", AtPath::Nothing, "", int(QFileDevice::OpenError));
        addRow<GetData>("folder", "dir.tfp", AtPath::Folder, "It is not a file but a folder.", 0);
    }
    void getData_outcomes()
    {
        QFETCH(GetData, row);
        const QString file = path(row.name);
        const QByteArray content =
            row.at == AtPath::SampleGame ? dataFile(kRidgeLine) : QByteArray("zz\r\n");
        if (row.at == AtPath::Folder)
            QVERIFY(QDir().mkpath(file));
        else if (row.at != AtPath::Nothing)
            QVERIFY(writeFile(file, content));
        GameRecord record = secureGame(12, 20, 1), expected = basicGame();
        record.FilePath = expected.FilePath = file;
        expected.LastSavedBy = QStringLiteral("-1");
        expected.FileDigest = QCryptographicHash::hash(content, QCryptographicHash::Sha256);
        const GameRecord before = record;
        FileErrorInfo error;
        QCOMPARE(tfp::getData(record, error), !row.refusal);
        QCOMPARE(error.Number, row.errorNumber);
        QVERIFY2(error.Description.startsWith(row.refusal.value_or(QString())),
                 qPrintable(error.Description));
        QCOMPARE(error.Description.isEmpty(), !row.refusal);
        QCOMPARE(record, row.refusal ? before : expected);
    }

    // A game reads back whole, with the file's digest. A guarded save writes nothing when
    // another copy wrote the file after this one read it, or while this one wrote its new file,
    // or when the file has gone.
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
        GameRecord renamedIn = mine;
        const auto rename = [&] {
            QVERIFY(saveGame(renamedIn, mine.FilePath));
        };
        QCOMPARE(saveDataIfUnchanged(theirs, error, QDateTime::currentDateTime(), rename),
                 GuardedSave::ChangedElsewhere);
        QCOMPARE(loadGame(mine.FilePath).CurrentTurn, 17);
        QVERIFY(QFile::remove(mine.FilePath));
        QCOMPARE(saveDataIfUnchanged(renamedIn, error), GuardedSave::Gone);
        QVERIFY(!QFileInfo::exists(mine.FilePath));
    }

    // A file name that leaves no room within the system's limit for the names of the lock and
    // the temporary copy beside it (seven more characters) is refused at creation; one a
    // character shorter is created and checked.
    void saveNewGame_nameTooLong_refusedNothingWritten()
    {
        Recorder recorder;
        GameRecord game = prepareNewGame(sampleEntries(), recorder);
        game.FilePath = path(QString(244, u'g') + ".tfp");
        QVERIFY(saveNewGame(game, recorder) && checkTurnCommand(game, recorder).saved);
        game.FilePath = path(QString(245, u'g') + ".tfp");
        QVERIFY(!saveNewGame(game, recorder) && !QFileInfo::exists(game.FilePath));
        QCOMPARE(recorder.messages.size(), 1);
        QVERIFY2(recorder.messages[0].text.contains("' is too long"),
                 qPrintable(recorder.messages[0].text));
    }

    // Every turn of the window, its ends half as likely; an unknown game type draws 0.
    void drawEndingTurn_range_data()
    {
        addRowColumn<Draw>();
        addRow<Draw>("scenario", 20, 3, GameType::Scenario, 17, 20);
        addRow<Draw>("quick battle", 20, 3, GameType::QuickBattle, 17, 23);
        addRow<Draw>("quick battle, modifier 0", 20, 0, GameType::QuickBattle, 20, 20);
        addRow<Draw>("two turns", 2, 1, GameType::Scenario, 1, 2);
        addRow<Draw>("modifier beyond the turns", 5, 8, GameType::Scenario, -3, 5);
        addRow<Draw>("unknown type", 20, 3, GameType(2), 0, 0);
    }
    void drawEndingTurn_range()
    {
        QFETCH(Draw, row);
        QRandomGenerator random(20261207);
        std::map<int, int> seen;
        constexpr int kDraws = 40000;
        for (int i = 0; i < kDraws; ++i)
            ++seen[drawEndingTurn(row.turns, row.modifier, row.type, random)];
        QCOMPARE(QList<int>({seen.begin()->first, seen.rbegin()->first, int(seen.size())}),
                 QList<int>({row.earliest, row.latest, row.latest - row.earliest + 1}));
        const double inner = double(kDraws) / std::max(1, row.latest - row.earliest);
        for (const auto& [turn, count] : seen) {
            const bool end = turn == row.earliest || turn == row.latest;
            const double expected = row.earliest == row.latest ? kDraws : end ? inner / 2 : inner;
            QVERIFY2(qAbs(count - expected) <= expected * 0.1, qPrintable(QString::number(turn)));
        }
    }

    // New games draw from the system's random source: games made one after the other, within
    // the same millisecond, end independently (a clock seed would give them one ending).
    void prepareNewGame_byDefault_drawsIndependently()
    {
        Recorder recorder;
        QSet<qint16> endings; // about 86 of the 99 turns
        for (int i = 0; i < 200; ++i)
            endings << prepareNewGame(sampleEntries("99", "98"), recorder).EndingTurn;
        QVERIFY2(endings.size() > 40, qPrintable(QString::number(endings.size())));
    }

    void confirmationText_namesEveryEntryAndTheWindow()
    {
        QCOMPARE(tfp::confirmationText(
                     sampleEntries("20", "3", SecurityMode::Secure, GameType::QuickBattle)),
                 "You are about to create a game file with the following parameters:\r\n"
                 "     Game Name:   \tRidge\r\n     Type:        \tQuick Battle\r\n"
                 "     Mode:        \tSecure\r\n     Player 1:    \tAnna\r\n"
                 "     Player 2:    \tBen\r\n     Game Turns:  \t20 with modifier of \u00b13\r\n"
                 "\r\nYour game will end between turn 17 and 23 (inclusive).  When setting up "
                 "your quick battle, be sure to set the maximun number of turns to 23.\r\n");
    }

    // A new game's file name: characters a file name cannot hold become "-", and no name
    // gives "Game" and the date; the folder kept of a file chosen at the root is the root.
    void newGame_fileNameAndFolder()
    {
        QCOMPARE(suggestedFileName("a/b\\c:d*e?f|g<h>i"), QStringLiteral("a-b-c-d-e-f-g-h-i"));
        QCOMPARE(suggestedFileName("", {2026, 12, 7}), QStringLiteral("Game 12-07-2026"));
        QString folder;
        QVERIFY(tfp::splitPath(" /ridge.tfp ", folder));
        QCOMPARE(folder, QDir::toNativeSeparators("/"));
    }

    // The validation's box first, one line per problem, then characters, lengths and numbers.
    void setupRefusal_data()
    {
        using Entries = SetupEntries;
        const auto box = [](std::initializer_list<const char*> lines) {
            QString text = QStringLiteral("Errors encountered:\r\n");
            for (const char* line : lines)
                text += "  \u2022 Please enter " + QLatin1String(line) + "\r\n";
            return text + "\r\n\r\nPlease check your entries and try again.";
        };
        addRowColumn<Setup>();
        // clang-format off
        const char *game = "a name for the game", *player1 = "a name for 'Player #1'", *player2 = "a name for 'Player #2'";
        const char *turns = "the number of turns for your game", *modifier = "the modifier for the game";
        const QString below = QStringLiteral("The modifier must be a whole number from 0 to 19 (one less than the number of turns).");
        addRow<Setup>("all empty", Entries("", "", "", "", ""), box({game, player1, player2, turns, modifier}));
        addRow<Setup>("turns 0, modifier empty", Entries("x", "x", "x", "0", ""), box({turns, modifier}));
        addRow<Setup>("pasted letters", Entries("x", "x", "x", "1a", "x"), box({"a number for 'Game Turns'", "a number for 'Modifier'"}));
        addRow<Setup>("validation first", Entries("", "A", "B", "20", "-1"), box({game}));
        addRow<Setup>("longest", Entries(QString(100, u'g'), QString(50, u'p'), QString(50, u'q'), "99", "98"), "");
        addRow<Setup>("game name too long", Entries(QString(101, u'g'), "A", "B", "20", "3"), "The game name can have at most 100 characters.");
        addRow<Setup>("player #2's name too long", Entries("R", "A", QString(51, u'q'), "20", "3"), "A player name can have at most 50 characters.");
        addRow<Setup>("tag in a name", Entries("R", "Anna>", "B", "20", "3"), "Names cannot contain the characters < and >.");
        addRow<Setup>("turns 00", Entries("R", "A", "B", "00", "0"), "The number of turns must be a whole number from 1 to 99.");
        addRow<Setup>("turns 1, a name of 100 once composed", Entries(QString(99, u'g') + "e\u0301", "A", "B", "1", "0"), "");
        addRow<Setup>("line break in a name", Entries("R", "Anna\nBATTLE OVER - CEASE FIRE!", "B", "20", "3"), "The name of player #1 holds a control character (U+000A). Please remove it.");
        addRow<Setup>("negative modifier", Entries("R", "A", "B", "20", "-1"), below);
        addRow<Setup>("modifier equal to turns", Entries("R", "A", "B", "20", "20"), below);
        addRow<Setup>("emoji as one character", Entries("R \U0001F600", "A", "B", "20", "3"), "The game name holds the character '\U0001F600' (U+1F600), which a game file cannot keep. Please use another.");
        // clang-format on
    }
    void setupRefusal()
    {
        QFETCH(Setup, row);
        QCOMPARE(tfp::setupRefusal(row.entries).value_or(Message{}).text, row.refusal);
    }

    void passwordRefusal_data()
    {
        addRowColumn<Password>();
        // clang-format off
        const QString length = QStringLiteral("Please enter a password between 1 and 20 characters.");
        const QString unkept = QStringLiteral("A password cannot contain the character %1, which a game file cannot keep.");
        addRow<Password>("20 characters once composed", "Caf\u0065\u0301" + QString(16, u'p'), "");
        addRow<Password>("NUL", QString::fromUtf16(u"a\0b", 3), "A password cannot contain a control character (U+0000).");
        addRow<Password>("empty", "", length);
        addRow<Password>("21 characters", QString(21, u'p'), length);
        addRow<Password>("tag", "a>b", "A password cannot contain the characters < and >.");
        addRow<Password>("u with two marks, composed", "u\u0308\u0301", unkept.arg("'\u01d8' (U+01D8)"));
        addRow<Password>("q with a tilde", "q\u0303", unkept.arg("'q\u0303' (U+0071 U+0303)"));
        addRow<Password>("y with diaeresis", "s\u00ffx", unkept.arg("'\u00ff' (U+00FF)"));
        addRow<Password>("twenty emoji: the emoji, not the length", QString("\U0001F600").repeated(20), unkept.arg("'\U0001F600' (U+1F600)"));
        // clang-format on
    }
    void passwordRefusal()
    {
        QFETCH(Password, row);
        QCOMPARE(tfp::passwordRefusal(row.text), row.refusal);
    }

    // A check that finds the file changed by another copy, or gone, does not count: the record
    // and the file stay as they were, and Ben, whose game it is, is told to open it again.
    void checkTurnCommand_changedElsewhere_countsNothing_data()
    {
        addRowColumn<Elsewhere>();
        const QString nothing = " read it, so nothing was saved.";
        // clang-format off
        addRow<Elsewhere>("changed", false, "' was changed by another copy of the program after this one" + nothing);
        addRow<Elsewhere>("gone", true, "' is no longer there: it was deleted or moved away after this copy of the program" + nothing);
        // clang-format on
    }
    void checkTurnCommand_changedElsewhere_countsNothing()
    {
        QFETCH(Elsewhere, row);
        const auto& [gone, said] = row;
        GameRecord game = secureGame(16, 19, 2);
        QVERIFY(saveGame(game, path(QStringLiteral("check.tfp"))));
        QVERIFY(gone ? QFile::remove(game.FilePath) : writeFile(game.FilePath, "theirs"));
        const GameRecord before = game;
        Recorder recorder;
        const CheckOutcome o = checkTurnCommand(game, recorder);
        QCOMPARE(o.view, opened("Ben, press 'Check Turn' starting on turn 17", 17, true));
        QVERIFY(!o.saved && o.sound == SoundCue::None);
        QCOMPARE(recorder.messages.size(), 1);
        QCOMPARE(recorder.messages[0].text.section("\r\n", 0, 0),
                 "The game file '" + QDir::toNativeSeparators(game.FilePath) + said);
        QCOMPARE(game, before);
        QCOMPARE(fileBytes(game.FilePath), gone ? QByteArray() : QByteArray("theirs"));
        QCOMPARE(QFileInfo::exists(game.FilePath), !gone);
    }

    // What opening shows, or a part of the one message shown; the file stays as it was. Anna,
    // opening the file Ben sent her, may check when her last check is of an earlier turn.
    void openGameFile_outcomes_data()
    {
        // clang-format off
        const auto sent = [](qint16 current, qint16 marker) { GameRecord r = secureGame(current, 20, 2); r.Player1LastTurn = marker; return r; };
        const auto version = [](const QString& version) { GameRecord r = basicGame(); r.Version = version; return r; };
        // clang-format on
        GameRecord noHolder = sent(17, 0), undrawn = secureGame(16, -1, 1);
        noHolder.CurrentPlayer = noHolder.DestinationPlayer = kNoPlayer;
        undrawn.Player2Pwd.clear();
        const QString refusal = "version of the Torva Fogline Turnpicker application and cannot be "
                                "opened.\r\n   Application Version: \t1.6.0\r\n   File "
                                "Version:        \t\t%1\r\n";
        const QString may = QStringLiteral("Anna, press 'Check Turn' starting on turn %1");
        const GameView basic = opened("Press 'Check Turn' starting on turn 17", 17, true), none;
        const auto ok = OpenStatus::Opened;
        // Ben opens the file Anna sent him for the first time, but his password and the draw
        // cannot be saved (with them the data line would be 16,401 characters, beyond the
        // 16,382 whose 32,765 enciphered ones the reader takes): he is told so, and the game
        // opens titled so; his first check saves them.
        GameRecord longName = undrawn;
        longName.GameName = QString(1 + 16372 - plainDataLine(undrawn).size(), u'g');
        const auto versionRefused = OpenStatus::VersionRefused,
                   pwdRefused = OpenStatus::PasswordRefused;
        addRowColumn<Open>();
        // clang-format off
        addRow<Open>("basic", basicGame(), "", ok, basic, "");
        addRow<Open>("basic, an older version", version("1.5.22"), "", ok, basic, "");
        addRow<Open>("basic, over", basicGame(19, 19), "", ok, GameView{{"Turn #19", "The battle is already over!", StatusColour::Red}, {"Battle Over", false, Light::Red}}, "");
        addRow<Open>("never checked, turn 0, blanks around", sent(0, 0), " Alpha ", ok, opened(may.arg(1), 1, true), "");
        addRow<Open>("checked the turn before", sent(17, 16), "Alpha", ok, opened(may.arg(18), 18, true), "");
        addRow<Open>("checked the turn reached", sent(17, 17), "Alpha", ok, opened("Anna, player #2 needs to check turn 18", 18, false), "");
        addRow<Open>("hand-over not saved", longName, "Bravo", ok, GameView{{"Game File Not Saved", "Ben, press 'Check Turn' starting on turn 17", StatusColour::Yellow}, {"Check Turn 17", true, Light::Yellow}}, "Could not save the file '");
        addRow<Open>("version 1.5.21", version("1.5.21"), "", versionRefused, none, refusal.arg("1.5.21"));
        addRow<Open>("no version", version(""), "", versionRefused, none, refusal.arg("(Missing Version Information)"));
        addRow<Open>("nobody holds it", noHolder, "Bravo", pwdRefused, none, "The password entered does not match the current user's password.");
        addRow<Open>("no password chosen", undrawn, "", pwdRefused, none, "No password was chosen, so the game was not opened. The file is unchanged.");
        // clang-format on
    }
    void openGameFile_outcomes()
    {
        QFETCH(Open, row);
        QVERIFY(saveGame(row.game, path(QStringLiteral("open.tfp"))));
        const QByteArray before = fileBytes(row.game.FilePath);
        Recorder recorder({row.password});
        const OpenOutcome o = openGameFile(row.game.FilePath, recorder);
        QCOMPARE(o.status, row.status);
        QCOMPARE(o.view, row.view);
        QCOMPARE(recorder.messages.size(), row.said.isEmpty() ? 0 : 1);
        QVERIFY2(recorder.messages.value(0).text.contains(row.said),
                 qPrintable(recorder.messages.value(0).text));
        QCOMPARE(fileBytes(row.game.FilePath), before);
    }

    // Anna creates the game, Ben's first opening draws (20 here); the file then goes back and
    // forth, each player checking one turn and refused a second check in a row.
    void openGameFile_secureRound_betweenTwoPlayers()
    {
        const QStringList names = {"Anna", "Ben"}, passwords = {"Alpha", "Bravo"};
        Recorder anna({passwords[0]}), ben({passwords[1]});
        QRandomGenerator random(8);
        GameRecord created =
            tfp::prepareNewGame(sampleEntries("20", "3", SecurityMode::Secure), anna);
        created.FilePath = path(QStringLiteral("secure.tfp"));
        QVERIFY(saveNewGame(created, anna));
        QCOMPARE(loadGame(created.FilePath).EndingTurn, -1);
        QCOMPARE(loadGame(created.FilePath).Version, "1.5.24"); // which 1.5 copies open
        OpenOutcome o = openGameFile(created.FilePath, ben, random);
        const GameRecord drawn = loadGame(created.FilePath);
        QCOMPARE(QList<int>({drawn.EndingTurn, drawn.CurrentPlayer, int(ben.prompts.size())}),
                 QList<int>({20, 2, 1}));
        QCOMPARE(drawn.Player2Pwd, passwords[1]);
        QCOMPARE(o.record.FileDigest, drawn.FileDigest);
        for (int turn = 17, holder = 2; turn <= 20; ++turn, holder = otherPlayer(holder)) {
            const int other = otherPlayer(holder);
            QCOMPARE(o.view.button.enabled, true);
            const CheckOutcome c = checkTurnCommand(o.record, ben);
            const bool last = turn == 20;
            const QString said =
                last ? "BATTLE OVER - CEASE FIRE!" : "This is NOT the ending turn.";
            const QString to =
                QString("\r\n%1, send this file to player #%2.").arg(names[holder - 1]);
            const StatusView status{QString("Turn #%1").arg(turn), said + to.arg(other),
                                    last ? StatusColour::Red : StatusColour::Green};
            QCOMPARE(c.view, (GameView{status, {"Send File", false, Light::Red}}));
            QCOMPARE(playerLastTurn(loadGame(o.record.FilePath), holder), turn);
            // The same player cannot check again: opening asks for the other's password.
            const QByteArray before = fileBytes(o.record.FilePath);
            Recorder again({passwords[holder - 1]}), next({passwords[other - 1]});
            QCOMPARE(openGameFile(o.record.FilePath, again, random).status,
                     OpenStatus::PasswordRefused);
            QCOMPARE(again.prompts.first(),
                     QStringLiteral("Enter Password for Player #%1").arg(other));
            o = openGameFile(o.record.FilePath, next, random);
            QCOMPARE(fileBytes(o.record.FilePath), before); // opening alone changes nothing
        }
        QCOMPARE(o.view.status.message, QStringLiteral("The battle is already over!"));
        QCOMPARE(loadGame(o.record.FilePath).CurrentTurn, 20);
    }
};

QTEST_GUILESS_MAIN(TestGame)
#include "tst_game.moc"
