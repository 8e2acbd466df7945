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

QTEST_GUILESS_MAIN(tst_Startup)
#include "tst_startup.moc"
