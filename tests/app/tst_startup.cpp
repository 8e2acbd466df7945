// What the desktop program works out from its command line and environment.
#include "startup.h"

#include <QTest>

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

QTEST_GUILESS_MAIN(tst_Startup)
#include "tst_startup.moc"
