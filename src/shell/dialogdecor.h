// What the options and About dialogs share: their layout unit and the logo with its frame
// and the separator above the buttons.
#pragma once

#include <QPixmap>
#include <QRect>

class QPainter;
class QWidget;

namespace tfp::shell {

// A rectangle given in twips, in pixels.
[[nodiscard]] QRect twipsRect(int left, int top, int width, int height);

// The program logo at 52 x 51 for the dialog's pixel ratio; null when it cannot be loaded.
[[nodiscard]] QPixmap dialogLogo(const QWidget* dialog);

// The separator 7 to 5 pixels above `button`, then the logo at 4, 4 and its sunken frame.
void paintDialogDecorations(QPainter& painter, const QWidget* dialog, const QWidget* button,
                            const QPixmap& logo);

} // namespace tfp::shell
