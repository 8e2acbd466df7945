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

QString& testSettingsFile()
{
    static QString path;
    return path;
}

// QSettings reads a whole settings file into memory, at about three times its size, before
// a single value can be looked at. The program keeps a handful of short values, so a file
// larger than this holds nothing it wrote and is read as holding no values at all.
constexpr qint64 kLargestSettingsFile = 1 << 20;

// The file the store reads from, where it is a file this side can measure.
QString settingsFilePath()
{
    if (!testSettingsFile().isEmpty())
        return testSettingsFile();
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // Where QSettings keeps the native (INI) store of a user-scope organisation/application.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Torva/TorvaFoglineTurnpicker.conf");
#else
    return {};
#endif
}

bool settingsFileTooLarge()
{
    const QString path = settingsFilePath();
    return !path.isEmpty() && QFileInfo(path).size() > kLargestSettingsFile;
}

QString settingsKey()
{
    return QLatin1String(kSettingsKey);
}

// The group of a sub-key inside a store whose top level is the settings key.
QString groupWithinStore(const QString& subKey)
{
    const QString key = settingsKey();
    QString relative = subKey;
    if (relative.compare(key, Qt::CaseInsensitive) == 0)
        relative.clear();
    else if (relative.startsWith(key + u'\\', Qt::CaseInsensitive))
        relative = relative.sliced(key.size() + 1);
    return relative.replace(u'\\', u'/');
}

// A QSettings opened on the sub-key.
std::unique_ptr<QSettings> openKey(SettingsRoot root, const QString& subKey)
{
    Q_UNUSED(root); // the one root there is
    std::unique_ptr<QSettings> settings;
    QString group = groupWithinStore(subKey);
    if (!testSettingsFile().isEmpty()) {
        settings = std::make_unique<QSettings>(testSettingsFile(), QSettings::IniFormat);
    } else {
#ifdef Q_OS_WIN
        settings = std::make_unique<QSettings>(QStringLiteral("HKEY_LOCAL_MACHINE\\") + subKey,
                                               QSettings::NativeFormat);
        group.clear();
#else
        settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                               QStringLiteral("Torva"),
                                               QStringLiteral("TorvaFoglineTurnpicker"));
#endif
    }
    // Only what this store holds counts: no organisation-wide or system-wide fallback.
    settings->setFallbacksEnabled(false);
    if (!group.isEmpty())
        settings->beginGroup(group);
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

QString ReadSetting(SettingsRoot root, const QString& subKey, const QString& valueName)
{
    if (valueName.isEmpty() || settingsFileTooLarge())
        return {};
    try {
        const auto settings = openKey(root, subKey);
        const QVariant value = settings->value(valueName);
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

bool WriteSetting(SettingsRoot root, const QString& subKey, const QString& valueName,
                  const QString& value)
{
    if (valueName.isEmpty())
        return true;
    try {
        const auto settings = openKey(root, subKey);
        settings->setValue(valueName, throughCodePage(value));
        settings->sync();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

QString DeleteSetting(SettingsRoot root, const QString& subKey, const QString& valueName)
{
    // An empty name would remove the whole key.
    if (valueName.isEmpty())
        return {};
    try {
        const auto settings = openKey(root, subKey);
        // remove() would also take a sub-key of the same name; only a value goes.
        if (settings->contains(valueName))
            settings->remove(valueName);
        settings->sync();
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
    const auto read = [](const char* name) {
        return ReadSetting(SettingsRoot::LocalMachine, settingsKey(), QLatin1String(name));
    };
    SettingsFlags& flags = settingsFlags();
    flags.PlaySounds = isOn(read("PlaySounds"));
    flags.ReusePlayerNames = isOn(read("ReusePlayerNames"));
    flags.UseLastSavePath = isOn(read("UseLastSavePath"));
    const QString placement = read("RestoreWindowPosition");
    flags.RestoreWindowPosition = !placement.isEmpty();
    if (flags.RestoreWindowPosition)
        flags.placement = ParsePlacement(placement);
}

} // namespace tfp::shell
