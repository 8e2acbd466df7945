// Loads the settings from an INI file holding arbitrary stored values. The first byte
// chooses how the rest becomes the file: taken as the file itself, or split at NUL bytes
// into the four option values, each stored as text, a number or a list. Beyond not
// crashing: every value reads back trimmed and at most 254 characters long, and a stored
// placement is the one LoadSettings took.
#include "shell/placement.h"
#include "shell/settingsstore.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace {

using namespace tfp::shell;

const char* const kValueNames[] = {
    "PlaySounds",  "ReusePlayerNames", "UseLastSavePath", "RestoreWindowPosition",
    "Player1Name", "Player2Name",      "LastSavePath"};

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    if (!dir.isValid())
        std::abort();
    return dir;
}

// A new file for every input: the settings keep a cache per file, keyed on its name and
// checked against its size and time, which a rewrite within the same instant would fool.
QString nextFile()
{
    static quint64 count = 0;
    return folder().filePath(QStringLiteral("settings-%1.ini").arg(++count));
}

void storeValues(const QString& path, const QByteArray& bytes)
{
    QSettings settings(path, QSettings::IniFormat);
    const QList<QByteArray> parts = bytes.split('\0');
    for (qsizetype i = 0; i < parts.size() && i < 4; ++i) {
        const QByteArray& part = parts.at(i);
        if (part.isEmpty())
            continue;
        const QString name = QLatin1String(kValueNames[i]);
        const QString text = QString::fromLatin1(part.sliced(1));
        switch (static_cast<unsigned char>(part.front()) % 4) {
        case 0:
            settings.setValue(name, text);
            break;
        case 1:
            settings.setValue(name, text.toLongLong());
            break;
        case 2:
            settings.setValue(name, text.split(u','));
            break;
        default:
            settings.setValue(name, part.sliced(1));
            break;
        }
    }
    settings.sync();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1),
                           static_cast<qsizetype>(size - 1));
    const QString path = nextFile();
    if (data[0] % 2 == 0) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            std::abort();
    } else {
        storeValues(path, bytes);
    }

    setSettingsFileForTesting(path);
    LoadSettings();
    for (const Setting setting :
         {Setting::PlaySounds, Setting::ReusePlayerNames, Setting::UseLastSavePath,
          Setting::RestoreWindowPosition, Setting::Player1Name, Setting::Player2Name,
          Setting::LastSavePath}) {
        const QString value = ReadSetting(setting);
        if (value.size() > 254 || value.startsWith(u' ') || value.endsWith(u' '))
            std::abort();
    }
    const SettingsFlags& flags = settingsFlags();
    const QString placement = ReadSetting(Setting::RestoreWindowPosition);
    if (flags.RestoreWindowPosition != !placement.isEmpty())
        std::abort();
    if (flags.RestoreWindowPosition && flags.placement != ParsePlacement(placement))
        std::abort();
    setSettingsFileForTesting(QString());
    QFile::remove(path);
    return 0;
}
