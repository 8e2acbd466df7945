#include "ui/frmconfirmsave.h"

#include "shell/pictures.h"

#include <QFont>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QList>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

namespace tfp::ui {
namespace {

struct TestState
{
    bool enabled = false;
    QList<bool> answers;
    std::optional<QString> lastText;
};

TestState& testState()
{
    static TestState state;
    return state;
}

} // namespace

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

    setTabOrder(m_yes, m_no);
    m_yes->setFocus();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
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
    TestState& state = testState();
    if (state.enabled) {
        state.lastText = text;
        return state.answers.isEmpty() ? false : state.answers.takeFirst();
    }
    frmConfirmSave dialog(parent);
    dialog.setText(text);
    dialog.exec();
    return dialog.bAcceptGameParameters;
}

void frmConfirmSave::setTestMode(bool enabled)
{
    TestState& state = testState();
    state.enabled = enabled;
    state.answers.clear();
    state.lastText.reset();
}

void frmConfirmSave::queueAnswer(bool accept)
{
    testState().answers.append(accept);
}

std::optional<QString> frmConfirmSave::lastText()
{
    return testState().lastText;
}

} // namespace tfp::ui
