#include "ui/windowinteraction.h"

#include "shell/messagebox.h"
#include "shell/waitcursor.h"
#include "ui/frmpassword.h"

namespace tfp::ui {

void WindowInteraction::showMessage(const Message& message)
{
    // A message always gets the ordinary pointer, even in the middle of file work.
    const shell::OverrideCursor arrow(Qt::ArrowCursor);
    shell::MessageBox::show(m_parent, message);
}

bool WindowInteraction::askQuestion(const Message& message)
{
    const shell::OverrideCursor arrow(Qt::ArrowCursor);
    return shell::MessageBox::question(m_parent, message.title, message.text) ==
           shell::MessageBox::Answer::Yes;
}

QString WindowInteraction::askPassword(const QString& caption, const QString& playerName)
{
    const shell::OverrideCursor arrow(Qt::ArrowCursor);
    return frmPassword::ask(m_parent, caption, playerName);
}

} // namespace tfp::ui
