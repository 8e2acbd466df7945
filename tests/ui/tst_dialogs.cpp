// The password and confirm-save dialogs, driven through their own controls.
#include "game/setup.h"
#include "uitestsupport.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace tfp;
using namespace tfp::ui;

class tst_Dialogs : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::WindowSeams> seams;

    static QLineEdit* passwordBox(frmPassword& d)
    {
        return d.findChild<QLineEdit*>(QStringLiteral("txtPassword"));
    }
    static QPushButton* commandButton(QDialog& d, int index)
    {
        return d.findChild<QPushButton*>(QStringLiteral("cmdCommand_%1").arg(index));
    }

private slots:
    void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }
    void init() { seams = std::make_unique<test::WindowSeams>(); }
    void cleanup()
    {
        seams.reset();
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    }

    void password_opensWithOkDisabled()
    {
        frmPassword dialog;
        dialog.setWindowTitle(QStringLiteral("Set Password for Player #2"));
        dialog.setUserName(QStringLiteral("Ben"));
        dialog.show();
        QVERIFY(!commandButton(dialog, 0)->isEnabled());
        QCOMPARE(dialog.size(), QSize(256, 115));
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("txtUserName"));
        QCOMPARE(name->text(), QStringLiteral("Ben"));
        QVERIFY(name->isReadOnly());
        QTest::keyClicks(passwordBox(dialog), QStringLiteral("x"));
        QVERIFY(commandButton(dialog, 0)->isEnabled());
        QTest::keyClick(passwordBox(dialog), Qt::Key_Backspace);
        QVERIFY(!commandButton(dialog, 0)->isEnabled());
        dialog.hide();
    }

    void password_box_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("twenty characters") << QString(20, u'a') << QString(20, u'a');
        QTest::newRow("twenty-first refused") << QString(21, u'b') << QString(20, u'b');
        QTest::newRow("tag characters refused") << "a<b>c"
                                                << "abc";
        QTest::newRow("case kept") << "SeCrEt"
                                   << "SeCrEt";
    }
    void password_box()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        frmPassword dialog;
        dialog.show();
        QTest::keyClicks(passwordBox(dialog), typed);
        QCOMPARE(passwordBox(dialog)->text(), kept);
        dialog.hide();
    }

    void password_buttons_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("result");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<int>("messages");
        QTest::addColumn<QString>("message");
        const QString length =
            QStringLiteral("Please enter a password between 1 and 20 characters.");
        QTest::newRow("ok trims") << "  pass word  " << 0 << "pass word" << true << 0 << QString();
        QTest::newRow("cancel hands back text") << "pw" << 1 << "pw" << true << 0 << QString();
        QTest::newRow("cancel with empty box stays") << "" << 1 << "" << false << 1 << length;
        QTest::newRow("blanks with ok give empty") << "   " << 0 << "" << true << 0 << QString();
        QTest::newRow("a character the file cannot keep stays")
            << QStringLiteral("\u043f\u0430\u0440\u043e\u043b\u044c") << 0 << "" << false << 1
            << QStringLiteral("A password cannot contain the character '\u043f' (U+043F), which a "
                              "game file cannot keep.");
    }
    void password_buttons()
    {
        QFETCH(QString, typed);
        QFETCH(int, button);
        QFETCH(QString, result);
        QFETCH(bool, closed);
        QFETCH(int, messages);
        QFETCH(QString, message);
        frmPassword dialog;
        dialog.open();
        passwordBox(dialog)->setText(typed);
        commandButton(dialog, button)->click();
        QCOMPARE(dialog.sValidatedPassword, result);
        QCOMPARE(dialog.isVisible(), !closed);
        QCOMPARE(shell::MessageBox::testSeam().requests().size(), messages);
        if (messages)
            QCOMPARE(shell::MessageBox::testSeam().requests().constFirst().text, message);
        dialog.hide();
    }

    void password_escapeActsAsCancel()
    {
        frmPassword dialog;
        dialog.open();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        QCOMPARE(shell::MessageBox::testSeam().requests().size(), 1);
        passwordBox(dialog)->setText(QStringLiteral("pw"));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.sValidatedPassword, QStringLiteral("pw"));
    }

    void password_closeRefusedWhileEmpty()
    {
        frmPassword dialog;
        dialog.open();
        QVERIFY(!dialog.close());
        QVERIFY(dialog.isVisible());
        QCOMPARE(shell::MessageBox::testSeam().requests().size(), 1);
        passwordBox(dialog)->setText(QStringLiteral("typed"));
        QVERIFY(dialog.close());
        QVERIFY(dialog.sValidatedPassword.isEmpty());
    }

    void password_leavingBoxTrimsAndMayDisableOk()
    {
        frmPassword dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClicks(passwordBox(dialog), QStringLiteral("   "));
        QVERIFY(commandButton(dialog, 0)->isEnabled());
        commandButton(dialog, 1)->setFocus();
        QTRY_VERIFY(!passwordBox(dialog)->hasFocus());
        QVERIFY(passwordBox(dialog)->text().isEmpty());
        QVERIFY(!commandButton(dialog, 0)->isEnabled());
        dialog.hide();
    }

    void confirmSave_answers_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("yes") << 0 << true;
        QTest::newRow("no") << 1 << false;
    }
    void confirmSave_answers()
    {
        QFETCH(int, button);
        QFETCH(bool, accepted);
        frmConfirmSave dialog;
        SetupEntries entries{QStringLiteral("Ridge"), QStringLiteral("Anna"), QStringLiteral("Ben"),
                             QStringLiteral("20"),    QStringLiteral("3"),    GameType::QuickBattle,
                             SecurityMode::Basic};
        dialog.setText(confirmationText(entries));
        dialog.open();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Confirm Save"));
        const auto* text = dialog.findChild<QPlainTextEdit*>(QStringLiteral("txtConfirmSave"));
        QVERIFY(text->isReadOnly());
        QVERIFY(text->toPlainText().contains(QStringLiteral("20 with modifier of \u00b13")));
        commandButton(dialog, button)->click();
        QCOMPARE(dialog.bAcceptGameParameters, accepted);
        QVERIFY(!dialog.isVisible());
    }

    void confirmSave_closedOtherwise_isNo()
    {
        frmConfirmSave dialog;
        dialog.open();
        dialog.close();
        QVERIFY(!dialog.bAcceptGameParameters);
    }
};

QTEST_MAIN(tst_Dialogs)
#include "tst_dialogs.moc"
