// The game file's format: a plain banner and one enciphered data line holding the whole
// record, written to and read from any QIODevice. The files themselves: gamestore.h.
#pragma once

#include "game/gamerecord.h"

#include <optional>
#include <QDateTime>
#include <QString>

class QCryptographicHash;
class QIODevice;

namespace tfp {

inline constexpr char kGameFileExtension[] = ".tfp";

// Why a read or a save failed. Number is the file error code, 0 for a reason of our own.
struct FileErrorInfo
{
    qint32 Number = 0;
    QString Description;
    QString Source;
};

void initFileErrorInfo(FileErrorInfo& error, const QString& source);

// Fills `error` from the device's error (a text of our own when it gives none); returns false.
bool failFromDevice(QIODevice& device, FileErrorInfo& error);

// "<tag>value</tag>", or nothing at all for an empty value.
[[nodiscard]] QString wrapInTag(const QString& value, const QString& tag);
// The text between the first "<tag>" and the first "</tag>"; empty when either is absent;
// nullopt when the closing tag comes before the end of the opening one.
[[nodiscard]] std::optional<QString> getTagValue(const QString& text, const QString& tag);

// The plain data line of a record, and the record read back from one.
[[nodiscard]] QString plainDataLine(const GameRecord& record);
[[nodiscard]] bool readDataLine(const QString& plain, GameRecord& record, QString& error);

// The whole file, written to or read from a device that is open already. A successful read
// takes the device to its end and adds every byte it read, and so parsed, to `digest`.
[[nodiscard]] bool writeGame(QIODevice& device, const GameRecord& record, const QDateTime& now,
                             FileErrorInfo& error);
[[nodiscard]] bool readGame(QIODevice& device, GameRecord& record, FileErrorInfo& error,
                            QCryptographicHash* digest = nullptr);

} // namespace tfp
