#include "ui/frmconfirmsave.h"

#include "shell/pictures.h"
#include "shell/textfit.h"
#include "shell/windowposition.h"

#include <algorithm>
#include <memory>
#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

namespace tfp::ui {
namespace {

QFont textFont()
{
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(9);
    return arial;
}

} // namespace

frmConfirmSave::frmConfirmSave(QWidget* parent)
    : QDialog(parent), m_text(new QTextEdit(this)), m_instructions(new QLabel(this)),
      m_yes(new QPushButton(QStringLiteral("&Yes"), this)),
      m_no(new QPushButton(QStringLiteral("&No"), this))
{
    setObjectName(QStringLiteral("frmConfirmSave"));
    setWindowTitle(QStringLiteral("Confirm Save"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(403, 224);

    m_text->setObjectName(QStringLiteral("txtConfirmSave"));
    m_text->setReadOnly(true);
    m_text->setFont(textFont());
    m_text->setGeometry(6, 6, 391, 181);

    m_instructions->setObjectName(QStringLiteral("lblInstructions"));
    m_instructions->setText(QStringLiteral("Would you like to save the game file now?"));
    m_instructions->setFont(textFont());
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
    // The values in one column: the tab stop lies past the longest label. The font is made
    // smaller, a quarter point at a time, only while the first line would wrap or the text
    // would need a scroll bar.
    QFont font = textFont();
    for (;;) {
        m_text->setFont(font);
        const QFontMetricsF metrics(font);
        qreal labels = 0;
        for (const QString& line : shown.split(u'\n')) {
            if (line.contains(u'\t'))
                labels = std::max(labels, metrics.horizontalAdvance(line.section(u'\t', 0, 0)));
        }
        m_text->setTabStopDistance(labels + metrics.horizontalAdvance(u' '));
        if (textFitsWhole() || font.pointSizeF() - shell::kFitStep < shell::kLeastFitPointSize)
            break;
        font.setPointSizeF(font.pointSizeF() - shell::kFitStep);
    }
}

bool frmConfirmSave::textFitsWhole() const
{
    // Laid out apart from the control, which lays out only once it is shown.
    const std::unique_ptr<QTextDocument> document(m_text->document()->clone());
    document->setDefaultFont(m_text->font());
    document->setDefaultTextOption(m_text->document()->defaultTextOption());
    document->setTextWidth(m_text->contentsRect().width());
    return document->size().height() <= m_text->contentsRect().height() &&
           document->firstBlock().layout()->lineCount() == 1;
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
