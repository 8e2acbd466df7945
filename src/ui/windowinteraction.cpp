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

QString WindowInteraction::askPassword(const QString& caption, const QString& playerName)
{
    const shell::OverrideCursor arrow(Qt::ArrowCursor);
    return frmPassword::ask(m_parent, caption, playerName);
}

} // namespace tfp::ui
