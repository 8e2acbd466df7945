// Message boxes of the program, behind one seam: tests queue the answers and read what
// would have been shown, and no box ever appears.
#pragma once

#include "game/interaction.h"
#include "shell/dialogseam.h"

#include <QString>

class QWidget;

namespace tfp::shell {

class MessageBox
{
public:
    enum class Answer
    {
        Ok,
        Yes,
        No
    };

    // A box with an OK button and the message's icon.
    static Answer show(QWidget* parent, const Message& message);
    // A question with Yes and No, Yes the default.
    static Answer question(QWidget* parent, const QString& title, const QString& text);

    // Test seam: while enabled, boxes are recorded instead of shown and answered with the
    // queued answers in order, then with Yes for questions and Ok otherwise.
    static DialogSeam<Answer, Message>& testSeam();
};

} // namespace tfp::shell
