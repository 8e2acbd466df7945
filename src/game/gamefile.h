// The game file: a plain banner and one enciphered data line holding the whole record.
// Readers and writers work on any QIODevice; getData and saveData on the record's path.
#pragma once

#include "game/gamerecord.h"
#include "game/interaction.h"

#include <optional>
#include <QDateTime>
#include <QLocale>
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
// fresh record, so nothing of the previous game survives), keeps its FilePath and notes
// the file's digest; on failure the record is left exactly as it was. Anything that is not
// a regular file (a folder, a pipe, a device) is refused before it is opened.
[[nodiscard]] bool getData(GameRecord& record, FileErrorInfo& error);

// Writes the record to record.FilePath atomically: the file holds either its previous
// content or the whole new game, never part of it. A file that is replaced keeps its
// owner where the system allows, its group and its permissions. `digest`, when given,
// receives the digest of what was written.
[[nodiscard]] bool saveData(const GameRecord& record, FileErrorInfo& error,
                            const QDateTime& now = QDateTime::currentDateTime(),
                            QByteArray* digest = nullptr);

// A save that must not undo what another copy of the program (or a synced folder) wrote.
enum class GuardedSave
{
    Saved,
    Failed,           // error says why; nothing was written
    ChangedElsewhere, // the file no longer holds what this copy read or wrote; untouched
};

// Saves the record while holding a lock beside its file, and only when the file there still
// has record.FileDigest (a file that has gone is written anew); on success the record takes
// the new digest.
[[nodiscard]] GuardedSave saveDataIfUnchanged(GameRecord& record, FileErrorInfo& error,
                                              const QDateTime& now = QDateTime::currentDateTime());

// The box for a game file that another copy of the program changed after this one read it.
[[nodiscard]] Message changedElsewhereMessage(const QString& path);

// LastSavedDateTime is written in this form. It is read in this form, in the locale's short
// date followed by its time with or without seconds, or in the US form of older files;
// two-digit years are years of this century.
inline constexpr char kSavedDateFormat[] = "yyyy-MM-dd hh:mm:ss";
[[nodiscard]] QDateTime readSavedDateTime(const QString& text,
                                          const QLocale& locale = QLocale::system());

} // namespace tfp
