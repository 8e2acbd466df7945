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
    void commandLinePath()
    {
        using tfp::app::commandLinePath;
        QCOMPARE(commandLinePath({}), QString());
        QCOMPARE(commandLinePath({"\"/some folder/game.tfp\""}), "/some folder/game.tfp");
        QCOMPARE(commandLinePath({"/some", "folder/game.tfp"}), "/some folder/game.tfp");
        QCOMPARE(commandLinePath({"/a\"b\".tfp"}), "/ab.tfp");
    }

    void windowTitle_shownExactlyAsSet()
    {
        tfp::app::setApplicationIdentity();
        for (const QString title :
             {"Torva Fogline Turnpicker v1.5.24", "Set Password for Player #1"})
            QCOMPARE(ShownTitle::formatWindowTitle(title, QStringLiteral(" \u2014 ")), title);
    }

    void windowsCommandLine_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<bool>("smoke");
        QTest::addColumn<QString>("path");
        QTest::newRow("program only") << "turnpicker.exe" << false << QString();
        QTest::newRow("quoted program only")
            << "\"C:\\Program Files\\T\\turnpicker.exe\"" << false << QString();
        QTest::newRow("double-clicked, spaces in both")
            << "\"C:\\Program Files\\T\\turnpicker.exe\" \"D:\\My Games\\hill 112.tfp\"" << false
            << "D:\\My Games\\hill 112.tfp";
        QTest::newRow("spacing as typed")
            << "turnpicker.exe \t D:\\two  spaces.tfp" << false << "D:\\two  spaces.tfp";
        QTest::newRow("quote ends with a backslash")
            << "turnpicker.exe \"D:\\games\\\" a.tfp" << false << "D:\\games\\ a.tfp";
        QTest::newRow("smoke with a game")
            << "\"C:\\T\\turnpicker.exe\" --smoke \"D:\\My Games\\a.tfp\"" << true
            << "D:\\My Games\\a.tfp";
        QTest::newRow("smoke alone") << "turnpicker.exe --smoke" << true << QString();
        QTest::newRow("not the smoke flag") << "turnpicker.exe --smoked" << false << "--smoked";
    }
    void windowsCommandLine()
    {
        QFETCH(QString, commandLine);
        QFETCH(bool, smoke);
        QFETCH(QString, path);
        QString text = tfp::app::argumentTextOfCommandLine(commandLine);
        QCOMPARE(tfp::app::takeSmokeFlag(text), smoke);
        QCOMPARE(tfp::app::pathFromArgumentText(text), path);
    }

    void missingDisplayReason_namesTheTerminalProgram()
    {
#if !defined(Q_OS_UNIX) || defined(Q_OS_MACOS)
        QSKIP("Windows and macOS always have a display");
#endif
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            qunsetenv(name);
        const QString reason = tfp::app::missingDisplayReason();
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
        QVERIFY(reason.contains("turnpicker-cli") && !reason.contains(u'\n'));
#else
        QCOMPARE(reason, QString()); // there a window can always be shown
#endif
        qputenv("WAYLAND_DISPLAY", "wayland-0"); // any one of the three gives a display
        QCOMPARE(tfp::app::missingDisplayReason(), QString());
    }
};

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
