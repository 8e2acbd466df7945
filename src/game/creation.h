// Creating a game from confirmed setup entries: the record, the draw or player #1's
// password, and the first save of the file.
#pragma once

#include "game/gamerecord.h"
#include "game/interaction.h"
#include "game/sealedkeys.h"
#include "game/setup.h"

#include <optional>
#include <QDateTime>
#include <QRandomGenerator>

namespace tfp {

// Fills a record from the entries: a Basic game gets its ending turn drawn now; a Secure
// game leaves it undrawn and asks player #1 to choose a password. FilePath stays empty.
[[nodiscard]] GameRecord prepareNewGame(const SetupEntries& entries, Interaction& interaction,
                                        QRandomGenerator& random = *QRandomGenerator::system(),
                                        const QDateTime& now = QDateTime::currentDateTime());

// A Secure game is never created without player #1's password: the message that says so,
// or nullopt when the prepared record may be saved. The window asks it before its file
// dialog, so a refused game writes nothing, not even a setting.
[[nodiscard]] std::optional<Message> creationRefusal(const GameRecord& record);

// Saves a new game to record.FilePath (replacing any file there: the player chose it) and
// notes the file's digest in the record; on failure shows the save error and returns false.
// A name too long to leave room for the lock and temporary copy is refused before anything
// is written. A Sealed game first gets its id and player #1's key file in `keyFolder` (removed
// again when the game cannot be saved).
[[nodiscard]] bool saveNewGame(GameRecord& record, Interaction& interaction,
                               const QDateTime& now = QDateTime::currentDateTime(),
                               const QString& keyFolder = sealed::defaultKeyFolder());

// The file name the save dialog suggests for a game name: characters that a file name
// cannot hold become "-"; an empty name becomes "Game " and the date.
[[nodiscard]] QString suggestedFileName(const QString& gameName,
                                        const QDate& today = QDate::currentDate());

} // namespace tfp
