// The main window's system menu on Windows, on the real windows platform: the three
// commands in the window's own system menu, each run when Windows sends its WM_SYSCOMMAND,
// and the standard commands (Move, Close) still taking their normal course.
#include "shell/dialogseam.h"
#include "shell/helptarget.h"
#include "ui/frmmain.h"
#include "windowseams.h"

#include <QAbstractNativeEventFilter>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <qt_windows.h>

using namespace tfp;

namespace {

// Notes the messages of a move or size loop that the window receives.
class MoveLoopWatcher final : public QAbstractNativeEventFilter
{
public:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (eventType == "windows_generic_MSG") {
            const UINT id = static_cast<const MSG*>(message)->message;
            entered = entered || id == WM_ENTERSIZEMOVE;
            exited = exited || id == WM_EXITSIZEMOVE;
        }
        return false;
    }
    bool entered = false;
    bool exited = false;
};

QString menuText(HMENU menu, UINT id)
{
    wchar_t text[128] = {};
    const int length = GetMenuStringW(menu, id, text, 128, MF_BYCOMMAND);
    return length > 0 ? QString::fromWCharArray(text, length) : QString();
}

} // namespace

class tst_WindowsSystemMenu : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::WindowSeams> seams;
    std::unique_ptr<ui::frmMain> window;
    QStringList shownDialogs;
    QList<QUrl> opened;

    [[nodiscard]] HWND handle() const { return reinterpret_cast<HWND>(window->winId()); }

private slots:
    void init()
    {
        seams = std::make_unique<test::WindowSeams>();
        shownDialogs.clear();
        opened.clear();
        // Each dialog is recorded and closed with its OK (About) or Cancel (options) button.
        shell::setShownDialogHookForTesting([this](QDialog& dialog) {
            shownDialogs.append(dialog.objectName());
            const char* close =
                dialog.objectName() == QLatin1String("frmAbout") ? "cmdOK" : "cmdCommand_2";
            if (auto* button = dialog.findChild<QPushButton*>(QLatin1String(close)))
                button->click();
        });
        shell::setUrlOpenerForTesting([this](const QUrl& url) {
            opened.append(url);
            return true;
        });
        window = std::make_unique<ui::frmMain>();
        window->load();
        window->show();
        QVERIFY(IsWindow(handle()));
    }

    void cleanup()
    {
        window.reset();
        shell::setShownDialogHookForTesting({});
        shell::setUrlOpenerForTesting({});
        seams.reset();
    }

    void commandsInTheSystemMenu()
    {
        const HMENU menu = GetSystemMenu(handle(), FALSE);
        QVERIFY(menu);
        const int count = GetMenuItemCount(menu);
        QVERIFY(count >= 4);
        QCOMPARE(GetMenuItemID(menu, count - 4), 0u); // the separator
        QCOMPARE(GetMenuItemID(menu, count - 3), 1010u);
        QCOMPARE(menuText(menu, 1010), QStringLiteral("About Torva Fogline Turnpicker..."));
        QCOMPARE(GetMenuItemID(menu, count - 2), 1011u);
        QCOMPARE(menuText(menu, 1011), QStringLiteral("Help Documentation..."));
        QCOMPARE(GetMenuItemID(menu, count - 1), 1012u);
        QCOMPARE(menuText(menu, 1012), QStringLiteral("Program Options..."));
    }

    void commandSent_runs_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QStringList>("dialogs");
        QTest::addColumn<int>("urls");
        QTest::newRow("About") << 1010 << QStringList{"frmAbout"} << 0;
        QTest::newRow("Help") << 1011 << QStringList() << 1;
        QTest::newRow("Options") << 1012 << QStringList{"frmOptions"} << 0;
        QTest::newRow("About masked with 0xFFF0") << (1010 & 0xFFF0) << QStringList() << 0;
    }

    void commandSent_runs()
    {
        QFETCH(int, id);
        QFETCH(QStringList, dialogs);
        QFETCH(int, urls);
        SendMessageW(handle(), WM_SYSCOMMAND, WPARAM(id), 0);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(shownDialogs, dialogs);
        QCOMPARE(opened.size(), urls);
        QVERIFY(window->isVisible());
    }

    void moveTakesItsNormalCourse()
    {
        MoveLoopWatcher watcher;
        QCoreApplication::instance()->installNativeEventFilter(&watcher);
        // The move loop ends at the Escape key waiting in the queue.
        PostMessageW(handle(), WM_KEYDOWN, VK_ESCAPE, 0);
        SendMessageW(handle(), WM_SYSCOMMAND, SC_MOVE, 0);
        QCoreApplication::instance()->removeNativeEventFilter(&watcher);
        QVERIFY(watcher.entered);
        QVERIFY(watcher.exited);
        QVERIFY(window->isVisible());
    }

    void closeTakesItsNormalCourse()
    {
        SendMessageW(handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        QTRY_VERIFY(!window->isVisible());
        QVERIFY(shownDialogs.isEmpty());
    }
};

QTEST_MAIN(tst_WindowsSystemMenu)
#include "tst_windows_sysmenu.moc"
