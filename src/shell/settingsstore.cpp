#include "shell/settingsstore.h"

#include "game/codepage.h"

#include <exception>
#include <memory>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <string>
#endif

namespace tfp::shell {
namespace {

static_assert(
    [] {
        for (std::size_t i = 0; i < kSettings.size(); ++i) {
            if (static_cast<std::size_t>(kSettings[i].setting) != i)
                return false;
        }
        return true;
    }(),
    "kSettings lists every setting in the order of the enumeration");

// The registry reads at most 255 bytes including the terminating NUL.
constexpr qsizetype kLongestReadable = 254;

// QSettings reads a whole settings file into memory, at about three times its size, when it
// is opened. The program keeps a handful of short values, so a file larger than this holds
// nothing it wrote and is read as holding no values at all.
constexpr qint64 kLargestSettingsFile = 1 << 20;

QString& testSettingsFile()
{
    static QString path;
    return path;
}

// The INI file the store lives in, or empty where the store is not a file of ours (the
// registry on Windows, the preferences system on macOS). QSettings is opened on this very
// path, so the size guard and the store always look at the same file.
QString storeFile()
{
    if (!testSettingsFile().isEmpty())
        return testSettingsFile();
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    return {};
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Torva/TorvaFoglineTurnpicker.conf");
#endif
}

// The store, or nullptr when its file is too large to be worth reading.
std::unique_ptr<QSettings> openStore()
{
    std::unique_ptr<QSettings> settings;
    if (const QString file = storeFile(); !file.isEmpty()) {
        if (QFileInfo(file).size() > kLargestSettingsFile)
            return nullptr;
        settings = std::make_unique<QSettings>(file, QSettings::IniFormat);
    } else {
        settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                               QStringLiteral("Torva"),
                                               QStringLiteral("TorvaFoglineTurnpicker"));
    }
    // Only what this store holds counts: no organisation-wide or system-wide fallback.
    settings->setFallbacksEnabled(false);
    return settings;
}

#ifdef Q_OS_WIN

QString& testRegistryKey()
{
    static QString key;
    return key;
}

// Windows keeps the settings in the registry, under the settings key of the local machine.
// A standard user may not write there, so what such a user changes is kept under the same
// key of the current user, which is read first. The values are read and written with the
// registry's own calls, as plain REG_SZ text: QSettings would store a text beginning with
// "@" as "@@...", which other builds read back as typed, and would read an expandable or
// binary value as text.
enum class Hive
{
    CurrentUser,
    LocalMachine
};

HKEY rootKey(Hive hive)
{
    return hive == Hive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

std::wstring settingsKey()
{
    return (testRegistryKey().isEmpty() ? QStringLiteral("Software\\Torva\\TorvaFoglineTurnpicker")
                                        : testRegistryKey())
        .toStdWString();
}

bool usesRegistry()
{
    return testSettingsFile().isEmpty();
}

bool registryHas(Hive hive, const QString& name)
{
    return RegGetValueW(rootKey(hive), settingsKey().c_str(), qUtf16Printable(name),
                        RRF_RT_ANY | RRF_NOEXPAND, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// The value as text; a value of any other type (an expandable text, a number, binary data)
// reads as a value that is not text.
QVariant registryValue(Hive hive, const QString& name)
{
    const std::wstring key = settingsKey();
    DWORD type = REG_NONE;
    DWORD bytes = 0;
    if (RegGetValueW(rootKey(hive), key.c_str(), qUtf16Printable(name), RRF_RT_ANY | RRF_NOEXPAND,
                     &type, nullptr, &bytes) != ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = DWORD(text.size() * sizeof(wchar_t));
    if (RegGetValueW(rootKey(hive), key.c_str(), qUtf16Printable(name), RRF_RT_REG_SZ, nullptr,
                     text.data(), &bytes) != ERROR_SUCCESS)
        return {};
    return QString::fromWCharArray(text.c_str());
}

bool setRegistryValue(Hive hive, const QString& name, const QString& value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(rootKey(hive), settingsKey().c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring text = value.toStdWString();
    const bool written =
        RegSetValueExW(key, qUtf16Printable(name), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(text.c_str()),
                       DWORD((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    RegCloseKey(key);
    return written;
}

void removeRegistryValue(Hive hive, const QString& name)
{
    RegDeleteKeyValueW(rootKey(hive), settingsKey().c_str(), qUtf16Printable(name));
}

// Writes the value where it is kept: the machine's key, or the user's when the machine's
// refuses. A value written to the machine's key takes the place of the user's own.
void writeToRegistry(const QString& name, const QString& value)
{
    if (setRegistryValue(Hive::LocalMachine, name, value))
        removeRegistryValue(Hive::CurrentUser, name);
    else
        setRegistryValue(Hive::CurrentUser, name, value);
}

// Removes the value from both keys. Where the machine's value cannot be removed, an empty
// value of the user's hides it, since an empty value reads as a missing one.
void deleteFromRegistry(const QString& name)
{
    removeRegistryValue(Hive::LocalMachine, name);
    if (registryHas(Hive::LocalMachine, name))
        setRegistryValue(Hive::CurrentUser, name, QString());
    else
        removeRegistryValue(Hive::CurrentUser, name);
}

#endif

// Text as the single-byte code page keeps it.
QString throughCodePage(const QString& text)
{
    return fromCodePage(toCodePage(text));
}

QString withoutOuterSpaces(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.sliced(first, last - first);
}

// The value's text as ReadSetting gives it.
QString storedText(const QVariant& value)
{
    if (value.typeId() != QMetaType::QString)
        return {};
    const QString text = value.toString();
    if (text.size() > kLongestReadable)
        return {};
    return withoutOuterSpaces(throughCodePage(text));
}

bool isOn(const QString& text)
{
    return text.isEmpty() || text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

} // namespace

QString ReadSetting(Setting setting)
{
    try {
        const QString name = QLatin1String(settingSpec(setting).name);
#ifdef Q_OS_WIN
        if (usesRegistry()) {
            for (const Hive hive : {Hive::CurrentUser, Hive::LocalMachine}) {
                if (registryHas(hive, name))
                    return storedText(registryValue(hive, name));
            }
            return {};
        }
#endif
        const auto settings = openStore();
        return settings ? storedText(settings->value(name)) : QString();
    } catch (const std::exception&) {
        return {};
    }
}

bool WriteSetting(Setting setting, const QString& value)
{
    try {
        const QString name = QLatin1String(settingSpec(setting).name);
#ifdef Q_OS_WIN
        if (usesRegistry()) {
            writeToRegistry(name, throughCodePage(value));
            return true;
        }
#endif
        if (const auto settings = openStore()) {
            settings->setValue(name, throughCodePage(value));
            settings->sync();
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void DeleteSetting(Setting setting)
{
    try {
        const QString name = QLatin1String(settingSpec(setting).name);
#ifdef Q_OS_WIN
        if (usesRegistry()) {
            deleteFromRegistry(name);
            return;
        }
#endif
        if (const auto settings = openStore()) {
            // remove() would also take a sub-key of the same name; only a value goes.
            if (settings->contains(name))
                settings->remove(name);
            settings->sync();
        }
    } catch (const std::exception&) {
    }
}

void setSettingsFileForTesting(const QString& iniPath)
{
    testSettingsFile() = iniPath;
}

#ifdef Q_OS_WIN
void setRegistryKeyForTesting(const QString& subKey)
{
    testRegistryKey() = subKey;
}
#endif

SettingsFlags& settingsFlags()
{
    static SettingsFlags flags;
    return flags;
}

void LoadSettings()
{
    SettingsFlags& flags = settingsFlags();
    for (const SettingSpec& entry : kSettings) {
        if (entry.scope != SettingScope::Option)
            continue;
        const QString text = ReadSetting(entry.setting);
        if (entry.onWhenEmpty) {
            flags.*entry.flag = isOn(text);
        } else {
            flags.*entry.flag = !text.isEmpty();
            if (!text.isEmpty())
                flags.placement = ParsePlacement(text);
        }
    }
}

} // namespace tfp::shell
