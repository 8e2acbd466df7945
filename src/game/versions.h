// The application's version and the game file versions this build opens.
#pragma once

#include "game/gamerecord.h"
#include "game/interaction.h"

#include <QStringList>

namespace tfp {

// The version a game file of each security mode carries: Basic and Secure games keep the
// version every 1.5 copy opens; Sealed games carry the first version that plays them, so an
// older copy refuses them.
inline constexpr char kClassicGameVersion[] = "1.5.24";
inline constexpr char kSealedGameVersion[] = "1.6.0";
[[nodiscard]] QString gameFileVersion(SecurityMode mode);

// Names the application as both programs share it (organisation, name, version), so that
// they find the same per-user data folder.
void setApplicationNames();

// "Major.Minor.Revision" of the running program.
[[nodiscard]] QString getAppVersion();

// The game file versions this build opens, in order.
[[nodiscard]] const QStringList& supportedVersions();

// The refusal shown for a file of another version.
[[nodiscard]] Message versionCompatibilityMessage(const GameRecord& record);

// True when the record's Version is supported (exact, case-sensitive); otherwise shows
// the refusal and returns false.
[[nodiscard]] bool isSupportedFileVersion(const GameRecord& record, Interaction& interaction);

} // namespace tfp
