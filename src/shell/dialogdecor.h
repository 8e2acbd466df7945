// What the options and About dialogs share: their layout unit, the logo with its frame and
// the separator above the buttons, and how they are run.
#pragma once

#include <QPixmap>
#include <QRect>

class QDialog;
class QPainter;
class QWidget;

namespace tfp::shell {

class OverrideCursor;

// A rectangle given in twips, in pixels.
[[nodiscard]] QRect twipsRect(int left, int top, int width, int height);

// The program logo at 52 x 51 for the dialog's pixel ratio; null when it cannot be loaded.
[[nodiscard]] QPixmap dialogLogo(const QWidget* dialog);

// The separator 7 to 5 pixels above `button`, then the logo at 4, 4 and its sunken frame.
void paintDialogDecorations(QPainter& painter, const QWidget* dialog, const QWidget* button,
                            const QPixmap& logo);

// Runs the dialog modally: `wait`, the hourglass held while it loaded, is released once the
// dialog is the active window, and a test's hook is handed the dialog once it shows.
void execDialog(QDialog& dialog, OverrideCursor& wait);

} // namespace tfp::shell
