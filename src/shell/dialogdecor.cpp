#include "shell/dialogdecor.h"

#include "shell/dialogseam.h"
#include "shell/paneledge.h"
#include "shell/pictures.h"
#include "shell/placement.h"
#include "shell/waitcursor.h"

#include <QDialog>
#include <QEvent>
#include <QIcon>
#include <QPainter>
#include <QWidget>

namespace tfp::shell {
namespace {

// Watches a dialog being run for the moments execDialog acts on.
class DialogWatcher final : public QObject
{
public:
    explicit DialogWatcher(OverrideCursor& wait) : m_wait(wait) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::WindowActivate)
            m_wait.release();
        else if (event->type() == QEvent::Show)
            notifyDialogShown(*static_cast<QDialog*>(watched));
        return false;
    }

private:
    OverrideCursor& m_wait;
};

} // namespace

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

void execDialog(QDialog& dialog, OverrideCursor& wait)
{
    DialogWatcher watcher(wait);
    dialog.installEventFilter(&watcher);
    dialog.exec();
    dialog.removeEventFilter(&watcher);
}

} // namespace tfp::shell
