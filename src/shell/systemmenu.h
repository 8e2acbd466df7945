// The main window's commands About, Help Documentation and Program Options, offered in the
// system menu (Windows), the application menu (macOS) or the context menu, run by SystemMenuProc.
#pragma once

#include <QByteArray>
#include <QtGlobal>

class QMenu;
class QWidget;

namespace tfp::shell {

// The commands' ids, compared exactly.
enum : int
{
    kAboutCommand = 1010,
    kHelpCommand = 1011,
    kOptionsCommand = 1012
};

// Runs the command (the About box, the web site, the options dialog) and returns true;
// returns false for any other id.
bool SystemMenuProc(QWidget* mainWindow, int command);

// Offers the commands for the window. Windows: appended after a separator to its system
// menu, again whenever the native window is re-created (call it on QEvent::WinIdChange).
// macOS: About and Program Options in the application menu, Help in a Help menu.
// Elsewhere the context menu offers them (populateSystemMenu).
void InstallSystemMenuHook(QWidget* mainWindow);

// Takes the commands away again; the window's system menu returns to the standard one.
void RemoveSystemMenuHook(QWidget* mainWindow);

// For the main window's nativeEvent: runs a chosen command of the Windows system menu and
// returns true; false for everything else, which then takes its normal course.
bool handleSystemMenuNativeEvent(QWidget* mainWindow, const QByteArray& eventType, void* message,
                                 qintptr* result);

// Adds "About Torva Fogline Turnpicker...", "Help Documentation..." and "Program
// Options..." to the menu (after a separator when it already holds entries).
void populateSystemMenu(QMenu& menu, QWidget* mainWindow);

} // namespace tfp::shell
