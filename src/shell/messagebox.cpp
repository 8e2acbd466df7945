#include "shell/messagebox.h"

#include <QMessageBox>

namespace tfp::shell {
namespace {

struct TestState
{
    bool enabled = false;
    QList<MessageBox::Answer> answers;
    QList<Message> shown;
};

TestState& testState()
{
    static TestState state;
    return state;
}

QMessageBox::Icon iconOf(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        break;
    }
    return QMessageBox::Warning;
}

QString displayText(const QString& text)
{
    QString copy = text;
    copy.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return copy;
}

MessageBox::Answer recordedAnswer(const Message& message, MessageBox::Answer fallback)
{
    TestState& state = testState();
    state.shown.append(message);
    return state.answers.isEmpty() ? fallback : state.answers.takeFirst();
}

} // namespace

MessageBox::Answer MessageBox::show(QWidget* parent, const Message& message)
{
    if (testState().enabled)
        return recordedAnswer(message, Answer::Ok);
    QMessageBox box(iconOf(message.icon), message.title, displayText(message.text), QMessageBox::Ok,
                    parent);
    box.exec();
    return Answer::Ok;
}

MessageBox::Answer MessageBox::question(QWidget* parent, const QString& title, const QString& text)
{
    if (testState().enabled)
        return recordedAnswer({title, text, MessageIcon::Question}, Answer::Yes);
    QMessageBox box(QMessageBox::Question, title, displayText(text),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void MessageBox::setTestMode(bool enabled)
{
    TestState& state = testState();
    state.enabled = enabled;
    state.answers.clear();
    state.shown.clear();
}

void MessageBox::queueAnswer(Answer answer)
{
    testState().answers.append(answer);
}

QList<Message> MessageBox::shownMessages()
{
    return testState().shown;
}

void MessageBox::clearShownMessages()
{
    testState().shown.clear();
}

} // namespace tfp::shell
