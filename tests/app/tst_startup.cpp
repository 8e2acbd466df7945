// What the desktop program works out from its command line and environment.
#include "startup.h"
#include "testsupport.h"

#include <QTest>

using namespace tfp::app;

// clang-format off
namespace {
struct CommandLineRow { QString commandLine; bool smoke; QString path; };
} // namespace
// clang-format on

class tst_Startup : public QObject
{
    Q_OBJECT

private slots:
    // A Windows command line less its program (quoted or not) and the blanks after it, and a
    // leading --smoke taken; every quote out of the path.
    void commandLine_data()
    {
        tfp::test::addRowColumn<CommandLineRow>();
        const auto row = tfp::test::addRow<CommandLineRow, QString, bool, QString>;
        row("program only", "t.exe", false, "");
        row("quoted, spaces", R"("C:\P F\t" "D:\M G\a")", false, R"(D:\M G\a)");
        row("tab and spaces", "t.exe \t D:\\a  b.tfp", false, "D:\\a  b.tfp");
        row("unclosed quote", "\"C:\\t.exe a.tfp", false, "");
        row("backslash, quote", R"(t.exe "D:\g\" a)", false, R"(D:\g\ a)");
        row("smoke, a game", R"("C:\t.exe" --smoke  "D:\a")", true, "D:\\a");
        row("smoke alone", "t.exe --smoke", true, "");
        row("not the smoke flag", "t.exe --smoked", false, "--smoked");
    }
    void commandLine()
    {
        QFETCH(CommandLineRow, row);
        QString text = argumentTextOfCommandLine(row.commandLine);
        QCOMPARE(takeSmokeFlag(text), row.smoke);
        QCOMPARE(pathFromArgumentText(text), row.path);
    }

    // Elsewhere the arguments are joined by single spaces, every quote out.
    void commandLinePath_joinsTheArguments()
    {
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
