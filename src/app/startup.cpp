// What the desktop program works out from its command line and environment.
#include "startup.h"

#include "appversion.h"
#include "game/versions.h"

#include <QGuiApplication>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace tfp::app {
namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

} // namespace

QString commandLinePath(const QStringList& arguments)
{
    return pathFromArgumentText(arguments.join(u' '));
}

QString pathFromArgumentText(const QString& text)
{
    return QString(text).remove(u'"');
}

QString argumentTextOfCommandLine(const QString& commandLine)
{
    qsizetype at = 0;
    if (commandLine.startsWith(u'"')) {
        const qsizetype closing = commandLine.indexOf(u'"', 1);
        at = closing < 0 ? commandLine.size() : closing + 1;
    }
    while (at < commandLine.size() && !isBlank(commandLine.at(at)))
        ++at;
    while (at < commandLine.size() && isBlank(commandLine.at(at)))
        ++at;
    return commandLine.sliced(at);
}

QString programArgumentText(const QStringList& arguments)
{
#ifdef Q_OS_WIN
    Q_UNUSED(arguments);
    return argumentTextOfCommandLine(QString::fromWCharArray(GetCommandLineW()));
#else
    return arguments.mid(1).join(u' ');
#endif
}

bool takeSmokeFlag(QString& text)
{
    const QLatin1String flag("--smoke");
    if (!text.startsWith(flag) || (text.size() > flag.size() && !isBlank(text.at(flag.size()))))
        return false;
    qsizetype at = flag.size();
    while (at < text.size() && isBlank(text.at(at)))
        ++at;
    text = text.sliced(at);
    return true;
}

void setApplicationIdentity()
{
    setApplicationNames();
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
