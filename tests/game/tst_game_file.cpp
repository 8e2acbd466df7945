// The game file: the cipher, the file layout, the reader's rules and saving.
#include "game/cipher.h"
#include "game/codepage.h"
#include "game/gamefile.h"
#include "testsupport.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

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

QString codes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (const int v : values)
        bytes.append(static_cast<char>(v));
    return fromCodePage(bytes);
}

QByteArray sha256(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

struct CipherRow
{
    QString plain;  // null: only deciphered
    QString cipher; // what `plain` enciphers to
    QString back;   // what `cipher` deciphers to; null: refused
};
struct ReadRow
{
    QByteArray bytes;
    bool loads;
    QString text; // the game name read, or how the refusal begins
};
struct GetRow
{
    QString name;
    QByteArray content;
    QString refusal; // how it begins; null: the game is read
};

} // namespace

Q_DECLARE_METATYPE(CipherRow)
Q_DECLARE_METATYPE(ReadRow)
Q_DECLARE_METATYPE(GetRow)

class TestGameFile : public QObject
{
    Q_OBJECT

private slots:
    // --- the cipher -----------------------------------------------------------------------

    void cipherOffsetClass()
    {
        // Multiples of 3 first, then of 5, then of 7; every other position last.
        QList<int> classes;
        for (const int position : {3, 9, 15, 21, 5, 10, 35, 7, 14, 1, 2, 4, 11})
            classes << tfp::cipherOffsetClass(position);
        QCOMPARE(classes, (QList<int>{0, 0, 0, 0, 1, 1, 1, 2, 2, 3, 3, 3, 3}));
    }

    // Odd positions subtract the offset of their class (19, 7, 31, 3), even ones add it, a
    // value beyond a byte wraps by 255, a value below 16 is padded by "*".
    void cipher_knownValues_data()
    {
        const QString tenA(10, u'A');
        const QString cr = codes({13});
        addRowColumn<CipherRow>();
        addRow<CipherRow>("empty", "", "", "");
        addRow<CipherRow>("classes 3 3 0 3 1 0 2 3 0 1", tenA, "3E442E443A5422442E48", tenA);
        addRow<CipherRow>("below 16", cr, "*A", cr);
        addRow<CipherRow>("wraps below", codes({1}), "FD", codes({1}));
        addRow<CipherRow>("wraps above", codes({65, 254}), "3E*2", codes({65, 254}));
        addRow<CipherRow>("0, even", codes({65, 0}), "3E*3", codes({65, 0}));
        addRow<CipherRow>("255, even: back as 0", codes({65, 255}), "3E*3", codes({65, 0}));
        addRow<CipherRow>("0, odd: back as 255", codes({0}), "FC", codes({255}));
        addRow<CipherRow>("255, odd", codes({255}), "FC", codes({255}));
        addRow<CipherRow>("outside Windows-1252", "A\u0100\u20ac", "3E426D", "A?\u20ac");
        addRow<CipherRow>("mark after", QString(), "A*", cr);
        addRow<CipherRow>("leading zero", QString(), "0A", cr);
        addRow<CipherRow>("lower case", QString(), "3e44", "AA");
        addRow<CipherRow>("odd length", QString(), "3E4", codes({65, 1}));
        for (const char* bad : {"3E**", "3G", "3E 4", "-1"})
            addRow<CipherRow>(bad, QString(), bad, QString());
    }
    void cipher_knownValues()
    {
        QFETCH(CipherRow, row);
        if (!row.plain.isNull())
            QCOMPARE(encipherText(row.plain).value(), row.cipher);
        QString error;
        QCOMPARE(decipherText(row.cipher, &error).value_or(QString()), row.back);
        QCOMPARE(error.isEmpty(), !row.back.isNull());
    }

    void cipher_roundTrip_everyCodeAtEveryClass()
    {
        // Codes 1 to 254 survive at every position; 210 positions cover every class and
        // both parities many times over.
        QByteArray bytes;
        for (int i = 0; i < 210 + 254; ++i)
            bytes.append(static_cast<char>(i < 210 ? 1 + (i * 37) % 254 : i - 209));
        const QString plain = fromCodePage(bytes);
        const QString cipher = encipherText(plain).value();
        QCOMPARE(cipher.size(), 2 * plain.size());
        QVERIFY(QRegularExpression(QStringLiteral("^[0-9A-F*]*$")).match(cipher).hasMatch());
        QCOMPARE(decipherText(cipher).value(), plain);
    }

    void cipher_lengthLimits()
    {
        QString error;
        QVERIFY(encipherText(QString(kMaxPlainLength, u'a'), &error));
        QVERIFY(!encipherText(QString(kMaxPlainLength + 1, u'a'), &error));
        QVERIFY(!error.isEmpty());
        error.clear();
        QVERIFY(decipherText(QString(kMaxCipherLength, u'4'), &error));
        QVERIFY(!decipherText(QString(kMaxCipherLength + 1, u'4'), &error));
        QVERIFY(!error.isEmpty());
        // A game whose line the reader would refuse is not written at all.
        GameRecord huge = basicGame();
        huge.GameName = QString(kMaxCipherLength / 2, u'x');
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        FileErrorInfo fileError;
        QVERIFY(!writeGame(buffer, huge, QDateTime::currentDateTime(), fileError));
        QVERIFY(fileError.Description.contains(QLatin1String("too much text")));
    }

    // --- writing and reading --------------------------------------------------------------

    void writeGame_layout()
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        FileErrorInfo error;
        QVERIFY(
            writeGame(buffer, basicGame(), QDateTime(QDate(2026, 12, 6), QTime(9, 4, 3)), error));
        // Every line ends in CR LF; the creation line shows the time of the save, not the
        // record's saved time.
        QCOMPARE(
            buffer.data(),
            gameFileBytes({kRule, "---           ** Torva Fogline Turnpicker File **           ---",
                           "---             Do not modify data in this file             ---", kRule,
                           "--- Created on 2026-12-06 09:04:03" + QString(26, u' ') + "---", kRule,
                           kRidgeLine}));
    }

    void device_failsPartWay_reportsIt()
    {
        const QByteArray file = gameFileBytes({kRule, kRule, kRidgeLine});
        for (const qint64 limit : {0, 100, 700}) { // nothing, the banner, the data line
            FailingDevice device(limit);
            device.open(QIODevice::WriteOnly);
            FileErrorInfo error;
            QVERIFY(!writeGame(device, basicGame(), QDateTime::currentDateTime(), error));
            QCOMPARE(error.Description, QStringLiteral("The disk is full."));
        }
        for (const qint64 limit : {70, 500}) {
            FailingDevice device(limit, file);
            device.open(QIODevice::ReadOnly);
            GameRecord record;
            FileErrorInfo error;
            QVERIFY(!tfp::readGame(device, record, error));
            QCOMPARE(error.Description, QStringLiteral("The disk has gone away."));
        }
    }

    void saveData_getData_roundTrip()
    {
        GameRecord game = secureGame(-32768, -1, 2);
        game.GameName = QStringLiteral("Caf\u00e9 \u20ac & \"quotes\" 'and' \u00ff\u00e0");
        game.GameType = GameType::QuickBattle;
        game.Player2Pwd = QStringLiteral("bravo 2");
        game.Player1LastTurn = 23;
        game.Player2LastTurn = -24;
        game.TotalTurns = 32762; // the ending turn may be as late as 32767
        game.TurnVariance = 5;
        QTemporaryDir dir;
        QVERIFY(saveGame(game, dir.filePath(QStringLiteral("round.tfp"))));
        QVERIFY(
            plainDataLine(game).contains("<SecurityMode>1</SecurityMode><GameType>1</GameType>"));
        const GameRecord back = loadGame(game.FilePath);
        game.LastSavedBy = QStringLiteral("2");
        QCOMPARE(back, game); // the digest too: of what was written, and of what was read
        QCOMPARE(back.FileDigest, sha256(fileBytes(game.FilePath)));
        // Nothing but the game file is left in the folder.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("round.tfp")});
    }

    // The reader's rules for the elements of the data line and for the lines of the file.
    void readGame_lines_data()
    {
        const auto numbers = [](int turns, int modifier, int type, int mode) {
            return QStringLiteral("<TotalTurns>%1</TotalTurns><TurnVariance>%2</TurnVariance>"
                                  "<CurrentTurn>16</CurrentTurn><EndingTurn>19</EndingTurn>"
                                  "<SecurityMode>%4</SecurityMode><GameType>%3</GameType>"
                                  "<CurrentPlayer>-1</CurrentPlayer>"
                                  "<DestinationPlayer>-1</DestinationPlayer>")
                .arg(turns)
                .arg(modifier)
                .arg(type)
                .arg(mode);
        };
        const auto file = [](const QString& line) {
            return gameFileBytes({kRule, line});
        };
        const QString rest = numbers(20, 3, 0, 0);
        const QString other = QString(kRidgeLine).replace(">Ridge<", ">Other<");
        const QString incomplete = QStringLiteral("The game data is incomplete");
        const QString damaged = QStringLiteral("The game data is damaged");
        addRowColumn<ReadRow>();
        addRow<ReadRow>("the writer's line", file(kRidgeLine), true, "Ridge");
        addRow<ReadRow>("without the game markers", file("<GameName>Ridge</GameName>" + rest), true,
                        "Ridge");
        addRow<ReadRow>("any order, unknown elements ignored",
                        file("<Extra>1</Extra>" + rest + "<GameName>Ridge</GameName>"), true,
                        "Ridge");
        addRow<ReadRow>("tag names are case-sensitive", file("<gamename>Ridge</gamename>" + rest),
                        true, "");
        addRow<ReadRow>("closing tag before opening tag", file("</GameName><GameName>Ridge" + rest),
                        false, damaged);
        addRow<ReadRow>("turn marker not a number",
                        file(rest + "<Player1LastTurn>x</Player1LastTurn>"), false, damaged);
        for (const char* element :
             {"TotalTurns", "TurnVariance", "CurrentTurn", "EndingTurn", "SecurityMode", "GameType",
              "CurrentPlayer", "DestinationPlayer"}) {
            const QRegularExpression value(QStringLiteral("<%1>[^<]*</%1>").arg(element));
            QTest::addRow("%s missing", element)
                << ReadRow{file(QString(rest).remove(value)), false, incomplete};
            QTest::addRow("%s not a number", element) << ReadRow{
                file(QString(rest).replace(value, QStringLiteral("<%1>x1</%1>").arg(element))),
                false, damaged};
        }
        addRow<ReadRow>("mode 255", file(numbers(20, 3, 0, 255)), true, "");
        addRow<ReadRow>("mode 256", file(numbers(20, 3, 0, 256)), false, damaged);
        addRow<ReadRow>("mode -1", file(numbers(20, 3, 0, -1)), false, damaged);
        addRow<ReadRow>("turns 32768", file(numbers(32768, 0, 0, 0)), false, damaged);
        // Every ending turn the draw can give must be a 16-bit turn number.
        for (const auto& [turns, modifier, type, fits] : {std::tuple{32767, 3, 0, true},
                                                          {32766, 1, 1, true},
                                                          {32767, 1, 1, false},
                                                          {-32767, 1, 1, true},
                                                          {-32768, 1, 1, false},
                                                          {32767, -1, 0, false},
                                                          {-32768, 1, 0, false},
                                                          {-32768, -1, 0, true}})
            QTest::addRow("turns %d, modifier %d, type %d", turns, modifier, type)
                << ReadRow{file(numbers(turns, modifier, type, 0)), fits, fits ? "" : damaged};
        addRow<ReadRow>("only banner lines", gameFileBytes({kRule, "--- anything"}), true,
                        "Untouched");
        addRow<ReadRow>("changed banner", gameFileBytes({"---x", kRidgeLine}), true, "Ridge");
        addRow<ReadRow>("lines ended by LF alone are one banner line",
                        gameFileBytes({kRule, kRidgeLine}, "\n"), true, "Untouched");
        addRow<ReadRow>("lines ended by CR alone", gameFileBytes({kRule, kRidgeLine}, "\r"), true,
                        "Ridge");
        addRow<ReadRow>("no line break after the data",
                        gameFileBytes({kRule}) + encipherText(kRidgeLine)->toLatin1(), true,
                        "Ridge");
        addRow<ReadRow>("the last data line decides", gameFileBytes({kRidgeLine, kRule, other}),
                        true, "Other");
        addRow<ReadRow>("empty file", QByteArray(), true, "Untouched");
        addRow<ReadRow>("a blank line", gameFileBytes({kRidgeLine, ""}), false, incomplete);
        addRow<ReadRow>("cut short", gameFileBytes({kRule, kRidgeLine}).chopped(40), false,
                        "The game data is");
        addRow<ReadRow>("the longest line is read", QByteArray(kMaxCipherLength, '4') + "\r\n",
                        false, incomplete);
        addRow<ReadRow>("a line longer than the cipher holds",
                        QByteArray(kMaxCipherLength + 1, '4'), false,
                        "A line of the game file is longer");
    }
    void readGame_lines()
    {
        QFETCH(ReadRow, row);
        QBuffer buffer(&row.bytes);
        buffer.open(QIODevice::ReadOnly);
        GameRecord record;
        record.GameName = QStringLiteral("Untouched");
        record.Player1LastTurn = 5;
        FileErrorInfo error;
        QCOMPARE(tfp::readGame(buffer, record, error), row.loads);
        QCOMPARE(row.loads ? record.GameName : error.Description.left(row.text.size()), row.text);
        QCOMPARE(error.Description.isEmpty(), row.loads);
        // A turn marker that is absent reads 0.
        if (row.loads && row.text != QLatin1String("Untouched"))
            QCOMPARE(QList<int>({record.EndingTurn, record.Player1LastTurn}), QList<int>({19, 0}));
    }

    // The reader takes no more than one line's worth from a source that never ends.
    void readGame_endlessSource_stopsAfterOneLine()
    {
        EndlessDevice device("4");
        GameRecord record;
        FileErrorInfo error;
        QVERIFY(!tfp::readGame(device, record, error));
        QVERIFY(error.Description.startsWith("A line of the game file is longer"));
        QVERIFY2(device.delivered <= kMaxCipherLength + 4096,
                 qPrintable(QString::number(device.delivered)));
    }

    void readSavedDateTime_forms_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("expected");
        const QLocale us(QStringLiteral("en_US"));
        const QLocale de(QStringLiteral("de_DE"));
        const QDateTime moment(QDate(2026, 12, 5), QTime(12, 5, 12));
        const QDateTime midnight(QDate(2026, 12, 5), QTime(0, 0));
        const QLocale system = QLocale::system();
        const QDateTime evening(QDate(2026, 12, 5), QTime(17, 5));
        QTest::newRow("the written form") << de << "2026-12-05 12:05:12" << moment;
        QTest::newRow("US form") << us << "12/5/2026 12:05:12 PM" << moment;
        QTest::newRow("US form, morning")
            << us << "1/2/2027 9:03:04 AM" << QDateTime(QDate(2027, 1, 2), QTime(9, 3, 4));
        QTest::newRow("US form on a German machine") << de << "12/5/2026 12:05:12 PM" << moment;
        QTest::newRow("US date alone at midnight") << us << "12/5/2026" << midnight;
        QTest::newRow("German date with seconds") << de << "05.12.2026 12:05:12" << moment;
        QTest::newRow("British date with seconds")
            << QLocale(QStringLiteral("en_GB")) << "05/12/2026 12:05:12" << moment;
        QTest::newRow("German two-digit year") << de << "05.12.26 12:05:12" << moment;
        QTest::newRow("German date alone, two-digit year") << de << "05.12.26" << midnight;
        QTest::newRow("year 99 of this century")
            << de << "05.12.99" << QDateTime(QDate(2099, 12, 5), QTime(0, 0));
        QTest::newRow("this machine's short form")
            << system << system.toString(evening, system.dateTimeFormat(QLocale::ShortFormat))
            << evening;
        QTest::newRow("not a date") << us << "yesterday" << QDateTime();
        QTest::newRow("empty") << us << "" << QDateTime();
    }
    void readSavedDateTime_forms()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        QCOMPARE(readSavedDateTime(text, locale), expected);
    }

    // --- files on disk --------------------------------------------------------------------

    // What getData makes of a path: on success the record is the file's game alone; on a
    // refusal it stays exactly as it was.
    void getData_outcomes_data()
    {
        const QByteArray game = gameFileBytes({kRule, kRidgeLine});
        const QString extension =
            QStringLiteral("Cannot open a file that does not have the .tfp extension.");
        addRowColumn<GetRow>();
        addRow<GetRow>("lower case", "game.tfp", game, QString());
        addRow<GetRow>("capitals", "game.TFP", game, QString());
        addRow<GetRow>("mixed", "game.Tfp", game, QString());
        addRow<GetRow>("another after it", "game.tfp.txt", game, extension);
        addRow<GetRow>("none", "game", game, extension);
        addRow<GetRow>("only the extension's letters", "gametfp", game, extension);
        addRow<GetRow>("damaged", "bad.tfp", QByteArray("zz\r\n"),
                       "The game data is damaged: character pair 1");
        addRow<GetRow>("missing file", "absent.tfp", QByteArray(), "");
        addRow<GetRow>("a folder", "folder.tfp", QByteArray(), "It is not a file but a folder.");
#ifdef Q_OS_UNIX
        addRow<GetRow>("a pipe", "pipe.tfp", QByteArray(),
                       "It is not a file but a device or a pipe.");
#endif
    }
    void getData_outcomes()
    {
        QFETCH(GetRow, row);
        QTemporaryDir dir;
        const QString path = dir.filePath(row.name);
        if (row.name == QLatin1String("folder.tfp"))
            QVERIFY(QDir().mkpath(path));
#ifdef Q_OS_UNIX
        else if (row.name == QLatin1String("pipe.tfp")) // opening it would wait for a writer
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
#endif
        else if (!row.content.isEmpty())
            QVERIFY(writeFile(path, row.content));
        GameRecord record = secureGame(12, 20, 1);
        record.FilePath = path;
        const GameRecord before = record;
        FileErrorInfo error;
        QCOMPARE(tfp::getData(record, error), row.refusal.isNull());
        QCOMPARE(error.Source, QStringLiteral("getData()"));
        QCOMPARE(error.Description.isEmpty(), row.refusal.isNull());
        QVERIFY2(error.Description.startsWith(row.refusal), qPrintable(error.Description));
        GameRecord expected = basicGame();
        expected.FilePath = path;
        expected.LastSavedBy = QStringLiteral("-1");
        expected.FileDigest = sha256(row.content);
        QCOMPARE(record, row.refusal.isNull() ? expected : before);
    }

    void saveData_fails_leavesWhatWasThere()
    {
        for (const QString target : {"missing/game.tfp", "folder.tfp"}) {
            QTemporaryDir dir;
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.tfp")));
            GameRecord record = basicGame();
            record.FilePath = dir.filePath(target);
            FileErrorInfo error;
            QVERIFY(!saveData(record, error));
            QVERIFY(!error.Description.isEmpty());
            QCOMPARE(error.Source, QStringLiteral("saveData()"));
            QVERIFY(QFileInfo(dir.filePath(QStringLiteral("folder.tfp"))).isDir());
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
        }
    }

    // Another copy of the program (or a synced folder) wrote the file after this copy read
    // it: nothing is written, whatever this copy holds.
    void saveDataIfUnchanged_fileChangedSinceRead_writesNothing()
    {
        QTemporaryDir dir;
        GameRecord mine = basicGame();
        QVERIFY(saveGame(mine, dir.filePath(QStringLiteral("game.tfp"))));
        mine.CurrentTurn = 17;
        FileErrorInfo error;
        QCOMPARE(saveDataIfUnchanged(mine, error), GuardedSave::Saved);
        GameRecord theirs = loadGame(mine.FilePath);
        QCOMPARE(theirs.FileDigest, mine.FileDigest);
        theirs.CurrentTurn = 18;
        QCOMPARE(saveDataIfUnchanged(theirs, error), GuardedSave::Saved);
        const QByteArray written = fileBytes(mine.FilePath);
        QCOMPARE(saveDataIfUnchanged(mine, error), GuardedSave::ChangedElsewhere);
        QCOMPARE(fileBytes(mine.FilePath), written);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("game.tfp")});
        // A file that has gone is written anew.
        QVERIFY(QFile::remove(mine.FilePath));
        QCOMPARE(saveDataIfUnchanged(mine, error), GuardedSave::Saved);
        QCOMPARE(loadGame(mine.FilePath).CurrentTurn, 17);
    }

#ifdef Q_OS_UNIX
    // A game shared through a group folder stays its owner's, with its group and mode, after
    // another user saved it.
    void saveData_replacedFile_keepsOwnerGroupAndMode()
    {
        QTemporaryDir dir;
        GameRecord record = basicGame();
        QVERIFY(saveGame(record, dir.filePath(QStringLiteral("shared.tfp"))));
        const QByteArray path = QFile::encodeName(record.FilePath);
        QVERIFY(::chmod(path.constData(), 0640) == 0);
        const bool root = ::geteuid() == 0;
        QVERIFY(!root || ::chown(path.constData(), 65534, 65534) == 0);
        struct stat before
        {};
        QVERIFY(::stat(path.constData(), &before) == 0);
        FileErrorInfo error;
        QVERIFY(saveData(record, error));
        struct stat after
        {};
        QVERIFY(::stat(path.constData(), &after) == 0);
        QCOMPARE(after.st_mode & 07777, 0640u);
        QCOMPARE(after.st_gid, before.st_gid);
        QCOMPARE(after.st_uid, before.st_uid);
        if (!root)
            QSKIP("only root can give the file another owner to keep");
    }
#endif

    // --- tags and paths -----------------------------------------------------------------

    void tags()
    {
        const QString a = QStringLiteral("A");
        QCOMPARE(wrapInTag(QString(), a), QString());
        QCOMPARE(wrapInTag(QStringLiteral("v"), a), QStringLiteral("<A>v</A>"));
        QCOMPARE(getTagValue("<A>1</A><A>2</A>", a).value(), QStringLiteral("1"));
        QCOMPARE(getTagValue("<A>1", a).value(), QString());
        QCOMPARE(getTagValue("1</A>", a).value(), QString());
        QCOMPARE(getTagValue("<A></A>", a).value(), QString());
        QVERIFY(!getTagValue("</A><A>", a).has_value());
    }

    void splitPath()
    {
        // Windows takes "/" as "\\"; elsewhere a backslash is a file name's character.
        const auto folder = [](const QString& path) {
            QString result;
            return tfp::splitPath(path, result) ? result : QStringLiteral("(blank)");
        };
#ifdef Q_OS_WIN
        QCOMPARE(folder("C:/Games/ridge.tfp"), QStringLiteral("C:\\Games\\"));
#else
        QCOMPARE(folder("/home/anna/games/ridge.tfp"), QStringLiteral("/home/anna/games/"));
        QCOMPARE(folder("/a/b\\c.tfp"), QStringLiteral("/a/"));
#endif
        QCOMPARE(folder("ridge.tfp"), QStringLiteral("ridge.tfp"));
        QCOMPARE(folder("  /home/ridge.tfp  "), QDir::toNativeSeparators("/home/"));
        QCOMPARE(folder("   "), QStringLiteral("(blank)"));
    }
};

QTEST_GUILESS_MAIN(TestGameFile)
#include "tst_game_file.moc"
