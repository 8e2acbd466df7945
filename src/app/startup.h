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

// Why no window can be shown here, or empty when one can.
[[nodiscard]] QString missingDisplayReason();

} // namespace tfp::app
