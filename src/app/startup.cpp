#include "startup.h"

#include "appversion.h"

#include <QGuiApplication>

namespace tfp::app {

QString commandLinePath(const QStringList& arguments)
{
    return arguments.join(u' ').remove(u'"');
}

void setApplicationIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Torva"));
    QCoreApplication::setApplicationName(QStringLiteral("TorvaFoglineTurnpicker"));
    QCoreApplication::setApplicationVersion(QLatin1String(appinfo::kVersionText));
    QGuiApplication::setDesktopFileName(QStringLiteral("turnpicker"));
}

QString missingDisplayReason()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return QStringLiteral("turnpicker: no display to show the window on; to create games and "
                              "check turns from a terminal, use turnpicker-cli.");
#endif
    return {};
}

} // namespace tfp::app
