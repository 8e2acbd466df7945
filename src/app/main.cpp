// turnpicker: the desktop program. Opens a game file named on its command line.
#include "shell/pictures.h"
#include "startup.h"
#include "ui/frmmain.h"

#include <cstdio>
#include <QApplication>
#include <QFileOpenEvent>
#include <QIcon>
#include <QTimer>

namespace {

// Files opened from the Finder arrive as events, before or after the window is up.
class FileOpenFilter final : public QObject
{
public:
    explicit FileOpenFilter(tfp::ui::frmMain& window) : m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FileOpen) {
            const auto* open = static_cast<QFileOpenEvent*>(event);
            m_window.openPath(tfp::app::commandLinePath({open->file()}));
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    tfp::ui::frmMain& m_window;
};

// The window's own icon, for title bars, task bars and window switchers; the larger sizes
// come from the icon theme through the desktop entry. Every size given here is decoded
// before the window shows (X11 hands them all to the window manager at once), so only the
// small ones are.
QIcon applicationIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64})
        tfp::shell::addPicture(icon,
                               QStringLiteral(":/icons/hicolor/%1x%1/turnpicker.png").arg(size));
    return icon;
}

} // namespace

int main(int argc, char* argv[])
{
    if (const QString reason = tfp::app::missingDisplayReason(); !reason.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(reason));
        return 1;
    }
    QApplication app(argc, argv);
    tfp::app::setApplicationIdentity();

    // The whole argument text is one game file's path (Windows hands it over as typed, so a
    // double-clicked path with spaces arrives whole). --smoke in front: start as usual, show
    // the window, let the event loop run once and leave.
    QString argumentText = tfp::app::programArgumentText(QApplication::arguments());
    const bool smoke = tfp::app::takeSmokeFlag(argumentText);

    // Before the window: every window, the message boxes of the start-up included, carries it.
    QApplication::setWindowIcon(applicationIcon());
    tfp::ui::frmMain window;
    FileOpenFilter fileOpen(window);
    app.installEventFilter(&fileOpen);
    window.load(tfp::app::pathFromArgumentText(argumentText));
    window.show();

    if (smoke) {
        QTimer::singleShot(0, &app, [&window] {
            if (window.isVisible()) {
                QApplication::exit(0);
            } else {
                std::fprintf(stderr, "turnpicker: the main window did not show\n");
                QApplication::exit(1);
            }
        });
    }
    return QApplication::exec();
}
