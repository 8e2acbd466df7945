#include "shell/frmabout.h"

#include "appversion.h"
#include "game/versions.h"
#include "shell/dialogdecor.h"
#include "shell/textfit.h"
#include "shell/waitcursor.h"
#include "shell/windowposition.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

namespace tfp::shell {
namespace {

constexpr qsizetype kMostVersionsListed = 10;
constexpr qreal kTitlePointSize = 15.75;

QString productName()
{
    return QLatin1String(appinfo::kProductName);
}

// Haettenschweiler where it is installed; otherwise a condensed bold face. Either is made
// smaller when the product name would not fit the label (fitTexts).
QFont titleFont(const QFont& base)
{
    const QString display = QStringLiteral("Haettenschweiler");
    QFont font = base;
    if (QFontDatabase::hasFamily(display)) {
        font = QFont(display);
    } else {
        font.setStretch(QFont::Condensed);
        font.setBold(true);
    }
    font.setPointSizeF(kTitlePointSize);
    return font;
}

} // namespace

QString aboutText()
{
    const QString crlf = QStringLiteral("\r\n");
    const QString company = QLatin1String(appinfo::kCompanyName);
    QString text = QStringLiteral("Application Version ") + getAppVersion() + crlf +
                   QString::fromUtf8(appinfo::kLegalNotice) + crlf + QStringLiteral("Written by ") +
                   company + crlf + crlf + productName() +
                   QStringLiteral(" is freeware and may be freely distributed, while ") + company +
                   QStringLiteral(" keeps full rights to the program and its documentation.") +
                   crlf + crlf +
                   QStringLiteral("If you like this application, please donate $2.00 to help "
                                  "fund improvements, further development, and additional "
                                  "applications from Torva.") +
                   crlf + crlf + QStringLiteral("E-mail ") + QLatin1String(appinfo::kSupportEmail) +
                   QStringLiteral(" with your questions and suggestions.") + crlf + crlf +
                   QStringLiteral("This version of the application supports game files created "
                                  "with the following version(s):  ") +
                   crlf;
    const QStringList& versions = supportedVersions();
    for (qsizetype i = 0; i < versions.size() && i < kMostVersionsListed; ++i)
        text += QStringLiteral("   ") + versions.at(i) + crlf;
    return text;
}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setFixedSize(twipsRect(0, 0, 4860, 3030).size());

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setToolTip(QStringLiteral(" Close this window "));
    cmdOK->setGeometry(twipsRect(3915, 2610, 900, 375));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    lblAppTitle = new QLabel(this);
    lblAppTitle->setObjectName(QStringLiteral("lblAppTitle"));
    lblAppTitle->setGeometry(twipsRect(975, 0, 3825, 360));

    txtInstructions = new QPlainTextEdit(this);
    txtInstructions->setObjectName(QStringLiteral("txtInstructions"));
    txtInstructions->setGeometry(twipsRect(960, 420, 3855, 2040));
    txtInstructions->setReadOnly(true);
    txtInstructions->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtInstructions->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtInstructions->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    // OK comes first, so it has the focus when the box opens.
    setTabOrder(cmdOK, txtInstructions);
    cmdOK->setFocus();

    m_logo = dialogLogo(this);
    centreOnScreen(this, parent);
    setWindowTitle(QStringLiteral("About ") + productName());
    lblAppTitle->setText(productName());
    lblAppTitle->setFont(titleFont(lblAppTitle->font()));
    fitTexts(this);
    QString shown = aboutText();
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtInstructions->setPlainText(shown);
}

void frmAbout::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    paintDialogDecorations(painter, this, cmdOK, m_logo);
}

void ShowAboutBox(QWidget* parent)
{
    OverrideCursor wait;
    frmAbout dialog(parent);
    execDialog(dialog, wait);
}

} // namespace tfp::shell
