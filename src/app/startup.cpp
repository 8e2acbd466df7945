#include "startup.h"

#include <QtGlobal>

namespace tfp::app {

QString commandLinePath(const QStringList& arguments)
{
    return arguments.join(u' ').remove(u'"');
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
