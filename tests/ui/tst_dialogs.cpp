// The password and confirm-save dialogs, driven through their own controls.
#include "windowseams.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace tfp;
using namespace tfp::ui;

class tst_Dialogs : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::WindowSeams> seams;

    static QLineEdit* box(QDialog& d)
    {
        return d.findChild<QLineEdit*>(QStringLiteral("txtPassword"));
    }
    static QPushButton* button(QDialog& d, int i)
    {
        return d.findChild<QPushButton*>(QStringLiteral("cmdCommand_%1").arg(i));
    }

private slots:
    void init() { seams = std::make_unique<test::WindowSeams>(); }
    void cleanup()
    {
        seams.reset();
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    }

    void password_okFollowsTheBox()
    {
        frmPassword dialog;
        dialog.setWindowTitle(QStringLiteral("Set Password for Player #2"));
        dialog.setUserName(QStringLiteral("Ben"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.windowHandle()->title(), QStringLiteral("Set Password for Player #2"));
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("txtUserName"))->text(), u"Ben");
        QVERIFY(!button(dialog, 0)->isEnabled());
        QTest::keyClicks(box(dialog), QStringLiteral("a<b>") + QString(20, u'c'));
        QCOMPARE(box(dialog)->text(), QStringLiteral("ab") + QString(18, u'c'));
        QVERIFY(button(dialog, 0)->isEnabled());
        box(dialog)->setText(QStringLiteral("   "));
        button(dialog, 1)->setFocus(); // leaving the box trims it
        QVERIFY(box(dialog)->text().isEmpty() && !button(dialog, 0)->isEnabled());
        dialog.hide();
    }

    void password_handsBack_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("action"); // 0 OK, 1 Cancel, 2 Escape, 3 closed
        QTest::addColumn<QString>("result");
        QTest::addColumn<bool>("stays"); // open, with one message shown
        // clang-format off
        QTest::newRow("OK trims") << "  pass word  " << 0 << "pass word" << false;
        QTest::newRow("OK with blanks: none") << "   " << 0 << "" << false;
        QTest::newRow("OK, U+043F") << QStringLiteral("\u043f") << 0 << "" << true;
        QTest::newRow("Cancel hands back the text") << "pw" << 1 << "pw" << false;
        QTest::newRow("Cancel while empty") << "" << 1 << "" << true;
        QTest::newRow("Escape hands back the text") << "pw" << 2 << "pw" << false;
        QTest::newRow("Escape while empty") << "" << 2 << "" << true;
        QTest::newRow("closed: none") << "typed" << 3 << "" << false;
        QTest::newRow("closed while empty") << "" << 3 << "" << true;
        // clang-format on
    }
    void password_handsBack()
    {
        QFETCH(QString, typed);
        QFETCH(int, action);
        QFETCH(bool, stays);
        frmPassword dialog;
        dialog.open();
        box(dialog)->setText(typed);
        if (action < 2)
            button(dialog, action)->click();
        else if (action == 2)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.close();
        QTEST(dialog.sValidatedPassword, "result");
        QCOMPARE(dialog.isVisible(), stays);
        QCOMPARE(shell::MessageBox::testSeam().requests().size(), stays ? 1 : 0);
        dialog.hide();
    }

    void confirmSave_data()
    {
        QTest::addColumn<int>("action"); // 0 Yes, 1 No, 2 closed
        QTest::addColumn<bool>("accepted");
        QTest::newRow("yes") << 0 << true;
        QTest::newRow("no") << 1 << false;
        QTest::newRow("closed") << 2 << false;
    }
    void confirmSave()
    {
        QFETCH(int, action);
        frmConfirmSave dialog;
        dialog.setText(QStringLiteral("Turns: 20"));
        dialog.open();
        auto* text = dialog.findChild<QPlainTextEdit*>(QStringLiteral("txtConfirmSave"));
        QVERIFY(text->isReadOnly() && text->toPlainText() == u"Turns: 20");
        if (action < 2)
            button(dialog, action)->click();
        else
            dialog.close();
        QTEST(dialog.bAcceptGameParameters, "accepted");
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(tst_Dialogs)
#include "tst_dialogs.moc"
