// What the desktop program works out from its command line and environment, and the
// names it gives itself.
#include "startup.h"

#include <qpa/qplatformwindow.h>
#include <QTest>

namespace {

// The X11 and Windows platforms build the title a window manager shows with this routine.
class ShownTitle final : public QPlatformWindow
{
public:
    using QPlatformWindow::formatWindowTitle;
};

} // namespace

class tst_Startup : public QObject
{
    Q_OBJECT

private slots:
    void commandLinePath_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("path");
        QTest::newRow("none") << QStringList() << QString();
        QTest::newRow("plain") << QStringList{"/games/ridge.tfp"} << "/games/ridge.tfp";
        QTest::newRow("quoted with spaces")
            << QStringList{"\"/some folder/game.tfp\""} << "/some folder/game.tfp";
        QTest::newRow("split by the shell")
            << QStringList{"/some", "folder/game.tfp"} << "/some folder/game.tfp";
        QTest::newRow("quotes anywhere") << QStringList{"/a\"b\".tfp"} << "/ab.tfp";
    }
    void commandLinePath()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, path);
        QCOMPARE(tfp::app::commandLinePath(arguments), path);
    }

    void windowTitle_shownExactlyAsSet_data()
    {
        QTest::addColumn<QString>("title");
        QTest::newRow("main window") << "Torva Fogline Turnpicker v1.5.24";
        QTest::newRow("password dialog") << "Set Password for Player #1";
    }
    void windowTitle_shownExactlyAsSet()
    {
        QFETCH(QString, title);
        tfp::app::setApplicationIdentity();
        QCOMPARE(ShownTitle::formatWindowTitle(title, QStringLiteral(" \u2014 ")), title);
    }

    void missingDisplayReason_namesTheTerminalProgram()
    {
        const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
        const QByteArray display = qgetenv("DISPLAY");
        const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
        qunsetenv("QT_QPA_PLATFORM");
        qunsetenv("DISPLAY");
        qunsetenv("WAYLAND_DISPLAY");
        const QString reason = tfp::app::missingDisplayReason();
        qputenv("QT_QPA_PLATFORM", "offscreen");
        const QString withPlatform = tfp::app::missingDisplayReason();
        qputenv("QT_QPA_PLATFORM", platform);
        qputenv("DISPLAY", display);
        qputenv("WAYLAND_DISPLAY", wayland);
        QVERIFY(reason.contains(QStringLiteral("turnpicker-cli")));
        QVERIFY(!reason.contains(u'\n'));
        QVERIFY(withPlatform.isEmpty());
    }
};

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
