#include "game/versions.h"

#include "appversion.h"
#include "game/shown.h"

#include <QCoreApplication>

namespace tfp {

void setApplicationNames()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Torva"));
    QCoreApplication::setApplicationName(QStringLiteral("TorvaFoglineTurnpicker"));
    QCoreApplication::setApplicationVersion(QLatin1String(appinfo::kVersionText));
}

QString getAppVersion()
{
    return QStringLiteral("%1.%2.%3")
        .arg(appinfo::kVersionMajor)
        .arg(appinfo::kVersionMinor)
        .arg(appinfo::kVersionRevision);
}

QString gameFileVersion(SecurityMode mode)
{
    return QLatin1String(mode == SecurityMode::Sealed ? kSealedGameVersion : kClassicGameVersion);
}

const QStringList& supportedVersions()
{
    static const QStringList versions = {QStringLiteral("1.5.22"), QStringLiteral("1.5.23"),
                                         QStringLiteral("1.5.24"), QStringLiteral("1.6.0")};
    return versions;
}

Message versionCompatibilityMessage(const GameRecord& record)
{
    const QString title = QLatin1String(appinfo::kProductName);
    const QString fileVersion = record.Version.isEmpty()
                                    ? QStringLiteral("(Missing Version Information)")
                                    : shownText(record.Version);
    const QString text =
        QStringLiteral("The specified file is not compatible with this version of the ") + title +
        QStringLiteral(" application and cannot be opened.") +
        QStringLiteral("\r\n   Application Version: \t") + getAppVersion() +
        QStringLiteral("\r\n   File Version:        \t\t") + fileVersion +
        QStringLiteral("\r\n\r\nVersion compatibility between the application and the game file "
                       "is enforced in order to support encryption and security.  Check "
                       "'About' to see which file versions are supported by this version of "
                       "the application.");
    return {title + QStringLiteral(" - Version Compatibility Error"), text,
            MessageIcon::Exclamation};
}

bool isSupportedFileVersion(const GameRecord& record, Interaction& interaction)
{
    if (supportedVersions().contains(record.Version, Qt::CaseSensitive))
        return true;
    interaction.showMessage(versionCompatibilityMessage(record));
    return false;
}

} // namespace tfp
