#include "shell/systemmenu.h"

#include "appversion.h"
#include "shell/frmabout.h"
#include "shell/frmoptions.h"
#include "shell/helptarget.h"

#include <array>
#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QWidget>

#if defined(Q_OS_WIN)
#include <qt_windows.h>
#include <string>
#elif defined(Q_OS_MACOS)
#include <QMenuBar>
#endif

namespace tfp::shell {
namespace {

// Set on the main window while the hook is installed.
constexpr char kInstalledProperty[] = "tfpSystemMenuHook";

struct Command
{
    int id;
    QString text;
};

std::array<Command, 3> commands()
{
    return {{
        {kAboutCommand,
         QStringLiteral("About ") + QLatin1String(appinfo::kProductName) + QStringLiteral("...")},
        {kHelpCommand, QStringLiteral("Help Documentation...")},
        {kOptionsCommand, QStringLiteral("Program Options...")},
    }};
}

QAction* commandAction(const Command& command, QObject* owner, QWidget* mainWindow)
{
    auto* action = new QAction(command.text, owner);
    action->setData(command.id);
    QObject::connect(
        action, &QAction::triggered, owner,
        [window = QPointer<QWidget>(mainWindow), id = command.id] { SystemMenuProc(window, id); });
    return action;
}

#if defined(Q_OS_WIN)

bool isInstalled(const QWidget* mainWindow)
{
    return mainWindow && mainWindow->property(kInstalledProperty).toBool();
}

void appendToSystemMenu(QWidget* mainWindow)
{
    const WId id = mainWindow->internalWinId();
    if (!id)
        return; // appended when the native window is created
    HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(id), FALSE);
    if (!menu || GetMenuState(menu, kAboutCommand, MF_BYCOMMAND) != UINT(-1))
        return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    for (const Command& command : commands()) {
        const std::wstring text = command.text.toStdWString();
        AppendMenuW(menu, MF_STRING, UINT_PTR(command.id), text.c_str());
    }
}

#elif defined(Q_OS_MACOS)

constexpr char kMenuBarName[] = "systemMenuBar";

void addApplicationMenu(QWidget* mainWindow)
{
    if (mainWindow->findChild<QMenuBar*>(QLatin1String(kMenuBarName), Qt::FindDirectChildrenOnly))
        return;
    auto* bar = new QMenuBar(mainWindow);
    bar->setObjectName(QLatin1String(kMenuBarName));
    QMenu* help = bar->addMenu(QStringLiteral("Help"));
    for (const Command& command : commands()) {
        QAction* action = commandAction(command, bar, mainWindow);
        if (command.id == kAboutCommand)
            action->setMenuRole(QAction::AboutRole);
        else if (command.id == kOptionsCommand)
            action->setMenuRole(QAction::PreferencesRole);
        else
            action->setMenuRole(QAction::NoRole);
        help->addAction(action);
    }
}

#endif

} // namespace

bool SystemMenuProc(QWidget* mainWindow, int command)
{
    switch (command) {
    case kAboutCommand:
        ShowAboutBox(mainWindow);
        return true;
    case kHelpCommand:
        OpenHelpTarget(QLatin1String(appinfo::kWebSite));
        return true;
    case kOptionsCommand:
        ShowOptionsDialog(mainWindow);
        return true;
    default:
        return false;
    }
}

void InstallSystemMenuHook(QWidget* mainWindow)
{
    if (!mainWindow)
        return;
    mainWindow->setProperty(kInstalledProperty, true);
#if defined(Q_OS_WIN)
    appendToSystemMenu(mainWindow);
#elif defined(Q_OS_MACOS)
    addApplicationMenu(mainWindow);
#endif
}

void RemoveSystemMenuHook(QWidget* mainWindow)
{
    if (!mainWindow)
        return;
    mainWindow->setProperty(kInstalledProperty, false);
#if defined(Q_OS_WIN)
    if (const WId id = mainWindow->internalWinId())
        GetSystemMenu(reinterpret_cast<HWND>(id), TRUE);
#elif defined(Q_OS_MACOS)
    delete mainWindow->findChild<QMenuBar*>(QLatin1String(kMenuBarName),
                                            Qt::FindDirectChildrenOnly);
#endif
}

bool handleSystemMenuNativeEvent(QWidget* mainWindow, const QByteArray& eventType, void* message,
                                 qintptr* result)
{
#if defined(Q_OS_WIN)
    if (!isInstalled(mainWindow) || !message || eventType != "windows_generic_MSG")
        return false;
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->message != WM_SYSCOMMAND)
        return false;
    // Exactly the ids: masking with 0xFFF0 would make the three one command.
    const WPARAM id = msg->wParam;
    if (id != WPARAM(kAboutCommand) && id != WPARAM(kHelpCommand) && id != WPARAM(kOptionsCommand))
        return false;
    // Run once the system menu's own message handling has returned, so that the modal
    // dialogs never nest inside the window procedure.
    QMetaObject::invokeMethod(
        mainWindow,
        [window = QPointer<QWidget>(mainWindow), command = int(id)] {
            if (window)
                SystemMenuProc(window, command);
        },
        Qt::QueuedConnection);
    if (result)
        *result = 0;
    return true;
#else
    Q_UNUSED(mainWindow);
    Q_UNUSED(eventType);
    Q_UNUSED(message);
    Q_UNUSED(result);
    return false;
#endif
}

void populateSystemMenu(QMenu& menu, QWidget* mainWindow)
{
    if (!menu.isEmpty())
        menu.addSeparator();
    for (const Command& command : commands())
        menu.addAction(commandAction(command, &menu, mainWindow));
}

} // namespace tfp::shell
