#include "ui/frmconfirmsave.h"

#include "shell/pictures.h"
#include "shell/textfit.h"
#include "shell/windowposition.h"

#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

namespace tfp::ui {

frmConfirmSave::frmConfirmSave(QWidget* parent)
    : QDialog(parent), m_text(new QPlainTextEdit(this)), m_instructions(new QLabel(this)),
      m_yes(new QPushButton(QStringLiteral("&Yes"), this)),
      m_no(new QPushButton(QStringLiteral("&No"), this))
{
    setObjectName(QStringLiteral("frmConfirmSave"));
    setWindowTitle(QStringLiteral("Confirm Save"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(403, 224);

    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(9);

    m_text->setObjectName(QStringLiteral("txtConfirmSave"));
    m_text->setReadOnly(true);
    m_text->setFont(arial);
    m_text->setTabStopDistance(QFontMetricsF(arial).horizontalAdvance(u' ') * 8);
    m_text->setGeometry(6, 6, 391, 181);

    m_instructions->setObjectName(QStringLiteral("lblInstructions"));
    m_instructions->setText(QStringLiteral("Would you like to save the game file now?"));
    m_instructions->setFont(arial);
    m_instructions->setGeometry(31, 198, 239, 20);

    m_yes->setObjectName(QStringLiteral("cmdCommand_0"));
    m_yes->setToolTip(QStringLiteral(" Accept game setup and save the game file "));
    m_yes->setGeometry(273, 195, 60, 25);
    m_yes->setDefault(true);
    m_no->setObjectName(QStringLiteral("cmdCommand_1"));
    m_no->setToolTip(QStringLiteral(" Do not save the game file "));
    m_no->setGeometry(337, 195, 60, 25);
    connect(m_yes, &QPushButton::clicked, this, [this] { answer(true); });
    connect(m_no, &QPushButton::clicked, this, [this] { answer(false); });

    shell::fitTexts(this);
    setTabOrder(m_yes, m_no);
    m_yes->setFocus();
    shell::centreOnScreen(this, parent);
}

void frmConfirmSave::setText(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_text->setPlainText(shown);
}

QString frmConfirmSave::text() const
{
    return m_text->toPlainText();
}

void frmConfirmSave::answer(bool accept)
{
    bAcceptGameParameters = accept;
    hide();
    done(accept ? Accepted : Rejected);
}

void frmConfirmSave::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    const QIcon icon = shell::pictureIcon(QStringLiteral(":/images/question.png"));
    icon.paint(&painter, QRect(4, 195, 25, 25));
}

bool frmConfirmSave::ask(QWidget* parent, const QString& text)
{
    if (testSeam().enabled())
        return testSeam().answer(text, false);
    frmConfirmSave dialog(parent);
    dialog.setText(text);
    dialog.exec();
    return dialog.bAcceptGameParameters;
}

shell::DialogSeam<bool, QString>& frmConfirmSave::testSeam()
{
    static shell::DialogSeam<bool, QString> seam;
    return seam;
}

} // namespace tfp::ui
