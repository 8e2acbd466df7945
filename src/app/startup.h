// What the desktop program works out before its window exists: the game file named on
// the command line, and whether there is a display to show a window on.
#pragma once

#include <QStringList>

namespace tfp::app {

// The arguments after the program name joined by single spaces, every double quote
// removed: the whole text is one path.
[[nodiscard]] QString commandLinePath(const QStringList& arguments);

// Why no window can be shown here, or empty when one can.
[[nodiscard]] QString missingDisplayReason();

} // namespace tfp::app
