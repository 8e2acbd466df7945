// The game file: the cipher, the file layout, the reader's rules, saving, and the versions
// a build opens.
#include "game/cipher.h"
#include "game/codepage.h"
#include "game/gamefile.h"
#include "game/versions.h"
#include "recorder.h"

#include <cstring>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace tfp;

namespace {

const QString kRule(63, u'-');

// A device that takes or gives `limit` bytes and then fails.
class FailingDevice final : public QIODevice
{
public:
    FailingDevice(QByteArray content, qint64 limit) : m_content(std::move(content)), m_limit(limit)
    {}

    QByteArray written;

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 left = std::min<qint64>(m_limit, m_content.size()) - m_position;
        if (left <= 0) {
            setErrorString(QStringLiteral("The disk has gone away."));
            return -1;
        }
        const qint64 count = std::min(left, maxSize);
        std::memcpy(data, m_content.constData() + m_position, static_cast<size_t>(count));
        m_position += count;
        return count;
    }
    qint64 writeData(const char* data, qint64 size) override
    {
        if (written.size() + size > m_limit) {
            setErrorString(QStringLiteral("The disk is full."));
            return -1;
        }
        written.append(data, size);
        return size;
    }

private:
    QByteArray m_content;
    qint64 m_limit;
    qint64 m_position = 0;
};

GameRecord ridge()
{
    GameRecord r;
    r.GameName = QStringLiteral("Ridge");
    r.Version = QStringLiteral("1.5.24");
    r.Player1Name = QStringLiteral("North");
    r.Player2Name = QStringLiteral("South");
    r.TotalTurns = 30;
    r.TurnVariance = 5;
    r.CurrentTurn = 24;
    r.EndingTurn = 27;
    r.LastSavedDateTime = QDateTime(QDate(2026, 12, 5), QTime(12, 5, 12));
    return r;
}

const QString kRidgeLine = QStringLiteral(
    "<Game><GameName>Ridge</GameName><Version>1.5.24</Version><Player1Name>North</Player1Name>"
    "<Player1LastTurn>0</Player1LastTurn><Player2Name>South</Player2Name>"
    "<Player2LastTurn>0</Player2LastTurn><TotalTurns>30</TotalTurns>"
    "<TurnVariance>5</TurnVariance><CurrentTurn>24</CurrentTurn><EndingTurn>27</EndingTurn>"
    "<SecurityMode>0</SecurityMode><GameType>0</GameType>"
    "<LastSavedDateTime>2026-12-05 12:05:12</LastSavedDateTime><LastSavedBy>-1</LastSavedBy>"
    "<CurrentPlayer>-1</CurrentPlayer><DestinationPlayer>-1</DestinationPlayer></Game>");

// A file of banner lines and data lines, each data line given in plain text and written
// enciphered, every line ended with `ending`.
QByteArray fileOf(const QStringList& plainLines, const QByteArray& ending = "\r\n")
{
    QByteArray bytes;
    for (const QString& line : plainLines) {
        const QString text = line.startsWith(QLatin1String("---")) ? line : *encipherText(line);
        bytes += text.toLatin1() + ending;
    }
    return bytes;
}

bool readBytes(const QByteArray& bytes, GameRecord& record, FileErrorInfo& error)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readGame(buffer, record, error);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QString codes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (const int v : values)
        bytes.append(static_cast<char>(v));
    return fromCodePage(bytes);
}

} // namespace

class TestGameFile : public QObject
{
    Q_OBJECT

private slots:
    // --- the cipher -----------------------------------------------------------------------

    void cipherOffsetClass_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("offsetClass");
        for (const int p : {3, 6, 9, 15, 21, 30})
            QTest::addRow("multiple of 3: %d", p) << p << 0;
        for (const int p : {5, 10, 20, 25, 35})
            QTest::addRow("multiple of 5: %d", p) << p << 1;
        for (const int p : {7, 14, 28, 49})
            QTest::addRow("multiple of 7: %d", p) << p << 2;
        for (const int p : {1, 2, 4, 8, 11, 13})
            QTest::addRow("other: %d", p) << p << 3;
    }
    void cipherOffsetClass()
    {
        QFETCH(int, position);
        QFETCH(int, offsetClass);
        QCOMPARE(tfp::cipherOffsetClass(position), offsetClass);
    }

    void encipherText_knownValues_data()
    {
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("cipher");
        QTest::newRow("empty") << QString() << QString();
        // 'A' is 65: odd positions subtract, even ones add, by the offset of the class.
        QTest::newRow("first position") << "A"
                                        << "3E";
        QTest::newRow("second position") << "AA"
                                         << "3E44";
        QTest::newRow("seven positions") << "AAAAAAA"
                                         << "3E442E443A5422";
        QTest::newRow("ten positions") << "AAAAAAAAAA"
                                       << "3E442E443A5422442E48";
        QTest::newRow("ten is *A") << codes({13}) << "*A";
        QTest::newRow("wraps by 255 below") << codes({1}) << "FD";
        QTest::newRow("wraps by 255 above") << codes({65, 254}) << "3E*2";
    }
    void encipherText_knownValues()
    {
        QFETCH(QString, plain);
        QFETCH(QString, cipher);
        QCOMPARE(encipherText(plain).value(), cipher);
        QCOMPARE(decipherText(cipher).value(), plain);
    }

    void decipherText_acceptedForms_data()
    {
        QTest::addColumn<QString>("cipher");
        QTest::addColumn<QString>("plain");
        QTest::newRow("mark first") << "*A" << codes({13});
        QTest::newRow("mark after") << "A*" << codes({13});
        QTest::newRow("leading zero") << "0A" << codes({13});
        QTest::newRow("lower case") << "3e44"
                                    << "AA";
        QTest::newRow("odd length") << "3E4" << codes({65, 1});
    }
    void decipherText_acceptedForms()
    {
        QFETCH(QString, cipher);
        QFETCH(QString, plain);
        QCOMPARE(decipherText(cipher).value(), plain);
    }

    void decipherText_notHexadecimal_fails_data()
    {
        QTest::addColumn<QString>("cipher");
        QTest::newRow("only marks") << "3E**";
        QTest::newRow("letter") << "3G";
        QTest::newRow("blank") << "3E 4";
        QTest::newRow("sign") << "-1";
    }
    void decipherText_notHexadecimal_fails()
    {
        QFETCH(QString, cipher);
        QString error;
        QVERIFY(!decipherText(cipher, &error));
        QVERIFY(!error.isEmpty());
    }

    void cipher_roundTrip_everyCodeAtEveryClass()
    {
        // Codes 1 to 254 survive at every position; 210 positions cover every class and
        // both parities many times over.
        QByteArray bytes;
        for (int shift = 0; shift < 210; ++shift)
            bytes.append(static_cast<char>(1 + (shift * 37) % 254));
        for (int code = 1; code <= 254; ++code)
            bytes.append(static_cast<char>(code));
        const QString plain = fromCodePage(bytes);
        const QString cipher = encipherText(plain).value();
        QCOMPARE(cipher.size(), 2 * plain.size());
        static const QRegularExpression alphabet(QStringLiteral("^[0-9A-F*]*$"));
        QVERIFY(alphabet.match(cipher).hasMatch());
        QCOMPARE(decipherText(cipher).value(), plain);
    }

    void cipher_extremeCodes_data()
    {
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("back");
        QTest::newRow("255 at an even position") << codes({65, 255}) << codes({65, 0});
        QTest::newRow("0 at an odd position") << codes({0}) << codes({255});
        QTest::newRow("0 at an even position") << codes({65, 0}) << codes({65, 0});
        QTest::newRow("255 at an odd position") << codes({255}) << codes({255});
    }
    void cipher_extremeCodes()
    {
        QFETCH(QString, plain);
        QFETCH(QString, back);
        QCOMPARE(decipherText(encipherText(plain).value()).value(), back);
    }

    void cipher_outsideCodePage_comesBackAsQuestionMark()
    {
        const QString plain = QStringLiteral("A\u0100\u20ac");
        QCOMPARE(decipherText(encipherText(plain).value()).value(), QStringLiteral("A?\u20ac"));
    }

    void cipher_lengthLimits()
    {
        QString error;
        QVERIFY(encipherText(QString(kMaxPlainLength, u'a'), &error).has_value());
        QVERIFY(!encipherText(QString(kMaxPlainLength + 1, u'a'), &error).has_value());
        QVERIFY(!error.isEmpty());
        error.clear();
        QVERIFY(decipherText(QString(kMaxCipherLength, u'4'), &error).has_value());
        QVERIFY(!decipherText(QString(kMaxCipherLength + 1, u'4'), &error).has_value());
        QVERIFY(!error.isEmpty());
    }

    // --- writing --------------------------------------------------------------------------

    void writeGame_layout()
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        FileErrorInfo error;
        const QDateTime now(QDate(2026, 12, 6), QTime(9, 4, 3));
        QVERIFY(writeGame(buffer, ridge(), now, error));
        const QByteArray bytes = buffer.data();
        QVERIFY(bytes.endsWith("\r\n"));
        QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines.takeLast(), QByteArray());
        QCOMPARE(lines.size(), 7);
        for (QByteArray& line : lines) {
            QVERIFY(line.endsWith('\r'));
            line.chop(1);
        }
        for (int i = 0; i < 6; ++i)
            QCOMPARE(lines.at(i).size(), 63);
        QCOMPARE(lines.at(0), kRule.toLatin1());
        QCOMPARE(lines.at(1),
                 QByteArray("---           ** Torva Fogline Turnpicker File **           ---"));
        QCOMPARE(lines.at(2),
                 QByteArray("---             Do not modify data in this file             ---"));
        QCOMPARE(lines.at(3), kRule.toLatin1());
        // The creation line shows the time of the save, not the record's saved time.
        QCOMPARE(lines.at(4), QByteArray("--- Created on 2026-12-06 09:04:03") +
                                  QByteArray(26, ' ') + QByteArray("---"));
        QCOMPARE(lines.at(5), kRule.toLatin1());
        QCOMPARE(decipherText(QString::fromLatin1(lines.at(6))).value(), kRidgeLine);
    }

    void plainDataLine_leavesOutEmptyValues()
    {
        QCOMPARE(plainDataLine(ridge()), kRidgeLine);
        GameRecord secure = ridge();
        secure.SecurityMode = SecurityMode::Secure;
        secure.Player1Pwd = QStringLiteral("Alpha");
        secure.EndingTurn = -1;
        secure.CurrentPlayer = 1;
        secure.DestinationPlayer = 2;
        const QString line = plainDataLine(secure);
        QVERIFY(line.contains(QLatin1String("<Player1Pwd>Alpha</Player1Pwd>")));
        QVERIFY(!line.contains(QLatin1String("Player2Pwd")));
        QVERIFY(line.contains(QLatin1String("<EndingTurn>-1</EndingTurn>")));
        QVERIFY(line.contains(QLatin1String("<LastSavedBy>1</LastSavedBy>")));
        GameRecord unnamed = ridge();
        unnamed.GameName.clear();
        QVERIFY(!plainDataLine(unnamed).contains(QLatin1String("GameName")));
    }

    void writeGame_deviceFailsPartWay_reportsIt_data()
    {
        QTest::addColumn<qint64>("limit");
        QTest::newRow("nothing written") << qint64(0);
        QTest::newRow("inside the banner") << qint64(100);
        QTest::newRow("inside the data line") << qint64(700);
    }
    void writeGame_deviceFailsPartWay_reportsIt()
    {
        QFETCH(qint64, limit);
        FailingDevice device({}, limit);
        device.open(QIODevice::WriteOnly);
        FileErrorInfo error;
        QVERIFY(!writeGame(device, ridge(), QDateTime::currentDateTime(), error));
        QVERIFY(error.Description.contains(QLatin1String("The disk is full.")));
    }

    void writeGame_dataLineTooLongToReadBack_isRefused()
    {
        // A game the reader would refuse is not written at all.
        GameRecord huge = ridge();
        huge.GameName = QString(kMaxCipherLength / 2, u'x');
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        FileErrorInfo error;
        QVERIFY(!writeGame(buffer, huge, QDateTime::currentDateTime(), error));
        QVERIFY(!error.Description.isEmpty());
    }

    // --- reading --------------------------------------------------------------------------

    void readGame_roundTrip()
    {
        GameRecord secure = ridge();
        secure.GameName = QStringLiteral("Caf\u00e9 \u20ac & \"quotes\" 'and' \u00ff\u00e0");
        secure.SecurityMode = SecurityMode::Secure;
        secure.GameType = GameType::QuickBattle;
        secure.Player1Pwd = QStringLiteral("Alpha");
        secure.Player2Pwd = QStringLiteral("bravo 2");
        secure.Player1LastTurn = 23;
        secure.Player2LastTurn = 24;
        secure.EndingTurn = -1;
        secure.CurrentTurn = -32768;
        secure.TotalTurns = 32767;
        secure.CurrentPlayer = 2;
        secure.DestinationPlayer = 1;
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        FileErrorInfo error;
        QVERIFY(writeGame(buffer, secure, secure.LastSavedDateTime, error));

        GameRecord back;
        QVERIFY2(readBytes(buffer.data(), back, error), qPrintable(error.Description));
        secure.LastSavedBy = QStringLiteral("2");
        QCOMPARE(back, secure);
    }

    void readGame_elements_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<QString>("gameName");
        QTest::addColumn<int>("player1LastTurn");

        const QString rest = QStringLiteral(
            "<TotalTurns>30</TotalTurns><TurnVariance>5</TurnVariance>"
            "<CurrentTurn>24</CurrentTurn><EndingTurn>27</EndingTurn><SecurityMode>0</SecurityMode>"
            "<GameType>0</GameType><CurrentPlayer>-1</CurrentPlayer>"
            "<DestinationPlayer>-1</DestinationPlayer>");
        QTest::newRow("the writer's line") << kRidgeLine << true << "Ridge" << 0;
        QTest::newRow("without the game markers")
            << "<GameName>Ridge</GameName>" + rest << true << "Ridge" << 0;
        QTest::newRow("any order, unknown elements ignored")
            << "<Extra>1</Extra>" + rest +
                   "<Player1LastTurn>7</Player1LastTurn><GameName>Ridge</GameName>"
            << true << "Ridge" << 7;
        QTest::newRow("tag names are case-sensitive")
            << "<gamename>Ridge</gamename>" + rest << true << "" << 0;
        QTest::newRow("closing tag before opening tag")
            << "</GameName><GameName>Ridge" + rest << false << "" << 0;
        for (const char* element :
             {"TotalTurns", "TurnVariance", "CurrentTurn", "EndingTurn", "SecurityMode", "GameType",
              "CurrentPlayer", "DestinationPlayer"}) {
            const QString name = QLatin1String(element);
            QString without = rest;
            without.remove(QRegularExpression(QStringLiteral("<%1>[^<]*</%1>").arg(name)));
            QVERIFY(without != rest);
            QTest::addRow("missing %s", element) << without << false << "" << 0;
            QString notNumber = rest;
            notNumber.replace(QRegularExpression(QStringLiteral("<%1>[^<]*</%1>").arg(name)),
                              QStringLiteral("<%1>x1</%1>").arg(name));
            QTest::addRow("not a number: %s", element) << notNumber << false << "" << 0;
        }
        QTest::newRow("turn beyond 16 bits")
            << QString(rest).replace(QLatin1String("<TotalTurns>30"),
                                     QLatin1String("<TotalTurns>32768"))
            << false << "" << 0;
        QTest::newRow("mode beyond 8 bits")
            << QString(rest).replace(QLatin1String("<SecurityMode>0"),
                                     QLatin1String("<SecurityMode>256"))
            << false << "" << 0;
        QTest::newRow("turn marker not a number")
            << rest + "<Player1LastTurn>x</Player1LastTurn>" << false << "" << 0;
    }
    void readGame_elements()
    {
        QFETCH(QString, line);
        QFETCH(bool, loads);
        QFETCH(QString, gameName);
        QFETCH(int, player1LastTurn);

        GameRecord record;
        FileErrorInfo error;
        const bool loaded = readBytes(fileOf({kRule, line}), record, error);
        QCOMPARE(loaded, loads);
        if (loaded) {
            QCOMPARE(record.GameName, gameName);
            QCOMPARE(record.Player1LastTurn, player1LastTurn);
            QCOMPARE(record.TotalTurns, 30);
            QCOMPARE(record.EndingTurn, 27);
        } else {
            QVERIFY(!error.Description.isEmpty());
        }
    }

    void readGame_lines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<QString>("gameName");
        const QString other =
            QString(kRidgeLine).replace(QLatin1String(">Ridge<"), QLatin1String(">Other<"));
        QTest::newRow("only banner lines")
            << fileOf({kRule, QStringLiteral("--- anything")}) << true << "Untouched";
        QTest::newRow("changed banner")
            << fileOf({QStringLiteral("---x"), kRidgeLine}) << true << "Ridge";
        QTest::newRow("lines ended by LF alone are one banner line")
            << fileOf({kRule, kRidgeLine}, "\n") << true << "Untouched";
        QTest::newRow("lines ended by CR alone")
            << fileOf({kRule, kRidgeLine}, "\r") << true << "Ridge";
        QTest::newRow("no line break after the data")
            << fileOf({kRule}) + encipherText(kRidgeLine)->toLatin1() << true << "Ridge";
        QTest::newRow("the last data line decides")
            << fileOf({kRidgeLine, kRule, other}) << true << "Other";
        QTest::newRow("a blank line fails") << fileOf({kRidgeLine, QString()}) << false << "";
        QTest::newRow("cut short") << fileOf({kRule, kRidgeLine}).chopped(40) << false << "";
        QTest::newRow("empty file") << QByteArray() << true << "Untouched";
        QTest::newRow("a line longer than the cipher holds")
            << QByteArray(kMaxCipherLength + 1, 'A') + "\r\n"
            << false << "";
    }
    void readGame_lines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, loads);
        QFETCH(QString, gameName);
        GameRecord record;
        record.GameName = QStringLiteral("Untouched");
        FileErrorInfo error;
        QCOMPARE(readBytes(bytes, record, error), loads);
        if (loads)
            QCOMPARE(record.GameName, gameName);
        else
            QVERIFY(!error.Description.isEmpty());
    }

    void readGame_deviceFails_reportsIt()
    {
        FailingDevice device(fileOf({kRule, kRidgeLine}), 70);
        device.open(QIODevice::ReadOnly);
        GameRecord record;
        FileErrorInfo error;
        QVERIFY(!readGame(device, record, error));
        QVERIFY(error.Description.contains(QLatin1String("The disk has gone away.")));
    }

    void readSavedDateTime_forms_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("expected");
        const QDateTime moment(QDate(2026, 12, 5), QTime(12, 5, 12));
        QTest::newRow("the written form") << "2026-12-05 12:05:12" << moment;
        QTest::newRow("US form") << "12/5/2026 12:05:12 PM" << moment;
        QTest::newRow("US form, morning")
            << "1/2/2027 9:03:04 AM" << QDateTime(QDate(2027, 1, 2), QTime(9, 3, 4));
        QTest::newRow("US date alone at midnight")
            << "12/5/2026" << QDateTime(QDate(2026, 12, 5), QTime(0, 0));
        QTest::newRow("not a date") << "yesterday" << QDateTime();
        QTest::newRow("empty") << "" << QDateTime();
    }
    void readSavedDateTime_forms()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        QCOMPARE(readSavedDateTime(text), expected);
    }

    void readSavedDateTime_systemLocaleForm()
    {
        const QDateTime moment(QDate(2026, 12, 5), QTime(17, 5, 0));
        const QLocale locale = QLocale::system();
        const QString text =
            locale.toString(moment, locale.dateFormat(QLocale::ShortFormat) + u' ' +
                                        locale.timeFormat(QLocale::LongFormat));
        const QDateTime back = readSavedDateTime(text);
        QVERIFY2(back.isValid(), qPrintable(text));
        QCOMPARE(back.time().hour(), 17);
        QCOMPARE(back.date().day(), 5);
    }

    void readGame_unreadableDate_keepsPrevious()
    {
        QString line = kRidgeLine;
        line.replace(QLatin1String("2026-12-05 12:05:12"), QLatin1String("someday"));
        GameRecord record;
        const QDateTime before(QDate(2020, 1, 1), QTime(1, 2, 3));
        record.LastSavedDateTime = before;
        FileErrorInfo error;
        QVERIFY(readBytes(fileOf({line}), record, error));
        QCOMPARE(record.LastSavedDateTime, before);
    }

    // --- files on disk --------------------------------------------------------------------

    void getData_extension_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("lower case") << "game.tfp" << true;
        QTest::newRow("capitals") << "game.TFP" << true;
        QTest::newRow("mixed") << "game.Tfp" << true;
        QTest::newRow("another after it") << "game.tfp.txt" << false;
        QTest::newRow("none") << "game" << false;
        QTest::newRow("only the extension's letters") << "gametfp" << false;
    }
    void getData_extension()
    {
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        writeFile(path, fileOf({kRule, kRidgeLine}));
        GameRecord record;
        record.FilePath = path;
        FileErrorInfo error;
        QCOMPARE(getData(record, error), accepted);
        QCOMPARE(error.Source, QStringLiteral("getData()"));
        if (accepted) {
            QCOMPARE(record.GameName, QStringLiteral("Ridge"));
            QCOMPARE(record.FilePath, path);
        } else {
            QCOMPARE(error.Description,
                     QStringLiteral("Cannot open a file that does not have the .tfp extension."));
        }
    }

    void getData_readsIntoFreshRecord()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ridge.tfp"));
        writeFile(path, fileOf({kRule, kRidgeLine}));
        GameRecord record;
        record.Player1Pwd = QStringLiteral("left over");
        record.Player2LastTurn = 12;
        record.FilePath = path;
        FileErrorInfo error;
        QVERIFY(getData(record, error));
        QVERIFY(record.Player1Pwd.isEmpty());
        QCOMPARE(record.Player2LastTurn, 0);
    }

    void getData_failure_leavesRecordAsItWas_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("missing number") << fileOf({QStringLiteral("<GameName>X</GameName>")});
        QTest::newRow("blank line") << QByteArray("\r\n");
        QTest::newRow("not hexadecimal") << QByteArray("zz\r\n");
    }
    void getData_failure_leavesRecordAsItWas()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bad.tfp"));
        writeFile(path, bytes);
        GameRecord record = ridge();
        record.FilePath = path;
        const GameRecord before = record;
        FileErrorInfo error;
        QVERIFY(!getData(record, error));
        QVERIFY(!error.Description.isEmpty());
        QCOMPARE(record, before);
    }

    void getData_missingFile_fails()
    {
        QTemporaryDir dir;
        GameRecord record;
        record.FilePath = dir.filePath(QStringLiteral("absent.tfp"));
        FileErrorInfo error;
        QVERIFY(!getData(record, error));
        QVERIFY(error.Number != 0);
        QVERIFY(!error.Description.isEmpty());
    }

    void saveData_thenGetData_roundTrip()
    {
        QTemporaryDir dir;
        GameRecord record = ridge();
        record.FilePath = dir.filePath(QStringLiteral("ridge.tfp"));
        FileErrorInfo error;
        QVERIFY(saveData(record, error));
        QCOMPARE(error.Source, QStringLiteral("saveData()"));
        GameRecord back;
        back.FilePath = record.FilePath;
        QVERIFY(getData(back, error));
        record.LastSavedBy = QStringLiteral("-1");
        QCOMPARE(back, record);
        // Nothing but the game file is left in the folder.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("ridge.tfp")});
    }

    void saveData_failure_leavesPreviousFileWhole_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("missing folder") << "missing/ridge.tfp";
        QTest::newRow("path is a folder") << "folder.tfp";
    }
    void saveData_failure_leavesPreviousFileWhole()
    {
        QFETCH(QString, target);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.tfp")));
        GameRecord record = ridge();
        record.FilePath = dir.filePath(target);
        FileErrorInfo error;
        QVERIFY(!saveData(record, error));
        QVERIFY(!error.Description.isEmpty());
        QCOMPARE(error.Source, QStringLiteral("saveData()"));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("folder.tfp"))).isDir());
    }

    // --- tags and paths -------------------------------------------------------------------

    void tags()
    {
        QCOMPARE(wrapInTag(QString(), QStringLiteral("A")), QString());
        QCOMPARE(wrapInTag(QStringLiteral("v"), QStringLiteral("A")), QStringLiteral("<A>v</A>"));
        QCOMPARE(getTagValue(QStringLiteral("<A>1</A><A>2</A>"), QStringLiteral("A")).value(),
                 QStringLiteral("1"));
        QCOMPARE(getTagValue(QStringLiteral("<A>1"), QStringLiteral("A")).value(), QString());
        QCOMPARE(getTagValue(QStringLiteral("1</A>"), QStringLiteral("A")).value(), QString());
        QVERIFY(!getTagValue(QStringLiteral("</A><A>"), QStringLiteral("A")).has_value());
    }

    void splitPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("folder");
        // The folder keeps the platform's own separator: on Windows "/" becomes "\\", elsewhere a
        // backslash is an ordinary file-name character.
#ifdef Q_OS_WIN
        QTest::newRow("forward slashes") << "C:/Games/ridge.tfp" << true << "C:\\Games\\";
        QTest::newRow("backslashes") << "C:\\Games\\Old\\ridge.tfp" << true << "C:\\Games\\Old\\";
#else
        QTest::newRow("slashes") << "/home/anna/games/ridge.tfp" << true << "/home/anna/games/";
        QTest::newRow("backslash is a name character") << "/a/b\\c.tfp" << true << "/a/";
#endif
        QTest::newRow("no folder") << "ridge.tfp" << true << "ridge.tfp";
        QTest::newRow("trimmed") << "  /home/anna/ridge.tfp  " << true
                                 << QDir::toNativeSeparators(QStringLiteral("/home/anna/"));
        QTest::newRow("blank") << "   " << false << "";
    }
    void splitPath()
    {
        QFETCH(QString, path);
        QFETCH(bool, ok);
        QFETCH(QString, folder);
        QString result;
        QCOMPARE(tfp::splitPath(path, result), ok);
        QCOMPARE(result, folder);
    }

    // --- versions -------------------------------------------------------------------------

    void isSupportedFileVersion_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("supported");
        QTest::newRow("1.5.22") << "1.5.22" << true;
        QTest::newRow("1.5.23") << "1.5.23" << true;
        QTest::newRow("1.5.24") << "1.5.24" << true;
        QTest::newRow("1.5.21") << "1.5.21" << false;
        QTest::newRow("1.5.25") << "1.5.25" << false;
        QTest::newRow("leading zero") << "1.05.24" << false;
        QTest::newRow("trailing space") << "1.5.24 " << false;
        QTest::newRow("letter case") << "1.5.24A" << false;
        QTest::newRow("missing") << "" << false;
    }
    void isSupportedFileVersion()
    {
        QFETCH(QString, version);
        QFETCH(bool, supported);
        GameRecord record;
        record.Version = version;
        test::Recorder recorder;
        QCOMPARE(tfp::isSupportedFileVersion(record, recorder), supported);
        QCOMPARE(recorder.messages.size(), supported ? 0 : 1);
        if (!supported) {
            const Message& m = recorder.messages.first();
            QCOMPARE(m.title,
                     QStringLiteral("Torva Fogline Turnpicker - Version Compatibility Error"));
            QCOMPARE(m.icon, MessageIcon::Exclamation);
            const QString shown =
                version.isEmpty() ? QStringLiteral("(Missing Version Information)") : version;
            QVERIFY(m.text.contains(QStringLiteral("\r\n   Application Version: \t1.5.24\r\n   "
                                                   "File Version:        \t\t") +
                                    shown + QStringLiteral("\r\n\r\n")));
        }
    }

    void appVersion()
    {
        QCOMPARE(getAppVersion(), QStringLiteral("1.5.24"));
        QCOMPARE(supportedVersions(),
                 (QStringList{QStringLiteral("1.5.22"), QStringLiteral("1.5.23"),
                              QStringLiteral("1.5.24")}));
    }
};

QTEST_GUILESS_MAIN(TestGameFile)
#include "tst_game_file.moc"
