// Where windows go: the main window where it was last closed, or in the middle of the
// screen, its position stored when it closes; every dialog in the middle of the screen.
#pragma once

class QWidget;

namespace tfp::shell {

// Moves the window's frame to the middle of the available area of the screen that holds
// `reference`, or of the primary screen when there is no reference.
void centreOnScreen(QWidget* window, const QWidget* reference = nullptr);

// With a stored placement whose X and Y are both above 0, moves the window's frame to that
// position (twips / 15 pixels); otherwise, or when the title bar would then lie on no
// screen, centres the window on the primary screen. The size never changes.
void RestoreMainWindowPosition(QWidget* mainWindow);

// With the RestoreWindowPosition flag on, stores the frame's top-left corner in twips;
// with it off, deletes the stored placement.
void WriteWindowPlacement(QWidget* mainWindow);

} // namespace tfp::shell
