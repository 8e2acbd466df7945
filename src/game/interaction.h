// What a game rule needs of its front end: a way to show a message box and to ask a
// player for a password. The window answers with dialogs, the terminal program with its
// standard streams, a test with a recorder.
#pragma once

#include <QString>

namespace tfp {

enum class MessageIcon
{
    Exclamation,
    Question,
    Information
};

struct Message
{
    QString title;
    QString text;
    MessageIcon icon = MessageIcon::Exclamation;

    friend bool operator==(const Message&, const Message&) = default;
};

class Interaction
{
public:
    virtual ~Interaction() = default;

    // Shows a message with an OK button and returns when the user has read it.
    virtual void showMessage(const Message& message) = 0;

    // Asks a question with Yes and No (Yes the default); true for Yes.
    virtual bool askQuestion(const Message& message) = 0;

    // Asks the player for a password under `caption` ("Set Password for Player #1"),
    // showing whose it is. Returns what was typed with the blanks at both ends removed;
    // empty when nothing was given.
    virtual QString askPassword(const QString& caption, const QString& playerName) = 0;
};

} // namespace tfp
