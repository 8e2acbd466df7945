// What the desktop program works out from its command line and environment.
#include "startup.h"

#include <QTest>

using namespace tfp::app;

class tst_Startup : public QObject
{
    Q_OBJECT

private slots:
    // A Windows command line less its program (quoted or not) and the blanks after it, a leading
    // --smoke taken in the rows so named, every quote out of the path (elsewhere too).
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("row"); // the command line, the path
        QTest::newRow("program only") << QStringList{"t.exe", ""};
        QTest::newRow("quoted, spaces") << QStringList{R"("C:\P F\t" "D:\M G\a")", R"(D:\M G\a)"};
        QTest::newRow("tab and spaces") << QStringList{"t.exe \t D:\\a  b.tfp", "D:\\a  b.tfp"};
        QTest::newRow("unclosed quote") << QStringList{"\"C:\\t.exe a.tfp", ""};
        QTest::newRow("backslash, quote") << QStringList{R"(t.exe "D:\g\" a)", R"(D:\g\ a)"};
        QTest::newRow("smoke, a game") << QStringList{R"("C:\t.exe" --smoke  "D:\a")", "D:\\a"};
        QTest::newRow("smoke alone") << QStringList{"t.exe --smoke", ""};
        QTest::newRow("not the smoke flag") << QStringList{"t.exe --smoked", "--smoked"};
    }
    void commandLine()
    {
        QFETCH(QStringList, row);
        QString text = argumentTextOfCommandLine(row[0]);
        QCOMPARE(takeSmokeFlag(text), QByteArray(QTest::currentDataTag()).startsWith("smoke"));
        QCOMPARE(pathFromArgumentText(text), row[1]);
        QCOMPARE(commandLinePath({R"("/a)", R"(b" "c".tfp)"}), "/a b c.tfp");
    }

    void missingDisplayReason_namesTheTerminalProgram()
    {
#if !defined(Q_OS_UNIX) || defined(Q_OS_MACOS)
        QSKIP("Windows and macOS always have a display");
#endif
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            qunsetenv(name);
        QVERIFY(missingDisplayReason().contains("turnpicker-cli"));
        qputenv("WAYLAND_DISPLAY", "wayland-0"); // any one of the three gives a display
        QCOMPARE(missingDisplayReason(), QString());
    }
};

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
