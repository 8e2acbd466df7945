// The password and confirm-save dialogs, driven through their own controls.
#include "testsupport.h"
#include "windowseams.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace tfp;
using namespace tfp::ui;

namespace {
// Text put in the dialog (the password typed, the settings to confirm), then an action:
// 0 the first button (OK, Yes), 1 the second (Cancel, No), 2 Escape, 3 the dialog closed.
// `result`: the password handed back, or 1 when the settings were accepted and 0 when not;
// `stays`: the dialog stays open, with one message shown.
// clang-format off
struct Answer { bool password; QString text; int action; QString result; bool stays = false; };
// clang-format on
} // namespace

class tst_Dialogs : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::WindowSeams> seams;

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
        dialog.setUserName(QStringLiteral("Ben"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("txtPassword"));
        auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("cmdCommand_0"));
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("txtUserName"))->text(), u"Ben");
        QVERIFY(!ok->isEnabled());
        QTest::keyClicks(box, QStringLiteral("a<b>") + QString(20, u'c'));
        QVERIFY(box->text() == QStringLiteral("ab") + QString(18, u'c') && ok->isEnabled());
        box->setText(QStringLiteral("   "));
        ok->setFocus(); // leaving the box trims it
        QVERIFY(box->text().isEmpty() && !ok->isEnabled());
        dialog.hide();
    }

    void answer_data()
    {
        test::addRowColumn<Answer>();
        // clang-format off
        test::addRow<Answer>("password, OK trims", true, "  pass word  ", 0, "pass word");
        test::addRow<Answer>("password, OK with blanks: none", true, "   ", 0, "");
        test::addRow<Answer>("password, OK, U+043F", true, QStringLiteral("\u043f"), 0, "", true);
        test::addRow<Answer>("password, Cancel hands back the text", true, "pw", 1, "pw");
        test::addRow<Answer>("password, Cancel while empty", true, "", 1, "", true);
        test::addRow<Answer>("password, Escape hands back the text", true, "pw", 2, "pw");
        test::addRow<Answer>("password, Escape while empty", true, "", 2, "", true);
        test::addRow<Answer>("password, closed: none", true, "typed", 3, "");
        test::addRow<Answer>("password, closed while empty", true, "", 3, "", true);
        test::addRow<Answer>("confirm, Yes", false, "Game: Ridge\r\nTurns: 20", 0, "1");
        test::addRow<Answer>("confirm, No", false, "Turns: 20", 1, "0");
        test::addRow<Answer>("confirm, Escape", false, "Turns: 20", 2, "0");
        test::addRow<Answer>("confirm, closed", false, "Turns: 20", 3, "0");
        // clang-format on
    }
    void answer()
    {
        QFETCH(Answer, row);
        frmPassword password;
        frmConfirmSave confirm;
        QDialog& dialog = row.password ? static_cast<QDialog&>(password) : confirm;
        dialog.open();
        if (row.password)
            dialog.findChild<QLineEdit*>(QStringLiteral("txtPassword"))->setText(row.text);
        else
            confirm.setText(row.text);
        auto* shown = dialog.findChild<QPlainTextEdit*>(QStringLiteral("txtConfirmSave"));
        QVERIFY(row.password ||
                (shown->isReadOnly() && shown->toPlainText() == QString(row.text).remove(u'\r')));
        if (row.action < 2)
            dialog.findChild<QPushButton*>(QStringLiteral("cmdCommand_%1").arg(row.action))
                ->click();
        else if (row.action == 2)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.close();
        const QString result = row.password ? password.sValidatedPassword
                                            : QString::number(confirm.bAcceptGameParameters);
        QCOMPARE(result, row.result);
        QCOMPARE(dialog.isVisible(), row.stays);
        QCOMPARE(dialog.result() == QDialog::Accepted,
                 !row.stays && row.action < 3 && result != u"0");
        QCOMPARE(shell::MessageBox::testSeam().requests().size(), row.stays ? 1 : 0);
        dialog.hide();
    }
};

QTEST_MAIN(tst_Dialogs)
#include "tst_dialogs.moc"
