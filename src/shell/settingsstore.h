// The program's settings: the one place that names the stored values, three operations on
// them, and the option flags and window placement read from them at start-up.
#pragma once

#include "shell/placement.h"

#include <array>
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

struct SettingsFlags
{
    bool PlaySounds = false;
    bool ReusePlayerNames = false;
    bool UseLastSavePath = false;
    bool RestoreWindowPosition = false;
    WindowPlacement placement;

    friend bool operator==(const SettingsFlags&, const SettingsFlags&) = default;
};

enum class SettingScope
{
    Option, // a check box of the Options dialog and a flag of the running program
    Memory, // what the program remembers from one run to the next
};

// One setting: its name in the store, its scope, and for an option its flag and whether an
// empty or absent value switches it on. The one option that an empty value leaves off,
// RestoreWindowPosition, holds the window placement rather than "True" or "False".
struct SettingSpec
{
    Setting setting;
    const char* name;
    SettingScope scope;
    bool SettingsFlags::*flag; // nullptr for a remembered value
    bool onWhenEmpty;
};

// Every setting, in the order of the enumeration.
inline constexpr std::array<SettingSpec, 7> kSettings = {{
    {Setting::PlaySounds, "PlaySounds", SettingScope::Option, &SettingsFlags::PlaySounds, true},
    {Setting::ReusePlayerNames, "ReusePlayerNames", SettingScope::Option,
     &SettingsFlags::ReusePlayerNames, true},
    {Setting::UseLastSavePath, "UseLastSavePath", SettingScope::Option,
     &SettingsFlags::UseLastSavePath, true},
    {Setting::RestoreWindowPosition, "RestoreWindowPosition", SettingScope::Option,
     &SettingsFlags::RestoreWindowPosition, false},
    {Setting::Player1Name, "Player1Name", SettingScope::Memory, nullptr, false},
    {Setting::Player2Name, "Player2Name", SettingScope::Memory, nullptr, false},
    {Setting::LastSavePath, "LastSavePath", SettingScope::Memory, nullptr, false},
}};

[[nodiscard]] constexpr const SettingSpec& settingSpec(Setting setting)
{
    return kSettings[static_cast<std::size_t>(setting)];
}

// The stored text with the spaces at both ends removed, passed through Windows-1252. Empty
// when the value is missing, is not text (a number, a list, a variant), or holds 255
// characters or more. Never reports an error.
[[nodiscard]] QString ReadSetting(Setting setting);

// Stores the value as text (a character Windows-1252 lacks becomes '?'). Returns true also
// when the store could not be written; false only when writing was interrupted by an
// unexpected failure.
bool WriteSetting(Setting setting, const QString& value);

// Removes the value; a missing one is ignored.
void DeleteSetting(Setting setting);

// Test seam: every call uses this INI file instead of the real store; an empty path
// restores the real store.
void setSettingsFileForTesting(const QString& iniPath);

#ifdef Q_OS_WIN
// Test seam: the registry store uses this key (under both roots) instead of the settings
// key; an empty one restores the settings key.
void setRegistryKeyForTesting(const QString& subKey);
#endif

// The process-wide flags: all off and the placement all zero until LoadSettings runs.
SettingsFlags& settingsFlags();

// Fills the flags from the store. PlaySounds, ReusePlayerNames and UseLastSavePath are on
// when empty or absent, otherwise on exactly for "true" in any case. A non-empty
// RestoreWindowPosition switches restoring on and replaces the placement with its parsed
// text; an empty one switches it off and leaves the placement as it was.
void LoadSettings();

} // namespace tfp::shell
