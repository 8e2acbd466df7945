#include "shell/dialogdecor.h"

#include "shell/paneledge.h"
#include "shell/pictures.h"
#include "shell/placement.h"

#include <QIcon>
#include <QPainter>
#include <QWidget>

namespace tfp::shell {

QRect twipsRect(int left, int top, int width, int height)
{
    const auto pixels = [](int twips) {
        return qRound(double(twips) / kTwipsPerPixel);
    };
    return {pixels(left), pixels(top), pixels(width), pixels(height)};
}

QPixmap dialogLogo(const QWidget* dialog)
{
    // QIcon picks the @2x picture where the screen needs it.
    const QIcon logo = pictureIcon(QStringLiteral(":/images/logo.png"));
    return logo.pixmap(QSize(52, 51), dialog->devicePixelRatioF());
}

void paintDialogDecorations(QPainter& painter, const QWidget* dialog, const QWidget* button,
                            const QPixmap& logo)
{
    const int top = button->geometry().top();
    DrawPanelEdge(painter, 3, top - 7, dialog->width() - 3, top - 5, false);
    if (!logo.isNull())
        painter.drawPixmap(QRect(4, 4, 52, 51), logo);
    DrawPanelEdge(painter, 4, 4, 58, 57, true);
}

} // namespace tfp::shell
