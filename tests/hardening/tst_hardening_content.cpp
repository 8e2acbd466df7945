// What the game file reader makes of content it did not write: random records written and
// read back, every byte of a real file changed or cut off, and input that never ends.
#include "game/codepage.h"
#include "game/draw.h"
#include "game/versions.h"
#include "testsupport.h"

#include <QBuffer>

using namespace tfp;
using namespace tfp::test;

namespace {

// Text of 0 to 60 characters, each a byte 1 to 254 taken through Windows-1252 (the five
// bytes the code page leaves undefined come back as themselves); never a tag bracket.
QString randomText(QRandomGenerator& random)
{
    QByteArray bytes;
    for (int length = random.bounded(61); bytes.size() < length;) {
        if (const char byte = char(random.bounded(1, 255)); byte != '<' && byte != '>')
            bytes.append(byte);
    }
    return fromCodePage(bytes);
}

GameRecord randomRecord(QRandomGenerator& random)
{
    GameRecord r;
    for (QString* text :
         {&r.GameName, &r.Player1Name, &r.Player1Pwd, &r.Player2Name, &r.Player2Pwd})
        *text = randomText(random);
    // Any numbers whose window of ending turns stays within 16-bit turns: the reader refuses
    // the others.
    do {
        for (qint16* number : {&r.Player1LastTurn, &r.Player2LastTurn, &r.TotalTurns,
                               &r.TurnVariance, &r.CurrentTurn, &r.EndingTurn})
            *number = qint16(random.bounded(-32768, 32768));
        r.GameType = GameType(random.bounded(2));
    } while (!endingWindowFits(r.TotalTurns, r.TurnVariance, r.GameType));
    r.SecurityMode = SecurityMode(random.bounded(2));
    r.Version = getAppVersion();
    const int players[] = {kNoPlayer, 1, 2};
    r.CurrentPlayer = players[random.bounded(3)];
    r.DestinationPlayer = players[random.bounded(3)];
    if (random.bounded(10) != 0) // one record in ten was never saved
        r.LastSavedDateTime = QDateTime(
            QDate(random.bounded(1000, 10000), random.bounded(1, 13), random.bounded(1, 29)),
            QTime(random.bounded(24), random.bounded(60), random.bounded(60)));
    return r;
}

QByteArray written(const GameRecord& record)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    FileErrorInfo error;
    if (!writeGame(buffer, record, QDateTime(QDate(2024, 5, 17), QTime(20, 15, 42)), error))
        qWarning("not written: %s", qPrintable(error.Description));
    return buffer.data();
}

// The record read from the bytes; nullopt, with the reason in `why`, when they are refused.
std::optional<GameRecord> read(QByteArray bytes, QString& why)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    GameRecord record;
    FileErrorInfo error;
    const bool loaded = readGame(buffer, record, error);
    why = error.Description;
    return loaded ? std::optional(record) : std::nullopt;
}

// The game as the reader gives it back: the version of this program, saved by its holder.
GameRecord asRead(GameRecord game)
{
    game.Version = getAppVersion();
    game.LastSavedBy = QString::number(game.CurrentPlayer);
    return game;
}

// How a byte of a file is damaged; `byte` is the replacement.
enum class Damage
{
    CutOff,
    LowestBitFlipped,
    Replaced
};
struct DamageRow
{
    Damage damage;
    char byte;
};

} // namespace

class ContentTest : public QObject
{
    Q_OBJECT

private slots:
    void writeGame_randomRecords_readBackWhole()
    {
        QRandomGenerator random(replayableSeed());
        for (int i = 0; i < 3000; ++i) {
            const GameRecord record = randomRecord(random);
            QString why;
            const std::optional<GameRecord> back = read(written(record), why);
            if (!back || *back != asRead(record))
                QFAIL(qPrintable(QStringLiteral("record %1: wrote ").arg(i) +
                                 plainDataLine(record) + ", read " +
                                 (back ? plainDataLine(*back) : why)));
        }
    }

    // Every byte of a real file in turn is damaged: the file cut off there, the byte's lowest
    // bit flipped, or the byte replaced. Whatever the damage, the reader refuses the file with a
    // reason or reads a game; a banner line reads as long as it starts with its three dashes.
    void readGame_everyByteDamaged_refusedWithReasonOrRead_data()
    {
        addRowColumn<DamageRow>();
        addRow<DamageRow>("cut off", Damage::CutOff, '\0');
        addRow<DamageRow>("lowest bit flipped", Damage::LowestBitFlipped, '\0');
        for (const char byte : {'0', 'F', '*', '\r', '\n', '\0', '\xff', '-', '<'})
            addRow<DamageRow>(qPrintable(QString::asprintf("0x%02x", quint8(byte))),
                              Damage::Replaced, byte);
    }

    void readGame_everyByteDamaged_refusedWithReasonOrRead()
    {
        QFETCH(DamageRow, row);
        const GameRecord game = asRead(secureGame(93, 97, 2));
        const QByteArray original = written(game);
        const qsizetype dataStart = original.lastIndexOf("\r\n", original.size() - 3) + 2;
        for (qsizetype at = 0; at < original.size(); ++at) {
            QByteArray damaged = original;
            if (row.damage == Damage::CutOff)
                damaged.truncate(at);
            else
                damaged[at] =
                    row.damage == Damage::LowestBitFlipped ? char(damaged[at] ^ 1) : row.byte;
            if (damaged == original)
                continue;
            QString why;
            const std::optional<GameRecord> back = read(damaged, why);
            const QString where = QStringLiteral("byte %1: ").arg(at);
            QVERIFY2(back || !why.isEmpty(), qPrintable(where + "no reason"));
            const qsizetype column = at - original.left(at).lastIndexOf('\n') - 1;
            if (row.damage == Damage::CutOff) {
                // A cut into the data line is refused, or loses nothing of the game.
                QVERIFY2(!back || at <= dataStart || *back == game, qPrintable(where));
            } else if (at < dataStart && column < 3) {
                QVERIFY2(!back, qPrintable(where + "a dash"));
            } else if (at < dataStart && original[at] != '\r' && original[at] != '\n' &&
                       damaged[at] != '\r') {
                QVERIFY2(back && *back == game, qPrintable(where + "a banner"));
            }
        }
    }

    // A source that never ends is read no further than the first line the reader refuses.
    void readGame_endlessSource_boundedInBytes_data()
    {
        QTest::addColumn<QByteArray>("pattern");
        QTest::addColumn<qint64>("bound");
        QTest::newRow("hex digits, no line end")
            << QByteArray("0123456789ABCDEF") << qint64(kMaxCipherLength + 4096);
        QTest::newRow("lines of 100 hex digits") << QByteArray(100, 'A') + "\r\n" << qint64(4096);
        QTest::newRow("blank lines") << QByteArray("\r\n") << qint64(4096);
    }

    void readGame_endlessSource_boundedInBytes()
    {
        QFETCH(QByteArray, pattern);
        QFETCH(qint64, bound);
        EndlessDevice device(pattern);
        GameRecord record;
        FileErrorInfo error;
        QVERIFY(!readGame(device, record, error) && !error.Description.isEmpty());
        QVERIFY2(device.delivered <= bound, qPrintable(QString::number(device.delivered)));
    }
};

QTEST_GUILESS_MAIN(ContentTest)
#include "tst_hardening_content.moc"
