// turnpicker: the desktop program. Opens a game file named on its command line.
#include "appversion.h"
#include "shell/pictures.h"
#include "startup.h"
#include "ui/backgroundpicture.h"
#include "ui/frmmain.h"
#include "warmup.h"

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
QStringList applicationIconPictures()
{
    QStringList paths;
    for (const int size : {16, 24, 32, 48, 64})
        paths << QStringLiteral(":/icons/hicolor/%1x%1/turnpicker.png").arg(size);
    return paths;
}

QIcon applicationIcon()
{
    QIcon icon;
    for (const QString& path : applicationIconPictures())
        tfp::shell::addPicture(icon, path);
    return icon;
}

} // namespace

int main(int argc, char* argv[])
{
    if (const QString reason = tfp::app::missingDisplayReason(); !reason.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(reason));
        return 1;
    }
    // Reads the font configuration on a second thread while the application connects to
    // the display; it is waited for when main returns.
    tfp::app::StartupWarmUp warmUp;
    QApplication app(argc, argv);
    // The font database is filled, and the pictures of the first window decoded (in the
    // order they are needed), on workers while the window builds its controls.
    warmUp.applicationCreated(tfp::ui::frmMain::windowFont());
    QStringList pictures = tfp::ui::frmMain::startupPictures() + applicationIconPictures();
    pictures << tfp::ui::backgroundPictureFile(app.devicePixelRatio());
    tfp::shell::preloadPictures(pictures);
    QApplication::setOrganizationName(QStringLiteral("Torva"));
    QApplication::setApplicationName(QStringLiteral("TorvaFoglineTurnpicker"));
    QApplication::setApplicationDisplayName(QLatin1String(tfp::appinfo::kProductName));
    QApplication::setApplicationVersion(QLatin1String(tfp::appinfo::kVersionText));
    QApplication::setDesktopFileName(QStringLiteral("turnpicker"));

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    // --smoke: start as usual, show the window, let the event loop run once and leave.
    const bool smoke = arguments.size() == 1 && arguments.constFirst() == QLatin1String("--smoke");
    if (smoke)
        arguments.clear();

    tfp::ui::frmMain window;
    // After the controls, whose pictures are read ahead first: windows made from here on,
    // the message boxes of the start-up included, carry it.
    QApplication::setWindowIcon(applicationIcon());
    FileOpenFilter fileOpen(window);
    app.installEventFilter(&fileOpen);
    window.load(tfp::app::commandLinePath(arguments));
    window.show();
    tfp::shell::discardPreloadedPictures();

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
