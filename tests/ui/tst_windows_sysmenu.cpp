// The main window's system menu on Windows, on the real windows platform: the three commands
// after a separator in the window's own system menu, each run when Windows sends its exact
// id in WM_SYSCOMMAND, and any other id (Close here) taking its normal course.
#include "ui/frmmain.h"
#include "windowseams.h"

#include <qt_windows.h>
#include <QTest>

using namespace tfp;

class tst_WindowsSystemMenu : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::WindowSeams> seams;
    std::unique_ptr<ui::frmMain> window;
    QStringList shown;

    [[nodiscard]] HWND handle() const { return reinterpret_cast<HWND>(window->winId()); }

private slots:
    void init()
    {
        seams = std::make_unique<test::WindowSeams>();
        shown.clear();
        seams->shownDialog = [this](QDialog& dialog) {
            shown << dialog.objectName();
            dialog.reject();
        };
        window = std::make_unique<ui::frmMain>();
        window->load();
        window->show();
        QVERIFY(IsWindow(handle()));
    }
    void cleanup()
    {
        window.reset();
        seams.reset();
    }

    void commandsInTheSystemMenu()
    {
        const HMENU menu = GetSystemMenu(handle(), FALSE);
        const int count = GetMenuItemCount(menu);
        QStringList entries;
        for (int i = count - 4; i < count; ++i) {
            wchar_t text[128] = {};
            const UINT id = GetMenuItemID(menu, i);
            GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
            entries << QString::number(id) + ' ' + QString::fromWCharArray(text);
        }
        QCOMPARE(entries, QStringList({"0 ", "1010 About Torva Fogline Turnpicker...",
                                       "1011 Help Documentation...", "1012 Program Options..."}));
    }

    void commandSent_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QStringList>("ran"); // the dialogs shown, the addresses opened
        QTest::newRow("About") << 1010 << QStringList{"frmAbout"};
        QTest::newRow("Help") << 1011 << QStringList{"https://www.torva.example/turnpicker/"};
        QTest::newRow("Options") << 1012 << QStringList{"frmOptions"};
        QTest::newRow("About masked with 0xFFF0") << (1010 & 0xFFF0) << QStringList();
        QTest::newRow("Close") << int(SC_CLOSE) << QStringList{"closed"};
    }
    void commandSent()
    {
        QFETCH(int, id);
        QFETCH(QStringList, ran);
        SendMessageW(handle(), WM_SYSCOMMAND, WPARAM(id), 0);
        QCoreApplication::sendPostedEvents();
        if (id == SC_CLOSE)
            QTRY_VERIFY(!window->isVisible());
        for (const QUrl& url : std::as_const(seams->opened))
            shown << url.toString();
        QCOMPARE(shown + QStringList(window->isVisible() ? 0 : 1, "closed"), ran);
    }
};

QTEST_MAIN(tst_WindowsSystemMenu)
#include "tst_windows_sysmenu.moc"
