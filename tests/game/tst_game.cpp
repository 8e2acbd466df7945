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

// The number elements of a data line: turns, modifier, type and mode, the rest fixed.
QString numbers(const QString& turns, const QString& modifier, const QString& type,
                const QString& mode)
{
    return QStringLiteral("<TotalTurns>%1</TotalTurns><TurnVariance>%2</TurnVariance>"
                          "<CurrentTurn>16</CurrentTurn><EndingTurn>19</EndingTurn>"
                          "<SecurityMode>%4</SecurityMode><GameType>%3</GameType>"
                          "<CurrentPlayer>-1</CurrentPlayer><DestinationPlayer>-1"
                          "</DestinationPlayer>")
        .arg(turns, modifier, type, mode);
}
const QString kNumbers = numbers("20", "3", "0", "0");

// A rule line and one data line, enciphered.
QByteArray dataFile(const QString& line)
{
    return gameFileBytes({kRule, line});
}

// Text of Windows-1252 codes given in hexadecimal.
QString codes(const char* hex)
{
    return fromCodePage(QByteArray::fromHex(hex));
}

// clang-format off
// What the reader left in a record that held "Untouched", ending turn 0 and player #1's turn
// marker 5; an absent turn marker reads 0.
struct Read { QString gameName; qint16 endingTurn = 0, player1LastTurn = 0;
    friend bool operator==(const Read&, const Read&) = default; };
char* toString(const Read& r)
{
    return QTest::toString(QStringLiteral("{'%1', ending %2, marker %3}")
                               .arg(r.gameName).arg(r.endingTurn).arg(r.player1LastTurn));
}
const Read kUntouched{"Untouched", 0, 5};
Read dataRead(const QString& gameName) { return {gameName, 19, 0}; }

// Where a check's save goes: the file the check found (with a game too long to take the check:
// Unwritable), a file deleted since, a file another copy wrote since; what getData finds.
enum class FileState { Saved, Unwritable, Gone, Changed };
enum class AtPath { SampleGame, Damaged, Nothing, Folder };

// The rows of the tables. An optional cipher is whatever encipherText gives; a plain text
// nullopt is deciphered only; a result nullopt is refused. An empty refusal is none.
struct CipherRow { std::optional<QString> plain, cipher, back; };
struct AcceptedRow { QByteArray bytes; Read read; };
struct RefusedRow { QByteArray bytes; QString reason; };
struct DateRow { const char* locale; QString text; QDateTime moment; };
struct GetDataRow { QString name; AtPath at; std::optional<QString> refusal; int errorNumber; };
struct DrawRow { qint16 turns, modifier; GameType type; int earliest, latest; };
struct SetupRow { SetupEntries entries; QString refusal; };
struct PasswordRow { QString text, refusal; };
// `said`: the first line of the one message shown, the path as FILE.
struct CheckRow { GameRecord game; FileState file; GameView view; SoundCue sound; QString said; };
struct OpenedRow { GameRecord game; QString password; GameView view; };
struct NotOpenedRow { GameRecord game; QString password; OpenStatus status; QString said; };
// clang-format on

GameView opened(const QString& message, int turn, bool allowed)
{
    return {{"Game File Loaded", message, StatusColour::Yellow},
            {QStringLiteral("Check Turn %1").arg(turn), allowed, Light::Yellow}};
}

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
        addRowColumn<CipherRow>();
        QByteArray every;
        for (int i = 0; i < 210 + 254; ++i)
            every.append(static_cast<char>(i < 210 ? 1 + (i * 37) % 254 : i - 209));
        const QString all = fromCodePage(every), tenA(10, u'A');
        addRow<CipherRow>("every code", all, std::nullopt, all);
        addRow<CipherRow>("ten A", tenA, "3E442E443A5422442E48", tenA);
        addRow<CipherRow>("outside Windows-1252", "A\u0080\u0100\u20ac", "3E422C83", "A??\u20ac");
        addRow<CipherRow>("0D", codes("0D"), "*A", codes("0D"));
        addRow<CipherRow>("03", codes("03"), "*0", codes("03"));
        addRow<CipherRow>("01", codes("01"), "FD", codes("01"));
        addRow<CipherRow>("41FE", codes("41FE"), "3E*2", codes("41FE"));
        addRow<CipherRow>("41FD", codes("41FD"), "3E*1", codes("41FD"));
        addRow<CipherRow>("4100", codes("4100"), "3E*3", codes("4100"));
        addRow<CipherRow>("42FF wraps", codes("42FF"), "3F*3", codes("4200"));
        addRow<CipherRow>("00 wraps", codes("00"), "FC", codes("FF"));
        addRow<CipherRow>("FFA0", codes("FFA0"), "FCA3", codes("FFA0"));
        addRow<CipherRow>("A*", std::nullopt, "A*", codes("0D"));
        addRow<CipherRow>("0A", std::nullopt, "0A", codes("0D"));
        addRow<CipherRow>("fc*a", std::nullopt, "fc*a", codes("FF07"));
        addRow<CipherRow>("3E4", std::nullopt, "3E4", codes("4101"));
        addRow<CipherRow>("3E**", std::nullopt, "3E**", std::nullopt);
        addRow<CipherRow>("3G", std::nullopt, "3G", std::nullopt);
        addRow<CipherRow>("3E 4", std::nullopt, "3E 4", std::nullopt);
    }
    void cipher_knownValues()
    {
        QFETCH(CipherRow, row);
        const QString written = row.plain ? encipherText(*row.plain).value() : *row.cipher;
        QCOMPARE(written, row.cipher.value_or(written));
        QString error;
        QCOMPARE(decipherText(written, &error), row.back);
        QCOMPARE(error.isEmpty(), row.back.has_value());
    }

    // The longest texts a game file's cipher takes, as stored files rely on them.
    void cipher_lengthLimits()
    {
        QVERIFY(encipherText(QString(32766, u'a')));
        QVERIFY(!encipherText(QString(32767, u'a')));
        QVERIFY(decipherText(QString(32765, u'4')));
        QVERIFY(!decipherText(QString(32766, u'4')));
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

    // A game whose data line would be longer than the reader takes is not written at all, so
    // that no file is saved that can never be opened.
    void writeGame_lineTooLongToRead_writesNothing()
    {
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

    // A device that fails part way says why, whether written or read.
    void readAndWriteGame_deviceFails_saysWhy()
    {
        FailingDevice full(700), gone(200, dataFile(kRidgeLine)); // both in the data line
        full.open(QIODevice::WriteOnly);
        gone.open(QIODevice::ReadOnly);
        GameRecord record;
        FileErrorInfo written, read;
        QVERIFY(!writeGame(full, basicGame(), QDateTime::currentDateTime(), written));
        QVERIFY(!tfp::readGame(gone, record, read));
        QCOMPARE(written.Description + " " + read.Description,
                 QStringLiteral("The disk is full. The disk has gone away."));
    }

    // The data lines and line ends the reader takes, and what it reads from them.
    void readGame_accepted_data()
    {
        addRowColumn<AcceptedRow>();
        addRow<AcceptedRow>("element first, unknown one",
                            dataFile("<GameName>Ridge</GameName><X>1</X>" + kNumbers),
                            dataRead("Ridge"));
        addRow<AcceptedRow>("empty element", dataFile("<GameName></GameName>" + kNumbers),
                            dataRead(""));
        addRow<AcceptedRow>("no closing tag: absent", dataFile(kNumbers + "<GameName>Ridge"),
                            dataRead(""));
        // A mode or type is a byte; every ending turn the draw can give, a 16-bit number
        // (read rounded, halves to the even neighbour).
        addRow<AcceptedRow>("mode 255", dataFile(numbers("20", "3", "0", "255")), dataRead(""));
        addRow<AcceptedRow>("scenario of 32767 turns", dataFile(numbers("32767", "3", "0", "0")),
                            dataRead(""));
        addRow<AcceptedRow>("32766.5 turns", dataFile(numbers("32766.5", "3", "0", "0")),
                            dataRead(""));
        addRow<AcceptedRow>("quick battle up to 32767", dataFile(numbers("32766", "1", "1", "0")),
                            dataRead(""));
        addRow<AcceptedRow>("quick battle down to -32768",
                            dataFile(numbers("-32767", "1", "1", "0")), dataRead(""));
        addRow<AcceptedRow>("negative modifier at -32768",
                            dataFile(numbers("-32768", "-1", "0", "0")), dataRead(""));
        addRow<AcceptedRow>("exponent", dataFile(numbers("-3.27685e4", "-1", "0", "0")),
                            dataRead(""));
        addRow<AcceptedRow>("banner lines alone", gameFileBytes({kRule, "---x"}), kUntouched);
        addRow<AcceptedRow>("LF alone: one banner line", gameFileBytes({kRule, kRidgeLine}, "\n"),
                            kUntouched);
        addRow<AcceptedRow>("CR alone", gameFileBytes({kRule, kRidgeLine}, "\r"),
                            dataRead("Ridge"));
        addRow<AcceptedRow>("no break after the data", dataFile(kRidgeLine).chopped(2),
                            dataRead("Ridge"));
        addRow<AcceptedRow>(
            "the last data line decides",
            gameFileBytes({kRidgeLine, kRule, QString(kRidgeLine).replace("Ridge", "Other")}),
            dataRead("Other"));
        addRow<AcceptedRow>("empty file", QByteArray(), kUntouched);
    }
    void readGame_accepted()
    {
        QFETCH(AcceptedRow, row);
        QBuffer buffer(&row.bytes);
        buffer.open(QIODevice::ReadOnly);
        GameRecord record;
        record.GameName = kUntouched.gameName;
        record.Player1LastTurn = kUntouched.player1LastTurn;
        FileErrorInfo error;
        QVERIFY2(tfp::readGame(buffer, record, error), qPrintable(error.Description));
        QCOMPARE((Read{record.GameName, record.EndingTurn, record.Player1LastTurn}), row.read);
    }

    // What the reader refuses, by how its reason begins.
    void readGame_refused_data()
    {
        addRowColumn<RefusedRow>();
        const QString incomplete = "The game data is incomplete: the value '",
                      damaged = "The game data is damaged: ";
        addRow<RefusedRow>("closing tag first", dataFile("</GameName><GameName>" + kNumbers),
                           damaged + "the element 'GameName' is malformed.");
        addRow<RefusedRow>("turn marker x",
                           dataFile(kNumbers + "<Player1LastTurn>x</Player1LastTurn>"),
                           damaged + "the value 'Player1LastTurn' is not a number in range.");
        for (const char* element :
             {"TotalTurns", "TurnVariance", "CurrentTurn", "EndingTurn", "SecurityMode", "GameType",
              "CurrentPlayer", "DestinationPlayer"}) {
            const QRegularExpression value(QStringLiteral("<%1>[^<]*</%1>").arg(element));
            QTest::addRow("%s missing", element)
                << RefusedRow{dataFile(QString(kNumbers).remove(value)), incomplete + element};
            QTest::addRow("%s not a number", element)
                << RefusedRow{dataFile(QString(kNumbers).replace(
                                  value, QStringLiteral("<%1>x1</%1>").arg(element))),
                              damaged + "the value '" + element};
        }
        const QString beyond = damaged + "%1 turns with a modifier of %2 give ending turns beyond";
        addRow<RefusedRow>("mode 256", dataFile(numbers("20", "3", "0", "256")),
                           damaged + "the value 'SecurityMode'");
        addRow<RefusedRow>("mode -1", dataFile(numbers("20", "3", "0", "-1")),
                           damaged + "the value 'SecurityMode'");
        addRow<RefusedRow>("32767.5 turns", dataFile(numbers("32767.5", "0", "0", "0")),
                           damaged + "the value 'TotalTurns'");
        addRow<RefusedRow>("quick battle beyond 32767", dataFile(numbers("32767", "1", "1", "0")),
                           beyond.arg(32767).arg(1));
        addRow<RefusedRow>("quick battle below -32768", dataFile(numbers("-32768", "1", "1", "0")),
                           beyond.arg(-32768).arg(1));
        addRow<RefusedRow>("negative modifier beyond 32767",
                           dataFile(numbers("32767", "-1", "0", "0")), beyond.arg(32767).arg(-1));
        addRow<RefusedRow>("scenario below -32768", dataFile(numbers("-32768", "1", "0", "0")),
                           beyond.arg(-32768).arg(1));
        addRow<RefusedRow>("a blank line", gameFileBytes({kRidgeLine, ""}),
                           incomplete + "TotalTurns' is missing.");
        addRow<RefusedRow>("the longest line", QByteArray(32765, '4') + "\r\n", incomplete);
        addRow<RefusedRow>("a line too long", QByteArray(32766, '4'),
                           "A line of the game file is longer than the 32765 characters");
    }
    void readGame_refused()
    {
        QFETCH(RefusedRow, row);
        QBuffer buffer(&row.bytes);
        buffer.open(QIODevice::ReadOnly);
        GameRecord record;
        FileErrorInfo error;
        QVERIFY(!tfp::readGame(buffer, record, error));
        QVERIFY2(error.Description.startsWith(row.reason), qPrintable(error.Description));
    }

    // The written form; the locale's short date with or without its time, before the US form
    // of older files; two-digit years are of this century.
    void readSavedDateTime_forms_data()
    {
        addRowColumn<DateRow>();
        const auto at = [](int y, int m, int d, int h = 0, int min = 0, int s = 0) {
            return QDateTime(QDate(y, m, d), QTime(h, min, s));
        };
        addRow<DateRow>("written form", "de_DE", "2026-12-05 12:05:12", at(2026, 12, 5, 12, 5, 12));
        addRow<DateRow>("US", "en_US", "12/5/2026 12:05:12 PM", at(2026, 12, 5, 12, 5, 12));
        addRow<DateRow>("US in Germany", "de_DE", "1/2/2027 9:03:04 AM", at(2027, 1, 2, 9, 3, 4));
        addRow<DateRow>("US date alone", "en_US", "12/5/2026", at(2026, 12, 5));
        addRow<DateRow>("German", "de_DE", "05.12.2026 12:05:12", at(2026, 12, 5, 12, 5, 12));
        addRow<DateRow>("British", "en_GB", "05/12/2026 12:05:12", at(2026, 12, 5, 12, 5, 12));
        addRow<DateRow>("two-digit year", "de_DE", "05.12.26 12:05:12", at(2026, 12, 5, 12, 5, 12));
        addRow<DateRow>("two-digit year, date alone", "de_DE", "05.12.26", at(2026, 12, 5));
        addRow<DateRow>("99 is 2099", "de_DE", "05.12.99", at(2099, 12, 5));
        addRow<DateRow>("four-digit 1999", "de_DE", "05.12.1999", at(1999, 12, 5));
        addRow<DateRow>("a word", "en_US", "yesterday", QDateTime());
        addRow<DateRow>("blanks", "en_US", "  ", QDateTime());
    }
    void readSavedDateTime_forms()
    {
        QFETCH(DateRow, row);
        QCOMPARE(readSavedDateTime(row.text, QLocale(QLatin1String(row.locale))), row.moment);
    }

    // On success the record is the file's game alone, with the file's digest; on a refusal it
    // stays exactly as it was, and the error says why (its file error code, how it begins).
    void getData_outcomes_data()
    {
        addRowColumn<GetDataRow>();
        addRow<GetDataRow>("capitals", "game.TFP", AtPath::SampleGame, std::nullopt, 0);
        addRow<GetDataRow>("another after it", "game.tfp.txt", AtPath::SampleGame,
                           "Cannot open a file that does not have the .tfp", 0);
        addRow<GetDataRow>("damaged", "bad.tfp", AtPath::Damaged,
                           "The game data is damaged: character pair 1", 0);
        addRow<GetDataRow>("missing", "absent.tfp", AtPath::Nothing, "",
                           int(QFileDevice::OpenError));
        addRow<GetDataRow>("a folder", "folder.tfp", AtPath::Folder,
                           "It is not a file but a folder.", 0);
    }
    void getData_outcomes()
    {
        QFETCH(GetDataRow, row);
        QTemporaryDir dir;
        const QString file = dir.filePath(row.name);
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
        QTemporaryDir dir;
        Recorder recorder;
        GameRecord game = prepareNewGame(sampleEntries(), recorder);
        game.FilePath = dir.filePath(QString(244, u'g') + ".tfp");
        QVERIFY(saveNewGame(game, recorder) && checkTurnCommand(game, recorder).saved);
        game.FilePath = dir.filePath(QString(245, u'g') + ".tfp");
        QVERIFY(!saveNewGame(game, recorder) && !QFileInfo::exists(game.FilePath));
        QCOMPARE(recorder.messages.size(), 1);
        QVERIFY2(recorder.messages[0].text.contains("' is too long"),
                 qPrintable(recorder.messages[0].text));
    }

    // Every turn of the window, each end about half as likely as an inner turn; an unknown
    // game type draws 0.
    void drawEndingTurn_range_data()
    {
        addRowColumn<DrawRow>();
        addRow<DrawRow>("scenario", 20, 3, GameType::Scenario, 17, 20);
        addRow<DrawRow>("quick battle", 20, 3, GameType::QuickBattle, 17, 23);
        addRow<DrawRow>("quick battle, modifier 0", 20, 0, GameType::QuickBattle, 20, 20);
        addRow<DrawRow>("two turns", 2, 1, GameType::Scenario, 1, 2);
        addRow<DrawRow>("modifier beyond the turns", 5, 8, GameType::Scenario, -3, 5);
        addRow<DrawRow>("unknown type", 20, 3, GameType(2), 0, 0);
    }
    void drawEndingTurn_range()
    {
        QFETCH(DrawRow, row);
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
        const SetupEntries entries = sampleEntries("99", "98");
        int repeats = 0;
        qint16 previous = prepareNewGame(entries, recorder).EndingTurn;
        for (int i = 0; i < 500; ++i) {
            const qint16 ending = prepareNewGame(entries, recorder).EndingTurn;
            repeats += ending == previous ? 1 : 0;
            previous = ending;
        }
        QVERIFY2(repeats < 50, qPrintable(QString::number(repeats))); // about 5 expected
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

    // Characters a file name cannot hold become "-"; no name gives "Game" and the date.
    void suggestedFileName_fromTheGameName()
    {
        QCOMPARE(suggestedFileName("a/b\\c:d*e?f|g<h>i"), QStringLiteral("a-b-c-d-e-f-g-h-i"));
        QCOMPARE(suggestedFileName("", {2026, 12, 7}), QStringLiteral("Game 12-07-2026"));
    }

    void splitPath_fileAtTheRoot_keepsTheRoot()
    {
        QString folder;
        QVERIFY(tfp::splitPath(" /ridge.tfp ", folder));
        QCOMPARE(folder, QDir::toNativeSeparators("/"));
    }

    // The validation's box first, one line per problem, then characters, lengths and numbers.
    void setupRefusal_data()
    {
        const auto entries = [](QString game, QString player1, QString player2, QString turns,
                                QString modifier) {
            return SetupEntries{game, player1, player2, turns, modifier};
        };
        const auto box = [](std::initializer_list<const char*> lines) {
            QString text = QStringLiteral("Errors encountered:\r\n");
            for (const char* line : lines)
                text += "  \u2022 Please enter " + QLatin1String(line) + "\r\n";
            return text + "\r\n\r\nPlease check your entries and try again.";
        };
        const char *game = "a name for the game", *player1 = "a name for 'Player #1'",
                   *player2 = "a name for 'Player #2'",
                   *turns = "the number of turns for your game",
                   *modifier = "the modifier for the game";
        const QString below = QStringLiteral("The modifier must be a whole number from 0 to 19 "
                                             "(one less than the number of turns).");
        addRowColumn<SetupRow>();
        addRow<SetupRow>("all empty", entries("", "", "", "", ""),
                         box({game, player1, player2, turns, modifier}));
        addRow<SetupRow>("turns 0, modifier empty", entries("x", "x", "x", "0", ""),
                         box({turns, modifier}));
        addRow<SetupRow>("pasted letters", entries("x", "x", "x", "1a", "x"),
                         box({"a number for 'Game Turns'", "a number for 'Modifier'"}));
        addRow<SetupRow>("validation first", entries("", "A", "B", "20", "-1"), box({game}));
        addRow<SetupRow>(
            "longest",
            entries(QString(100, u'g'), QString(50, u'p'), QString(50, u'q'), "99", "98"), "");
        addRow<SetupRow>("game name too long", entries(QString(101, u'g'), "A", "B", "20", "3"),
                         "The game name can have at most 100 characters.");
        addRow<SetupRow>("player #2's name too long",
                         entries("R", "A", QString(51, u'q'), "20", "3"),
                         "A player name can have at most 50 characters.");
        addRow<SetupRow>("tag in a name", entries("R", "Anna>", "B", "20", "3"),
                         "Names cannot contain the characters < and >.");
        addRow<SetupRow>("turns 00", entries("R", "A", "B", "00", "0"),
                         "The number of turns must be a whole number from 1 to 99.");
        addRow<SetupRow>("turns 1", entries("R", "A", "B", "1", "0"), "");
        addRow<SetupRow>("negative modifier", entries("R", "A", "B", "20", "-1"), below);
        addRow<SetupRow>("modifier equal to turns", entries("R", "A", "B", "20", "20"), below);
        addRow<SetupRow>("emoji as one character", entries("R \U0001F600", "A", "B", "20", "3"),
                         "The game name holds the character '\U0001F600' (U+1F600), which a game "
                         "file cannot keep. Please use another.");
    }
    void setupRefusal()
    {
        QFETCH(SetupRow, row);
        QCOMPARE(tfp::setupRefusal(row.entries).value_or(Message{}).text, row.refusal);
    }

    void passwordRefusal_data()
    {
        const QString length =
            QStringLiteral("Please enter a password between 1 and 20 characters.");
        const QString unkept = QStringLiteral("A password cannot contain the character %1, which "
                                              "a game file cannot keep.");
        addRowColumn<PasswordRow>();
        addRow<PasswordRow>("plain, 20 characters", "Secret1" + QString(13, u'p'), "");
        addRow<PasswordRow>("empty", "", length);
        addRow<PasswordRow>("21 characters", QString(21, u'p'), length);
        addRow<PasswordRow>("tag", "a>b", "A password cannot contain the characters < and >.");
        addRow<PasswordRow>("Cyrillic", "\u043f\u0430", unkept.arg("'\u043f' (U+043F)"));
        addRow<PasswordRow>("y with diaeresis", "s\u00ffx", unkept.arg("'\u00ff' (U+00FF)"));
        addRow<PasswordRow>("twenty emoji: the emoji, not the length",
                            QString("\U0001F600").repeated(20),
                            unkept.arg("'\U0001F600' (U+1F600)"));
    }
    void passwordRefusal()
    {
        QFETCH(PasswordRow, row);
        QCOMPARE(tfp::passwordRefusal(row.text), row.refusal);
    }

    // What one press of Check Turn at turn 16 shows, sounds and says (a Secure game is Ben's).
    // A check that could not be saved (its folder gone) or found the file changed by another
    // copy does not count: the record and the file stay as they were.
    void checkTurnCommand_outcomes_data()
    {
        GameRecord quick = basicGame(16, 19), secure = secureGame(16, 19, 2), full = secure;
        quick.GameType = GameType::QuickBattle;
        full.GameName += QString(kMaxCipherLength / 2 - plainDataLine(full).size(), u'g');
        addRowColumn<CheckRow>();
        addRow<CheckRow>("quick, goes on", quick, FileState::Saved,
                         GameView{{"Turn #17", "This is NOT the ending turn.", StatusColour::Green},
                                  {"Check Turn 18", true, Light::Green}},
                         SoundCue::NextTurn, "");
        addRow<CheckRow>("secure, save fails", full, FileState::Unwritable,
                         GameView{{"Turn Not Checked",
                                   "The game file could not be saved, so turn 17 was not checked.",
                                   StatusColour::Yellow},
                                  {"Check Turn 17", true, std::nullopt}},
                         SoundCue::None, "Could not save the file 'FILE'.");
        addRow<CheckRow>("secure, changed elsewhere", secure, FileState::Changed,
                         opened("Ben, press 'Check Turn' starting on turn 17", 17, true),
                         SoundCue::None,
                         "The game file 'FILE' was changed by another copy of the program after "
                         "this one read it, so nothing was saved.");
        addRow<CheckRow>("secure, file gone", secure, FileState::Gone,
                         opened("Ben, press 'Check Turn' starting on turn 17", 17, true),
                         SoundCue::None,
                         "The game file 'FILE' is no longer there: it was deleted or moved away "
                         "after this copy of the program read it, so nothing was saved.");
    }
    void checkTurnCommand_outcomes()
    {
        QFETCH(CheckRow, row);
        GameRecord& r = row.game;
        QVERIFY(saveGame(r, path(QStringLiteral("check.tfp"))));
        QVERIFY(row.file != FileState::Gone || QFile::remove(r.FilePath));
        QVERIFY(row.file != FileState::Changed || writeFile(r.FilePath, "theirs"));
        const GameRecord before = r;
        const QByteArray bytes = fileBytes(r.FilePath);
        Recorder recorder;
        const CheckOutcome o = checkTurnCommand(r, recorder);
        QCOMPARE(o.view, row.view);
        QCOMPARE(o.sound, row.sound);
        QStringList said; // the first line of each message shown
        for (const Message& message : recorder.messages)
            said << message.text.section("\r\n", 0, 0).replace(r.FilePath, "FILE");
        QCOMPARE(said, row.said.isEmpty() ? QStringList() : QStringList{row.said});
        QCOMPARE(o.saved, row.file == FileState::Saved);
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

    // What an opened game shows, and whether its holder may check. Anna, opening the file Ben
    // sent her, may check when her last check is of an earlier turn than the one reached.
    void openGameFile_opened_data()
    {
        const auto sent = [](qint16 current, qint16 marker) {
            GameRecord r = secureGame(current, 20, 2);
            r.Player1LastTurn = marker;
            return r;
        };
        GameRecord older = basicGame();
        older.Version = "1.5.22";
        const QString may = QStringLiteral("Anna, press 'Check Turn' starting on turn %1");
        addRowColumn<OpenedRow>();
        addRow<OpenedRow>("basic", basicGame(), "",
                          opened("Press 'Check Turn' starting on turn 17", 17, true));
        addRow<OpenedRow>("basic, an older version", older, "",
                          opened("Press 'Check Turn' starting on turn 17", 17, true));
        addRow<OpenedRow>("basic, over", basicGame(19, 19), "",
                          GameView{{"Turn #19", "The battle is already over!", StatusColour::Red},
                                   {"Battle Over", false, Light::Red}});
        addRow<OpenedRow>("never checked, turn 0, blanks around", sent(0, 0), " Alpha ",
                          opened(may.arg(1), 1, true));
        addRow<OpenedRow>("checked the turn before", sent(17, 16), "Alpha",
                          opened(may.arg(18), 18, true));
        addRow<OpenedRow>("checked the turn reached", sent(17, 17), "Alpha",
                          opened("Anna, player #2 needs to check turn 18", 18, false));
    }
    void openGameFile_opened()
    {
        QFETCH(OpenedRow, row);
        QVERIFY(saveGame(row.game, path(QStringLiteral("open.tfp"))));
        const QByteArray before = fileBytes(row.game.FilePath);
        Recorder recorder({row.password});
        const OpenOutcome o = openGameFile(row.game.FilePath, recorder);
        QCOMPARE(recorder.messages, QList<Message>());
        QCOMPARE(o.status, OpenStatus::Opened);
        QCOMPARE(o.view, row.view);
        QCOMPARE(o.checkAllowed, row.view.button.enabled);
        QCOMPARE(fileBytes(row.game.FilePath), before);
    }

    // Files that are not opened, by a part of the one message shown; the file stays as it was.
    void openGameFile_refused_data()
    {
        GameRecord noHolder = secureGame(17, 20, 2), undrawn = secureGame(16, -1, 1);
        noHolder.CurrentPlayer = noHolder.DestinationPlayer = kNoPlayer;
        undrawn.Player2Pwd.clear();
        const auto version = [](const QString& version) {
            GameRecord r = basicGame();
            r.Version = version;
            return r;
        };
        const QString refusal = "version of the Torva Fogline Turnpicker application and cannot be "
                                "opened.\r\n   Application Version: \t1.6.0\r\n   File "
                                "Version:        \t\t%1\r\n";
        addRowColumn<NotOpenedRow>();
        addRow<NotOpenedRow>("version 1.5.21", version("1.5.21"), "", OpenStatus::VersionRefused,
                             refusal.arg("1.5.21"));
        addRow<NotOpenedRow>("no version", version(""), "", OpenStatus::VersionRefused,
                             refusal.arg("(Missing Version Information)"));
        addRow<NotOpenedRow>("nobody holds it", noHolder, "Bravo", OpenStatus::PasswordRefused,
                             "The password entered does not match the current user's password.");
        addRow<NotOpenedRow>(
            "no password chosen", undrawn, "", OpenStatus::PasswordRefused,
            "No password was chosen, so the game was not opened. The file is unchanged.");
    }
    void openGameFile_refused()
    {
        QFETCH(NotOpenedRow, row);
        QVERIFY(saveGame(row.game, path(QStringLiteral("open.tfp"))));
        const QByteArray before = fileBytes(row.game.FilePath);
        Recorder recorder({row.password});
        const OpenOutcome o = openGameFile(row.game.FilePath, recorder);
        QCOMPARE(o.status, row.status);
        QCOMPARE(recorder.messages.size(), 1);
        QVERIFY2(recorder.messages.first().text.contains(row.said),
                 qPrintable(recorder.messages.first().text));
        QCOMPARE(fileBytes(row.game.FilePath), before);
    }

    // Ben opens the file Anna sent him for the first time, but his password and the draw
    // cannot be saved: he is told so, and the game opens titled "Game File Not Saved" with
    // the file as it was; his first check saves them.
    void openGameFile_handOverNotSaved_saysSoAndOpens()
    {
        GameRecord game = secureGame(16, -1, 1);
        game.Player2Pwd.clear();
        // A data line of 16,372 characters, 32,744 enciphered: with Ben's password it would be
        // 16,401, beyond the 32,765 the reader takes.
        game.GameName = QString(1 + 16372 - plainDataLine(game).size(), u'g');
        QVERIFY(saveGame(game, path(QStringLiteral("long.tfp"))));
        const QByteArray before = fileBytes(game.FilePath);
        Recorder ben({"Bravo"});
        const OpenOutcome o = openGameFile(game.FilePath, ben);
        QCOMPARE(o.status, OpenStatus::Opened);
        QVERIFY(o.handOverSaveFailed);
        QCOMPARE(ben.messages.size(), 1);
        QVERIFY2(ben.messages.first().text.startsWith("Could not save the file '" + game.FilePath),
                 qPrintable(ben.messages.first().text));
        QCOMPARE(o.view,
                 (GameView{{"Game File Not Saved", "Ben, press 'Check Turn' starting on turn 17",
                            StatusColour::Yellow},
                           {"Check Turn 17", true, Light::Yellow}}));
        QCOMPARE(fileBytes(game.FilePath), before);
    }

    // Anna creates the game, Ben's first opening draws (20 here); the file then goes back and
    // forth, each player checking one turn and refused a second check in a row.
    void openGameFile_secureRound_betweenTwoPlayers()
    {
        const QStringList names = {"Anna", "Ben"}, passwords = {"Alpha", "Bravo"};
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
            const QString name = names[holder - 1];
            QCOMPARE(o.status, OpenStatus::Opened);
            QCOMPARE(
                o.view.status.message,
                QStringLiteral("%1, press 'Check Turn' starting on turn %2").arg(name).arg(turn));
            const CheckOutcome c = checkTurnCommand(o.record, ben);
            const bool last = turn == 20;
            const QString handOver =
                QStringLiteral("\r\n%1, send this file to player #%2.").arg(name).arg(other);
            QCOMPARE(
                c.view,
                (GameView{{QStringLiteral("Turn #%1").arg(turn),
                           (last ? "BATTLE OVER - CEASE FIRE!" : "This is NOT the ending turn.") +
                               handOver,
                           last ? StatusColour::Red : StatusColour::Green},
                          {"Send File", false, Light::Red}}));
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
        QCOMPARE(o.view.status.message, QStringLiteral("The battle is already over!"));
        QCOMPARE(loadGame(o.record.FilePath).CurrentTurn, 20);
    }
};

QTEST_GUILESS_MAIN(TestGame)
#include "tst_game.moc"
