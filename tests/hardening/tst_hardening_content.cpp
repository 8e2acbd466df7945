// What the game file reader makes of content it did not write or cannot expect: random
// records written and read back, every byte of a real file changed, and input without
// bounds (a device that never ends, a data line without its end).
#include "game/cipher.h"
#include "game/codepage.h"
#include "game/draw.h"
#include "game/gamefile.h"
#include "game/opening.h"
#include "hardening.h"

#include <limits>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace tfp;
using namespace tfp::hardening;

namespace {

constexpr qint64 kQuickMs = 1000;

// Text of 0 to 60 characters, each from a byte 1 to 254 taken through Windows-1252. The
// five bytes the code page leaves undefined come back as themselves, so they are kept;
// only the tag brackets, which a value may not hold, are left out.
QString randomText(QRandomGenerator& random)
{
    const int length = random.bounded(61);
    QByteArray bytes;
    while (bytes.size() < length) {
        const char byte = static_cast<char>(random.bounded(1, 255));
        if (byte != '<' && byte != '>')
            bytes.append(byte);
    }
    return fromCodePage(bytes);
}

qint16 randomInt16(QRandomGenerator& random)
{
    return static_cast<qint16>(
        random.bounded(std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max() + 1));
}

qint32 randomPlayer(QRandomGenerator& random)
{
    constexpr qint32 kPlayers[] = {kNoPlayer, 1, 2};
    return kPlayers[random.bounded(3)];
}

QDateTime randomMoment(QRandomGenerator& random)
{
    // One record in ten was never saved.
    if (random.bounded(10) == 0)
        return {};
    const QDate date(random.bounded(1000, 10000), random.bounded(1, 13), random.bounded(1, 29));
    const QTime time(random.bounded(24), random.bounded(60), random.bounded(60));
    return QDateTime(date, time);
}

GameRecord randomRecord(QRandomGenerator& random)
{
    GameRecord r;
    r.GameName = randomText(random);
    r.Player1Name = randomText(random);
    r.Player1Pwd = randomText(random);
    r.Player1LastTurn = randomInt16(random);
    r.Player2Name = randomText(random);
    r.Player2Pwd = randomText(random);
    r.Player2LastTurn = randomInt16(random);
    // Any numbers, as long as the draw's window of ending turns stays a window of 16-bit turn
    // numbers: the reader refuses a game where it does not.
    do {
        r.TotalTurns = randomInt16(random);
        r.TurnVariance = randomInt16(random);
    } while (!tfp::endingWindowFits(r.TotalTurns, r.TurnVariance, tfp::GameType::QuickBattle));
    r.CurrentTurn = randomInt16(random);
    r.EndingTurn = randomInt16(random);
    r.SecurityMode = static_cast<SecurityMode>(random.bounded(2));
    r.GameType = static_cast<GameType>(random.bounded(2));
    r.Version = getAppVersion();
    r.LastSavedDateTime = randomMoment(random);
    r.LastSavedBy = randomText(random); // not written: the file records CurrentPlayer
    r.CurrentPlayer = randomPlayer(random);
    r.DestinationPlayer = randomPlayer(random);
    return r;
}

QString shown(const QString& text)
{
    return QString::fromLatin1(text.toUtf8().toPercentEncoding());
}

// The first field in which the record read differs from the one written; empty when none.
QString firstDifference(const GameRecord& written, const GameRecord& read)
{
    const auto text = [](const char* name, const QString& a, const QString& b) {
        return a == b ? QString()
                      : QStringLiteral("%1: wrote '%2', read '%3'")
                            .arg(QLatin1String(name), shown(a), shown(b));
    };
    const auto number = [](const char* name, qint64 a, qint64 b) {
        return a == b
                   ? QString()
                   : QStringLiteral("%1: wrote %2, read %3").arg(QLatin1String(name)).arg(a).arg(b);
    };
    const QString format = QLatin1String(kSavedDateFormat);
    const QStringList differences{
        text("GameName", written.GameName, read.GameName),
        text("Player1Name", written.Player1Name, read.Player1Name),
        text("Player1Pwd", written.Player1Pwd, read.Player1Pwd),
        number("Player1LastTurn", written.Player1LastTurn, read.Player1LastTurn),
        text("Player2Name", written.Player2Name, read.Player2Name),
        text("Player2Pwd", written.Player2Pwd, read.Player2Pwd),
        number("Player2LastTurn", written.Player2LastTurn, read.Player2LastTurn),
        number("TotalTurns", written.TotalTurns, read.TotalTurns),
        number("TurnVariance", written.TurnVariance, read.TurnVariance),
        number("CurrentTurn", written.CurrentTurn, read.CurrentTurn),
        number("EndingTurn", written.EndingTurn, read.EndingTurn),
        number("SecurityMode", int(written.SecurityMode), int(read.SecurityMode)),
        number("GameType", int(written.GameType), int(read.GameType)),
        text("Version", written.Version, read.Version),
        text("LastSavedDateTime", written.LastSavedDateTime.toString(format),
             read.LastSavedDateTime.toString(format)),
        number("LastSavedDateTime valid", written.LastSavedDateTime.isValid(),
               read.LastSavedDateTime.isValid()),
        // The writer stores the player who saved, which is the current player.
        text("LastSavedBy", QString::number(written.CurrentPlayer), read.LastSavedBy),
        number("CurrentPlayer", written.CurrentPlayer, read.CurrentPlayer),
        number("DestinationPlayer", written.DestinationPlayer, read.DestinationPlayer),
    };
    for (const QString& difference : differences) {
        if (!difference.isEmpty())
            return difference;
    }
    return {};
}

// A real game file, as saveData writes it.
QByteArray realGameFile(const QString& folder, GameRecord* game = nullptr)
{
    GameRecord record = endlessGame(QDir(folder).filePath(QStringLiteral("real.tfp")));
    record.Player1Pwd = QStringLiteral("alpha");
    record.Player2Pwd = QStringLiteral("bravo");
    record.CurrentTurn = 93;
    record.EndingTurn = 97;
    record.SecurityMode = SecurityMode::Secure;
    record.CurrentPlayer = 2;
    record.DestinationPlayer = 1;
    record.LastSavedDateTime = QDateTime(QDate(2024, 5, 17), QTime(20, 15, 42));
    FileErrorInfo error;
    if (!saveData(record, error, QDateTime(QDate(2024, 5, 17), QTime(20, 15, 42))))
        return {};
    if (game)
        *game = record;
    return fileBytes(record.FilePath);
}

bool readBytes(const QByteArray& bytes, GameRecord& record, FileErrorInfo& error)
{
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return false;
    return readGame(buffer, record, error);
}

// A sequential device that never runs dry: hex digits, with a line end after every
// `lineLength` of them (never, for 0). It counts what was read from it.
class EndlessDevice final : public QIODevice
{
public:
    explicit EndlessDevice(int lineLength) : m_lineLength(lineLength) {}

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return std::numeric_limits<int>::max(); }

    qint64 delivered = 0;

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        for (qint64 i = 0; i < maxSize; ++i, ++m_position) {
            if (m_lineLength > 0 && m_position % (m_lineLength + 2) == m_lineLength)
                data[i] = '\r';
            else if (m_lineLength > 0 && m_position % (m_lineLength + 2) == m_lineLength + 1)
                data[i] = '\n';
            else
                data[i] = kDigits[m_position % 16];
        }
        delivered += maxSize;
        return maxSize;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    int m_lineLength = 0;
    qint64 m_position = 0;
};

} // namespace

class ContentTest : public QObject
{
    Q_OBJECT

private slots:
    void writeThenRead_randomRecords_roundTrip()
    {
        quint32 seed = QRandomGenerator::global()->generate();
        if (const QByteArray replay = qgetenv("TFP_HARDENING_SEED"); !replay.isEmpty())
            seed = replay.toUInt();
        qInfo("round trip: seed %u (set TFP_HARDENING_SEED to replay)", seed);
        QRandomGenerator random(seed);

        // Thousands of records, within a time budget on slow (instrumented) builds.
        constexpr int kRecords = 5000;
        constexpr int kAtLeast = 1000;
        constexpr qint64 kBudgetMs = 20000;
        QElapsedTimer timer;
        timer.start();
        int done = 0;
        for (; done < kRecords && (done < kAtLeast || timer.elapsed() < kBudgetMs); ++done) {
            const GameRecord written = randomRecord(random);
            const QDateTime now = randomMoment(random);
            QBuffer buffer;
            QVERIFY(buffer.open(QIODevice::WriteOnly));
            FileErrorInfo error;
            QVERIFY2(writeGame(buffer, written, now, error),
                     qPrintable(QStringLiteral("record %1: %2").arg(done).arg(error.Description)));
            buffer.close();

            GameRecord read;
            QVERIFY2(readBytes(buffer.data(), read, error),
                     qPrintable(QStringLiteral("seed %1, record %2: %3")
                                    .arg(seed)
                                    .arg(done)
                                    .arg(error.Description)));
            const QString difference = firstDifference(written, read);
            QVERIFY2(
                difference.isEmpty(),
                qPrintable(
                    QStringLiteral("seed %1, record %2: %3").arg(seed).arg(done).arg(difference)));
        }
        qInfo("round trip: %d records in %lld ms", done, timer.elapsed());
    }

    void readGame_everyByteChanged_failsCleanly_data()
    {
        QTest::addColumn<int>("replacement"); // -1: the byte with its lowest bit flipped

        QTest::newRow("lowest bit flipped") << -1;
        QTest::newRow("digit 0") << int('0');
        QTest::newRow("hex digit F") << int('F');
        QTest::newRow("pad star") << int('*');
        QTest::newRow("carriage return") << int('\r');
        QTest::newRow("line feed") << int('\n');
        QTest::newRow("NUL") << 0x00;
        QTest::newRow("0xFF") << 0xFF;
        QTest::newRow("minus") << int('-');
        QTest::newRow("tag bracket") << int('<');
    }

    void readGame_everyByteChanged_failsCleanly()
    {
        QFETCH(int, replacement);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QByteArray original = realGameFile(dir.path());
        QVERIFY(!original.isEmpty());

        int refused = 0;
        int changed = 0;
        for (qsizetype at = 0; at < original.size(); ++at) {
            QByteArray damaged = original;
            damaged[at] = replacement < 0 ? static_cast<char>(damaged[at] ^ 0x01)
                                          : static_cast<char>(replacement);
            if (damaged == original)
                continue;
            ++changed;
            GameRecord record;
            FileErrorInfo error;
            if (!readBytes(damaged, record, error)) {
                ++refused;
                QVERIFY2(
                    !error.Description.isEmpty(),
                    qPrintable(QStringLiteral("byte %1 changed: refused with no reason").arg(at)));
            }
        }
        qInfo("%d of %d changed files refused", refused, changed);
        QVERIFY(changed > 0);
        // A change in the banner's opening dashes turns it into a data line that is not
        // hexadecimal, so some damage is always noticed.
        QVERIFY(refused > 0);
    }

    void readGame_everyTruncation_failsCleanly()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        GameRecord game;
        const QByteArray original = realGameFile(dir.path(), &game);
        QVERIFY(!original.isEmpty());
        const qsizetype dataStart = original.lastIndexOf("\r\n", original.size() - 3) + 2;
        for (qsizetype length = 0; length < original.size(); ++length) {
            GameRecord record;
            FileErrorInfo error;
            const bool read = readBytes(original.left(length), record, error);
            if (!read)
                QVERIFY2(!error.Description.isEmpty(), qPrintable(QString::number(length)));
            // A cut into the data line is refused, or loses nothing of the game.
            if (read && length > dataStart) {
                record.FilePath = game.FilePath;
                const QString difference = firstDifference(game, record);
                QVERIFY2(difference.isEmpty(), qPrintable(QStringLiteral("cut at %1 of %2: %3")
                                                              .arg(length)
                                                              .arg(original.size())
                                                              .arg(difference)));
            }
        }
    }

    void readGame_endlessDevice_failsFast_data()
    {
        QTest::addColumn<int>("lineLength");
        QTest::newRow("hex digits without a line end") << 0;
        QTest::newRow("lines of 100 hex digits") << 100;
        QTest::newRow("lines just over the longest") << int(kMaxCipherLength) + 1;
    }

    void readGame_endlessDevice_failsFast()
    {
        QFETCH(int, lineLength);
        EndlessDevice device(lineLength);
        QVERIFY(device.open(QIODevice::ReadOnly));
        GameRecord record;
        FileErrorInfo error;
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!readGame(device, record, error));
        const qint64 elapsedMs = timer.elapsed();
        QVERIFY(!error.Description.isEmpty());
        QVERIFY2(elapsedMs < kQuickMs, qPrintable(QString::number(elapsedMs)));
        // It stops within a few reads of the first line it cannot take.
        QVERIFY2(device.delivered < 2 * (kMaxCipherLength + 2) + 65536,
                 qPrintable(QString::number(device.delivered)));
    }

    void readGame_lineEnds_data()
    {
        QTest::addColumn<QByteArray>("ending"); // what replaces the final CR LF
        QTest::addColumn<bool>("loads");
        QTest::newRow("no final line end") << QByteArray() << true;
        QTest::newRow("final CR only") << QByteArray("\r") << true;
        QTest::newRow("final CR LF") << QByteArray("\r\n") << true;
    }

    void readGame_lineEnds()
    {
        QFETCH(QByteArray, ending);
        QFETCH(bool, loads);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        GameRecord game;
        QByteArray bytes = realGameFile(dir.path(), &game);
        QVERIFY(bytes.endsWith("\r\n"));
        bytes.chop(2);
        bytes += ending;
        const QString path = dir.filePath(QStringLiteral("ends.tfp"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
        file.close();

        GameRecord record;
        record.FilePath = path;
        FileErrorInfo error;
        QCOMPARE(getData(record, error), loads);
        record.FilePath = game.FilePath;
        const QString difference = firstDifference(game, record);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    void openGameFile_noGameData_isRefused_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("banner lines only") << QByteArray("BANNER");
        QTest::newRow("line feeds only as line ends") << QByteArray("LF");
    }

    // A file that holds no data line reads as an empty record, which carries no version:
    // opening it shows the version refusal, and no game is taken into hand.
    void openGameFile_noGameData_isRefused()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QByteArray real = realGameFile(dir.path());
        QVERIFY(!real.isEmpty());
        if (content == "BANNER")
            content = real.left(real.lastIndexOf("\r\n", real.size() - 3) + 2);
        else if (content == "LF")
            content = QByteArray(real).replace("\r\n", "\n");
        const QString path = dir.filePath(QStringLiteral("nodata.tfp"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
        file.close();
        MessageRecorder recorder;
        const OpenOutcome opened = openGameFile(path, recorder);
        QCOMPARE(opened.status, OpenStatus::VersionRefused);
        QCOMPARE(recorder.messages.size(), 1);
        QVERIFY(recorder.messages.first().text.contains(
            QLatin1String("(Missing Version Information)")));
        QCOMPARE(fileBytes(path), content);
    }

    void getData_longLineWithoutEnd_fails_data()
    {
        QTest::addColumn<qsizetype>("length");
        QTest::newRow("one more than the longest") << kMaxCipherLength + 1;
        QTest::newRow("100 KB") << qsizetype(100 * 1024);
    }

    void getData_longLineWithoutEnd_fails()
    {
        QFETCH(qsizetype, length);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("long.tfp"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(QByteArray(length, 'A')), qint64(length));
        file.close();
        GameRecord record;
        record.FilePath = path;
        FileErrorInfo error;
        QVERIFY(!getData(record, error));
        QVERIFY2(error.Description.contains(QString::number(kMaxCipherLength)),
                 qPrintable(error.Description));
    }
};

QTEST_GUILESS_MAIN(ContentTest)
#include "tst_hardening_content.moc"
