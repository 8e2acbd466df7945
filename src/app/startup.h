// What the desktop program settles before its window exists: its names, the game file named
// on the command line, and whether there is a display to show a window on.
#pragma once

#include <QStringList>

namespace tfp::app {

// The arguments after the program name joined by single spaces, every double quote
// removed: the whole text is one path.
[[nodiscard]] QString commandLinePath(const QStringList& arguments);

// The names the program's settings, desktop entry and version are known by. No display
// name is given: the platform would append it to every window title.
void setApplicationIdentity();

// The argument text with every double quote removed: the whole text is one path.
[[nodiscard]] QString pathFromArgumentText(const QString& text);

// The text after the program name of a Windows command line, spaces and quotes as they
// were given: the program name is quoted or ends at the first space or tab, and the spaces
// and tabs after it are dropped.
[[nodiscard]] QString argumentTextOfCommandLine(const QString& commandLine);

// This process's argument text. Windows: its command line after the program name, as
// Windows hands it over. Elsewhere: the arguments after the program name joined by single
// spaces.
[[nodiscard]] QString programArgumentText(const QStringList& arguments);

// Takes "--smoke" (a start that leaves once the window shows) off the front of the argument
// text; returns whether it was there.
[[nodiscard]] bool takeSmokeFlag(QString& text);

// Why no window can be shown here, or empty when one can.
[[nodiscard]] QString missingDisplayReason();

} // namespace tfp::app
