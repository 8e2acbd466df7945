// The game file: a plain banner and one enciphered data line holding the whole record.
// Readers and writers work on any QIODevice; getData and saveData on the record's path.
#pragma once

#include "game/gamerecord.h"
#include "game/interaction.h"

#include <optional>
#include <QDateTime>
#include <QString>

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

// The box for a game file that could not be opened or saved, with the failure's
// description and what the player can do about it.
enum class FileAction
{
    Open,
    Save
};
[[nodiscard]] Message fileErrorMessage(FileAction action, const QString& path,
                                       const QString& description);

// "<tag>value</tag>", or nothing at all for an empty value.
[[nodiscard]] QString wrapInTag(const QString& value, const QString& tag);
// The text between the first "<tag>" and the first "</tag>"; empty when either is absent;
// nullopt when the closing tag comes before the end of the opening one.
[[nodiscard]] std::optional<QString> getTagValue(const QString& text, const QString& tag);

// The folder part of a path, with its closing separator. False for a blank path.
[[nodiscard]] bool splitPath(const QString& path, QString& result);

// The plain data line of a record, and the record read back from one.
[[nodiscard]] QString plainDataLine(const GameRecord& record);
[[nodiscard]] bool readDataLine(const QString& plain, GameRecord& record, QString& error);

// The whole file, written to or read from a device that is open already.
[[nodiscard]] bool writeGame(QIODevice& device, const GameRecord& record, const QDateTime& now,
                             FileErrorInfo& error);
[[nodiscard]] bool readGame(QIODevice& device, GameRecord& record, FileErrorInfo& error);

// Reads the file at record.FilePath. On success the record takes the file's game (into a
// fresh record, so nothing of the previous game survives) and keeps its FilePath; on
// failure the record is left exactly as it was.
[[nodiscard]] bool getData(GameRecord& record, FileErrorInfo& error);

// Writes the record to record.FilePath atomically: the file holds either its previous
// content or the whole new game, never part of it.
[[nodiscard]] bool saveData(const GameRecord& record, FileErrorInfo& error,
                            const QDateTime& now = QDateTime::currentDateTime());

// The date forms of LastSavedDateTime: written in the first, read in any of them.
inline constexpr char kSavedDateFormat[] = "yyyy-MM-dd hh:mm:ss";
[[nodiscard]] QDateTime readSavedDateTime(const QString& text);

} // namespace tfp
