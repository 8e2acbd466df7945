// What the test programs share: the sample games, game files written and read back, a device
// that fails after N bytes or never ends, and the seed of a test's random choices.
#pragma once

#include "game/cipher.h"
#include "game/gamestore.h"
#include "game/setup.h"
#include "game/views.h"

#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRandomGenerator>
#include <QStringList>
#include <QTest>

// What a failed comparison prints of a row, a view or a message: its fields in order, texts
// quoted, enumerations and absent values as numbers.
namespace tfp::test {
template <typename T> QString fieldText(const T& value)
{
    if constexpr (std::is_convertible_v<T, QString>)
        return u'\'' + QString(value) + u'\'';
    else if constexpr (std::is_same_v<T, bool>)
        return value ? QStringLiteral("true") : QStringLiteral("false");
    else if constexpr (std::is_enum_v<T>)
        return QString::number(static_cast<int>(value));
    else
        return QString::number(value);
}
template <typename... Fields> char* fieldsText(const Fields&... fields)
{
    return QTest::toString(u'{' + QStringList{fieldText(fields)...}.join(u',') + u'}');
}
} // namespace tfp::test
// clang-format off
namespace tfp {
inline char* toString(const GameView& v)
{
    const auto& [status, button] = v;
    return test::fieldsText(status.title, status.message, status.colour, button.caption,
                            button.enabled, button.picture.value_or(Light(0)));
}
inline char* toString(const Message& m) { return test::fieldsText(m.title, m.text, m.icon); }
} // namespace tfp
// clang-format on

namespace tfp::test {

// A data-driven test's table has one column, "row", of an aggregate type Row; addRow adds a
// row made of the arguments.
template <typename Row> void addRowColumn()
{
    QTest::addColumn<Row>("row");
}
template <typename Row, typename... Args> void addRow(const char* tag, Args&&... args)
{
    QTest::newRow(tag) << Row(std::forward<Args>(args)...);
}

// The sample game: "Ridge", Anna (player #1) against Ben (player #2), a Basic scenario of 20
// turns, modifier 3, saved 2026-12-05 12:05:12. At turn 16 the first check is of turn 17.
[[nodiscard]] inline GameRecord basicGame(qint16 currentTurn = 16, qint16 endingTurn = 19)
{
    GameRecord r;
    r.GameName = "Ridge";
    r.Version = "1.5.24";
    r.Player1Name = "Anna";
    r.Player2Name = "Ben";
    r.TotalTurns = 20;
    r.TurnVariance = 3;
    r.CurrentTurn = currentTurn;
    r.EndingTurn = endingTurn;
    r.LastSavedDateTime = QDateTime(QDate(2026, 12, 5), QTime(12, 5, 12));
    return r;
}

// The sample game in Secure mode, held by player `holder` and going next to the other,
// with the passwords "Alpha" (Anna) and "Bravo" (Ben).
[[nodiscard]] inline GameRecord secureGame(qint16 currentTurn, qint16 endingTurn, int holder)
{
    GameRecord r = basicGame(currentTurn, endingTurn);
    r.SecurityMode = SecurityMode::Secure;
    r.Player1Pwd = "Alpha";
    r.Player2Pwd = "Bravo";
    r.CurrentPlayer = holder;
    r.DestinationPlayer = otherPlayer(holder);
    return r;
}

// The setup entries of the sample game, with the given numbers, mode and type.
[[nodiscard]] inline SetupEntries sampleEntries(const QString& turns = "20",
                                                const QString& modifier = "3",
                                                SecurityMode mode = SecurityMode::Basic,
                                                GameType type = GameType::Scenario)
{
    return {"Ridge", "Anna", "Ben", turns, modifier, type, mode};
}

// Saves the record at `path` and leaves it with that path and the file's digest, as the copy
// that wrote it holds it, so that a check may save over it; false, with a warning, on failure.
inline bool saveGame(GameRecord& record, const QString& path)
{
    record.FilePath = path;
    FileErrorInfo error;
    if (saveData(record, error, QDateTime::currentDateTime(), &record.FileDigest))
        return true;
    qWarning("could not save %s: %s", qPrintable(path), qPrintable(error.Description));
    return false;
}

// The game in the file at `path`; an empty record, with a warning, when it cannot be read.
[[nodiscard]] inline GameRecord loadGame(const QString& path)
{
    GameRecord r;
    r.FilePath = path;
    FileErrorInfo error;
    if (!getData(r, error))
        qWarning("could not read %s: %s", qPrintable(path), qPrintable(error.Description));
    return r;
}

[[nodiscard]] inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file and folder under `folder`, with each file's bytes.
[[nodiscard]] inline QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        entries[path] = fileBytes(path);
    }
    return entries;
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A game file of these lines: banner lines (starting "---") as they are, data lines given
// in plain text and written enciphered; every line ended by `ending`.
[[nodiscard]] inline QByteArray gameFileBytes(const QStringList& lines,
                                              const QByteArray& ending = "\r\n")
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += (line.startsWith("---") ? line : encipherText(line).value()).toLatin1() + ending;
    return bytes;
}

// A random seed, or TFP_HARDENING_SEED when it is set; printed, so that a run can be replayed.
[[nodiscard]] inline quint32 replayableSeed()
{
    const QByteArray set = qgetenv("TFP_HARDENING_SEED");
    const quint32 seed = set.isEmpty() ? QRandomGenerator::global()->generate() : set.toUInt();
    qInfo("seed %u (set TFP_HARDENING_SEED=%u to replay)", seed, seed);
    return seed;
}

// Gives `content` once and then fails ("The disk has gone away."), or, `endless`, again and
// again; takes `room` bytes written and then fails ("The disk is full."). Opened unbuffered,
// `delivered` counts exactly the bytes a reader took, so a test bounds what a reader accepts.
class TestDevice final : public QIODevice
{
public:
    explicit TestDevice(QByteArray content, bool endless = false, qint64 room = 0)
        : m_content(std::move(content)), m_endless(endless), m_room(room)
    {}
    [[nodiscard]] bool isSequential() const override { return m_endless; }
    qint64 delivered = 0;

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 size = m_endless ? maxSize : qMin(maxSize, m_content.size() - delivered);
        for (qint64 i = 0; i < size; ++i)
            data[i] = m_content.at((delivered + i) % m_content.size());
        delivered += size;
        return size > 0 ? size : (setErrorString("The disk has gone away."), -1);
    }
    qint64 writeData(const char*, qint64 size) override
    {
        m_room -= size;
        return m_room >= 0 ? size : (setErrorString("The disk is full."), -1);
    }

private:
    QByteArray m_content;
    bool m_endless;
    qint64 m_room;
};

} // namespace tfp::test
