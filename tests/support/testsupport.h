// What the test programs share: the sample games, game files written and read back, and
// devices that fail after N bytes or never end.
#pragma once

#include "game/gamerecord.h"
#include "game/setup.h"

#include <QIODevice>
#include <QStringList>
#include <QTest>

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

// The sample game: "Ridge", Anna (player #1) against Ben (player #2), a Basic scenario of
// 20 turns with a modifier of 3, last saved on 2026-12-05 at 12:05:12. At turn 16 no turn
// has been checked; the first check is of turn 17.
[[nodiscard]] GameRecord basicGame(qint16 currentTurn = 16, qint16 endingTurn = 19);

// The sample game in Secure mode, held by player `holder` and going next to the other,
// with the passwords "Alpha" (Anna) and "Bravo" (Ben).
[[nodiscard]] GameRecord secureGame(qint16 currentTurn, qint16 endingTurn, int holder);

// The setup entries of the sample game, with the given numbers, mode and type.
[[nodiscard]] SetupEntries sampleEntries(const QString& turns = QStringLiteral("20"),
                                         const QString& modifier = QStringLiteral("3"),
                                         SecurityMode mode = SecurityMode::Basic,
                                         GameType type = GameType::Scenario);

// Saves the record at `path` and leaves it as the copy of the program that wrote it holds
// it: with that path and the digest of the file, so that a check may save over it later.
// False, with a warning, when it cannot be saved.
bool saveGame(GameRecord& record, const QString& path);

// The game in the file at `path`; an empty record, with a warning, when it cannot be read.
[[nodiscard]] GameRecord loadGame(const QString& path);

[[nodiscard]] QByteArray fileBytes(const QString& path);
bool writeFile(const QString& path, const QByteArray& bytes);

// A game file of these lines: banner lines (starting "---") as they are, data lines given
// in plain text and written enciphered; every line ended by `ending`.
[[nodiscard]] QByteArray gameFileBytes(const QStringList& lines, const QByteArray& ending = "\r\n");

// Gives `content`, or takes what is written, until `limit` bytes have passed, and then
// fails: "The disk has gone away." when read, "The disk is full." when written.
class FailingDevice final : public QIODevice
{
public:
    FailingDevice(qint64 limit, QByteArray content = {})
        : m_content(content.first(qMin(limit, content.size()))), m_limit(limit)
    {}
    QByteArray written;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    QByteArray m_content;
    qint64 m_limit;
};

// Gives `pattern` again and again without end; opened for reading, unbuffered, so that
// `delivered` counts exactly the bytes a reader took: a test bounds the input a reader
// accepts by bytes, not by time.
class EndlessDevice final : public QIODevice
{
public:
    explicit EndlessDevice(QByteArray pattern) : m_pattern(std::move(pattern))
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    [[nodiscard]] bool isSequential() const override { return true; }
    qint64 delivered = 0;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_pattern;
};

} // namespace tfp::test
