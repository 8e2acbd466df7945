// The game files on disk: read whole into a fresh record, written atomically, and saved only
// while they still hold what this copy read, under a lock beside them.
#pragma once

#include "game/gamefile.h"
#include "game/interaction.h"

#include <functional>
#include <optional>
#include <QDateTime>
#include <QString>

namespace tfp {

// The box for a game file that could not be opened or saved, with the failure's
// description and what the player can do about it.
enum class FileAction
{
    Open,
    Save
};
[[nodiscard]] Message fileErrorMessage(FileAction action, const QString& path,
                                       const QString& description);

// The folder part of a path, with its closing separator. False for a blank path.
[[nodiscard]] bool splitPath(const QString& path, QString& result);

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
    Gone,             // the file was deleted or moved away; nothing was written in its place
};

// Saves the record while holding a lock, and only when the file still has record.FileDigest;
// on success the record takes the new digest. Through symbolic links, the lock, the comparison
// and the replacement are all of the one file the links lead to. The new file is written and
// flushed first, and compared just before it replaces the old one; `beforeReplace` (for tests)
// runs at that moment. Holding the lock, it removes the temporary copies that saves cut short
// left beside the file, and gives the lock the file's group and mode, so that another user
// sharing the game can take it over once it is left behind.
[[nodiscard]] GuardedSave saveDataIfUnchanged(GameRecord& record, FileErrorInfo& error,
                                              const QDateTime& now = QDateTime::currentDateTime(),
                                              const std::function<void()>& beforeReplace = {});

// The box for a guarded save that wrote nothing because another copy of the program changed
// the file after this one read it, or because the file is no longer there (`save` says which).
[[nodiscard]] Message changedElsewhereMessage(const QString& path, GuardedSave save);

// The box that refuses a new game's file name when it leaves no room, within the system's
// limit on a name, for the names of the lock and temporary copy made beside the game file;
// nullopt when the name fits.
[[nodiscard]] std::optional<Message> fileNameRefusal(const QString& path);

} // namespace tfp
