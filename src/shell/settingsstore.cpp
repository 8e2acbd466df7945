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
#ifdef Q_OS_WIN
        settings = std::make_unique<QSettings>(
            QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Torva\\TorvaFoglineTurnpicker"),
            QSettings::NativeFormat);
#else
        settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                               QStringLiteral("Torva"),
                                               QStringLiteral("TorvaFoglineTurnpicker"));
#endif
    }
    // Only what this store holds counts: no organisation-wide or system-wide fallback.
    settings->setFallbacksEnabled(false);
    return settings;
}

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

bool isOn(const QString& text)
{
    return text.isEmpty() || text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

} // namespace

QString settingName(Setting setting)
{
    switch (setting) {
    case Setting::PlaySounds:
        return QStringLiteral("PlaySounds");
    case Setting::ReusePlayerNames:
        return QStringLiteral("ReusePlayerNames");
    case Setting::UseLastSavePath:
        return QStringLiteral("UseLastSavePath");
    case Setting::RestoreWindowPosition:
        return QStringLiteral("RestoreWindowPosition");
    case Setting::Player1Name:
        return QStringLiteral("Player1Name");
    case Setting::Player2Name:
        return QStringLiteral("Player2Name");
    case Setting::LastSavePath:
        break;
    }
    return QStringLiteral("LastSavePath");
}

QString ReadSetting(Setting setting)
{
    try {
        const auto settings = openStore();
        if (!settings)
            return {};
        const QVariant value = settings->value(settingName(setting));
        if (value.typeId() != QMetaType::QString)
            return {};
        const QString text = value.toString();
        if (text.size() > kLongestReadable)
            return {};
        return withoutOuterSpaces(throughCodePage(text));
    } catch (const std::exception&) {
        return {};
    }
}

bool WriteSetting(Setting setting, const QString& value)
{
    try {
        if (const auto settings = openStore()) {
            settings->setValue(settingName(setting), throughCodePage(value));
            settings->sync();
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

QString DeleteSetting(Setting setting)
{
    try {
        if (const auto settings = openStore()) {
            // remove() would also take a sub-key of the same name; only a value goes.
            if (settings->contains(settingName(setting)))
                settings->remove(settingName(setting));
            settings->sync();
        }
    } catch (const std::exception&) {
    }
    return {};
}

void setSettingsFileForTesting(const QString& iniPath)
{
    testSettingsFile() = iniPath;
}

SettingsFlags& settingsFlags()
{
    static SettingsFlags flags;
    return flags;
}

void LoadSettings()
{
    SettingsFlags& flags = settingsFlags();
    flags.PlaySounds = isOn(ReadSetting(Setting::PlaySounds));
    flags.ReusePlayerNames = isOn(ReadSetting(Setting::ReusePlayerNames));
    flags.UseLastSavePath = isOn(ReadSetting(Setting::UseLastSavePath));
    const QString placement = ReadSetting(Setting::RestoreWindowPosition);
    flags.RestoreWindowPosition = !placement.isEmpty();
    if (flags.RestoreWindowPosition)
        flags.placement = ParsePlacement(placement);
}

} // namespace tfp::shell
