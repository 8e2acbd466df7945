#include "ui/frmpassword.h"

#include "appversion.h"
#include "game/passwords.h"
#include "shell/messagebox.h"
#include "shell/paneledge.h"
#include "shell/pictures.h"
#include "shell/textfit.h"
#include "shell/windowposition.h"
#include "ui/fieldeditors.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace tfp::ui {
namespace {

QLabel* makeLabel(QWidget* parent, int index, const QString& text, const QRect& geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("Label1_%1").arg(index));
    label->setGeometry(geometry);
    return label;
}

} // namespace

frmPassword::frmPassword(QWidget* parent)
    : QDialog(parent), m_userName(new QLineEdit(this)), m_password(new QLineEdit(this)),
      m_ok(new QPushButton(QStringLiteral("OK"), this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("frmPassword"));
    setWindowTitle(QStringLiteral("Enter Password"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(310, 121);

    QLabel* name = makeLabel(this, 0, QStringLiteral("Player Name:"), QRect(46, 9, 104, 20));
    QLabel* password = makeLabel(this, 1, QStringLiteral("Password:"), QRect(46, 37, 104, 20));
    makeLabel(this, 2, QStringLiteral("Passwords are case sensitive."), QRect(46, 63, 258, 20));
    // Screen readers name each box by its label.
    name->setBuddy(m_userName);
    password->setBuddy(m_password);

    m_userName->setObjectName(QStringLiteral("txtUserName"));
    m_userName->setReadOnly(true);
    m_userName->setFocusPolicy(Qt::NoFocus);
    m_userName->setGeometry(150, 8, 154, 22);
    QPalette palette = m_userName->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Midlight));
    m_userName->setPalette(palette);

    m_password->setObjectName(QStringLiteral("txtPassword"));
    m_password->setMaxLength(kMaxPasswordLength);
    m_password->setValidator(new EntryCharacterValidator(m_password));
    m_password->setToolTip(
        QStringLiteral(" Enter a password, between 1 and %1 characters, case sensitive ")
            .arg(kMaxPasswordLength));
    m_password->setGeometry(150, 36, 154, 22);
    new EditorBehaviour(m_password, EditorBehaviour::Kind::Text);

    m_ok->setObjectName(QStringLiteral("cmdCommand_0"));
    m_ok->setGeometry(180, 92, 60, 25);
    m_ok->setDefault(true);
    m_ok->setEnabled(false);
    m_cancel->setObjectName(QStringLiteral("cmdCommand_1"));
    m_cancel->setGeometry(244, 92, 60, 25);

    connect(m_password, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_ok->setEnabled(!text.isEmpty()); });
    connect(m_ok, &QPushButton::clicked, this, &frmPassword::pressOk);
    connect(m_cancel, &QPushButton::clicked, this, &frmPassword::pressCancel);

    // One size throughout: the labels, boxes and buttons share the dialog's font, made smaller
    // together only where a caption would not fit.
    shell::fitTexts(this);
    m_userName->setFont(m_ok->font());
    m_password->setFont(m_ok->font());
    setTabOrder(m_password, m_ok);
    setTabOrder(m_ok, m_cancel);
    m_password->setFocus();
    shell::centreOnScreen(this, parent);
}

void frmPassword::setUserName(const QString& name)
{
    m_userName->setText(name);
}

void frmPassword::pressOk()
{
    if (m_ok->isEnabled())
        handBack();
}

void frmPassword::pressCancel()
{
    if (!m_password->text().isEmpty()) {
        handBack();
        return;
    }
    sValidatedPassword.clear();
    insistOnEntry();
}

void frmPassword::handBack()
{
    const QString typed = m_password->text().trimmed();
    // Blanks hand back no password, for the caller to refuse; anything else must be a
    // password the game file can give back as it was typed.
    if (const QString reason = typed.isEmpty() ? QString() : passwordRefusal(typed);
        !reason.isEmpty()) {
        shell::MessageBox::show(
            this, {QLatin1String(appinfo::kProductName), reason, MessageIcon::Exclamation});
        m_password->setFocus();
        return;
    }
    sValidatedPassword = typed;
    done(Accepted);
}

void frmPassword::insistOnEntry()
{
    shell::MessageBox::show(this, {QLatin1String(appinfo::kProductName), passwordRefusal(QString()),
                                   MessageIcon::Exclamation});
    if (m_password->isEnabled())
        m_password->setFocus();
}

void frmPassword::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        pressCancel();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmPassword::closeEvent(QCloseEvent* event)
{
    if (m_password->text().isEmpty()) {
        event->ignore();
        insistOnEntry();
        return;
    }
    // Closed from the title bar with text typed: no button was pressed, so no password.
    sValidatedPassword.clear();
    event->accept();
    done(Rejected);
}

void frmPassword::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    const int top = m_ok->geometry().top();
    shell::DrawPanelEdge(painter, 3, top - 7, width() - 3, top - 5, false);
    shell::pictureIcon(QStringLiteral(":/images/key.png")).paint(&painter, QRect(4, 4, 32, 32));
}

QString frmPassword::ask(QWidget* parent, const QString& caption, const QString& name)
{
    if (testSeam().enabled())
        return testSeam().answer({caption, name}, QString()).trimmed();
    frmPassword dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setUserName(name);
    dialog.exec();
    return dialog.sValidatedPassword;
}

shell::DialogSeam<QString, frmPassword::Request>& frmPassword::testSeam()
{
    static shell::DialogSeam<QString, Request> seam;
    return seam;
}

} // namespace tfp::ui
