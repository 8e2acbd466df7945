// The program's settings: the one place that names the stored values, three operations on
// them, and the option flags and window placement read from them at start-up.
#pragma once

#include "shell/placement.h"

#include <QString>
#include <QtGlobal>

namespace tfp::shell {

// Every value the program keeps. Windows: text values under
// HKEY_LOCAL_MACHINE\Software\Torva\TorvaFoglineTurnpicker, read first from the same key
// under HKEY_CURRENT_USER and written there when the machine's key refuses a standard
// user. Linux and macOS: the user's own native settings store, since no machine-wide one is
// writable.
enum class Setting
{
    PlaySounds,
    ReusePlayerNames,
    UseLastSavePath,
    RestoreWindowPosition,
    Player1Name,
    Player2Name,
    LastSavePath,
};

// The value's name in the store ("PlaySounds", ...).
[[nodiscard]] QString settingName(Setting setting);

// The stored text with the spaces at both ends removed, passed through Windows-1252. Empty
// when the value is missing, is not text (a number, a list, a variant), or holds 255
// characters or more. Never reports an error.
[[nodiscard]] QString ReadSetting(Setting setting);

// Stores the value as text (a character Windows-1252 lacks becomes '?'). Returns true also
// when the store could not be written; false only when writing was interrupted by an
// unexpected failure.
bool WriteSetting(Setting setting, const QString& value);

// Removes the value; a missing one is ignored. Always returns the empty string.
QString DeleteSetting(Setting setting);

// Test seam: every call uses this INI file instead of the real store; an empty path
// restores the real store.
void setSettingsFileForTesting(const QString& iniPath);

#ifdef Q_OS_WIN
// Test seam: the registry store uses this key (under both roots) instead of the settings
// key; an empty one restores the settings key.
void setRegistryKeyForTesting(const QString& subKey);
#endif

struct SettingsFlags
{
    bool PlaySounds = false;
    bool ReusePlayerNames = false;
    bool UseLastSavePath = false;
    bool RestoreWindowPosition = false;
    WindowPlacement placement;
};

// The process-wide flags: all off and the placement all zero until LoadSettings runs.
SettingsFlags& settingsFlags();

// Fills the flags from the store. PlaySounds, ReusePlayerNames and UseLastSavePath are on
// when empty or absent, otherwise on exactly for "true" in any case. A non-empty
// RestoreWindowPosition switches restoring on and replaces the placement with its parsed
// text; an empty one switches it off and leaves the placement as it was.
void LoadSettings();

} // namespace tfp::shell
