#include "shell/windowposition.h"

#include "shell/placement.h"
#include "shell/settingsstore.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace tfp::shell {
namespace {

// The strip of the frame the user grabs to move the window.
constexpr int kTitleBarHeight = 30;

bool titleBarOnSomeScreen(const QPoint& frameTopLeft, int frameWidth)
{
    const QRect titleBar(frameTopLeft, QSize(qMax(frameWidth, 1), kTitleBarHeight));
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(titleBar))
            return true;
    }
    return false;
}

} // namespace

void centreOnScreen(QWidget* window, const QWidget* reference)
{
    const QScreen* screen = reference ? reference->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame(QPoint(0, 0), window->frameGeometry().size());
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void RestoreMainWindowPosition(QWidget* mainWindow)
{
    if (!mainWindow)
        return;
    const WindowPlacement& placement = settingsFlags().placement;
    if (placement.X > 0 && placement.Y > 0) {
        const QPoint topLeft(qRound(double(placement.X) / kTwipsPerPixel),
                             qRound(double(placement.Y) / kTwipsPerPixel));
        if (titleBarOnSomeScreen(topLeft, mainWindow->frameGeometry().width())) {
            mainWindow->move(topLeft);
            return;
        }
    }
    centreOnScreen(mainWindow);
}

void WriteWindowPlacement(QWidget* mainWindow)
{
    if (settingsFlags().RestoreWindowPosition) {
        if (!mainWindow)
            return;
        const QPoint topLeft = mainWindow->frameGeometry().topLeft();
        WriteSetting(Setting::RestoreWindowPosition,
                     FormatPlacement(double(topLeft.x()) * kTwipsPerPixel,
                                     double(topLeft.y()) * kTwipsPerPixel));
    } else {
        DeleteSetting(Setting::RestoreWindowPosition);
    }
}

} // namespace tfp::shell
