#include "shell/messagebox.h"

#include <QMessageBox>

namespace tfp::shell {
namespace {

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

} // namespace

MessageBox::Answer MessageBox::show(QWidget* parent, const Message& message)
{
    if (testSeam().enabled())
        return testSeam().answer(message, Answer::Ok);
    QMessageBox box(iconOf(message.icon), message.title, displayText(message.text), QMessageBox::Ok,
                    parent);
    box.exec();
    return Answer::Ok;
}

MessageBox::Answer MessageBox::question(QWidget* parent, const QString& title, const QString& text)
{
    if (testSeam().enabled())
        return testSeam().answer({title, text, MessageIcon::Question}, Answer::Yes);
    QMessageBox box(QMessageBox::Question, title, displayText(text),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

DialogSeam<MessageBox::Answer, Message>& MessageBox::testSeam()
{
    static DialogSeam<Answer, Message> seam;
    return seam;
}

} // namespace tfp::shell
