// bench_window: the floor of the start-up bench. A bare Qt window of the main window's size
// (408 x 315), shown as `turnpicker --smoke` shows its own: it leaves once the event loop
// has run, with 0 when the window is visible.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(408, 315);
    window.show();
    QTimer::singleShot(0, &app, [&window] { QApplication::exit(window.isVisible() ? 0 : 1); });
    return QApplication::exec();
}
