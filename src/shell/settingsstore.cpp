#include "shell/settingsstore.h"

#include "game/codepage.h"

#include <exception>
#include <memory>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

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
// key of the current user, which is read first.
enum class Hive
{
    CurrentUser,
    LocalMachine
};

std::unique_ptr<QSettings> openRegistryKey(Hive hive)
{
    const QString key = testRegistryKey().isEmpty()
                            ? QStringLiteral("Software\\Torva\\TorvaFoglineTurnpicker")
                            : testRegistryKey();
    const QString root = hive == Hive::LocalMachine ? QStringLiteral("HKEY_LOCAL_MACHINE\\")
                                                    : QStringLiteral("HKEY_CURRENT_USER\\");
    auto settings = std::make_unique<QSettings>(root + key, QSettings::NativeFormat);
    settings->setFallbacksEnabled(false);
    return settings;
}

bool usesRegistry()
{
    return testSettingsFile().isEmpty();
}

// Writes the value where it is kept: the machine's key, or the user's when the machine's
// refuses. A value written to the machine's key takes the place of the user's own.
void writeToRegistry(const QString& name, const QString& value)
{
    const auto machine = openRegistryKey(Hive::LocalMachine);
    machine->setValue(name, value);
    machine->sync();
    const auto user = openRegistryKey(Hive::CurrentUser);
    if (machine->status() == QSettings::NoError) {
        if (user->contains(name))
            user->remove(name);
    } else {
        user->setValue(name, value);
    }
    user->sync();
}

// Removes the value from both keys. Where the machine's value cannot be removed, an empty
// value of the user's hides it, since an empty value reads as a missing one.
void deleteFromRegistry(const QString& name)
{
    const auto machine = openRegistryKey(Hive::LocalMachine);
    if (machine->contains(name))
        machine->remove(name);
    machine->sync();
    const auto user = openRegistryKey(Hive::CurrentUser);
    if (machine->contains(name))
        user->setValue(name, QString());
    else if (user->contains(name))
        user->remove(name);
    user->sync();
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
QString storedText(const QSettings& settings, const QString& name)
{
    const QVariant value = settings.value(name);
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
                if (const auto key = openRegistryKey(hive); key->contains(name))
                    return storedText(*key, name);
            }
            return {};
        }
#endif
        const auto settings = openStore();
        return settings ? storedText(*settings, name) : QString();
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
    for (const SettingSpec& spec : kSettings) {
        if (spec.scope != SettingScope::Option)
            continue;
        const QString text = ReadSetting(spec.setting);
        if (spec.onWhenEmpty) {
            flags.*spec.flag = isOn(text);
        } else {
            flags.*spec.flag = !text.isEmpty();
            if (!text.isEmpty())
                flags.placement = ParsePlacement(text);
        }
    }
}

} // namespace tfp::shell
