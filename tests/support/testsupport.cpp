#include "testsupport.h"

#include "game/cipher.h"
#include "game/gamefile.h"

#include <algorithm>
#include <cstring>
#include <QFile>

namespace tfp::test {

GameRecord basicGame(qint16 currentTurn, qint16 endingTurn)
{
    GameRecord r;
    r.GameName = QStringLiteral("Ridge");
    r.Version = QStringLiteral("1.5.24");
    r.Player1Name = QStringLiteral("Anna");
    r.Player2Name = QStringLiteral("Ben");
    r.TotalTurns = 20;
    r.TurnVariance = 3;
    r.CurrentTurn = currentTurn;
    r.EndingTurn = endingTurn;
    r.LastSavedDateTime = QDateTime(QDate(2026, 12, 5), QTime(12, 5, 12));
    return r;
}

GameRecord secureGame(qint16 currentTurn, qint16 endingTurn, int holder)
{
    GameRecord r = basicGame(currentTurn, endingTurn);
    r.SecurityMode = SecurityMode::Secure;
    r.Player1Pwd = QStringLiteral("Alpha");
    r.Player2Pwd = QStringLiteral("Bravo");
    r.CurrentPlayer = holder;
    r.DestinationPlayer = otherPlayer(holder);
    return r;
}

SetupEntries sampleEntries(const QString& turns, const QString& modifier, SecurityMode mode,
                           GameType type)
{
    return {QStringLiteral("Ridge"),
            QStringLiteral("Anna"),
            QStringLiteral("Ben"),
            turns,
            modifier,
            type,
            mode};
}

bool saveGame(GameRecord& record, const QString& path)
{
    record.FilePath = path;
    FileErrorInfo error;
    if (saveData(record, error, QDateTime::currentDateTime(), &record.FileDigest))
        return true;
    qWarning("could not save %s: %s", qPrintable(path), qPrintable(error.Description));
    return false;
}

GameRecord loadGame(const QString& path)
{
    GameRecord r;
    r.FilePath = path;
    FileErrorInfo error;
    if (!getData(r, error))
        qWarning("could not read %s: %s", qPrintable(path), qPrintable(error.Description));
    return r;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray gameFileBytes(const QStringList& lines, const QByteArray& ending)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes +=
            (line.startsWith(QLatin1String("---")) ? line : encipherText(line).value()).toLatin1() +
            ending;
    return bytes;
}

qint64 FailingDevice::readData(char* data, qint64 maxSize)
{
    const QByteArray part = m_content.first(std::min(maxSize, m_content.size()));
    m_content.remove(0, part.size());
    if (part.isEmpty())
        setErrorString(QStringLiteral("The disk has gone away."));
    std::memcpy(data, part.constData(), static_cast<size_t>(part.size()));
    return part.isEmpty() ? -1 : part.size();
}

qint64 FailingDevice::writeData(const char* data, qint64 size)
{
    if (written.size() + size > m_limit) {
        setErrorString(QStringLiteral("The disk is full."));
        return -1;
    }
    written.append(data, size);
    return size;
}

qint64 EndlessDevice::readData(char* data, qint64 maxSize)
{
    for (qint64 i = 0; i < maxSize; ++i)
        data[i] = m_pattern.at((delivered + i) % m_pattern.size());
    delivered += maxSize;
    return maxSize;
}

} // namespace tfp::test
