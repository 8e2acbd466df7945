// A stand-in for the front end in game-rule tests: answers password prompts from a list
// and remembers every message and prompt.
#pragma once

#include "game/interaction.h"

#include <QList>
#include <QStringList>

namespace tfp::test {

// clang-format off
struct Prompt { QString caption, playerName; };
// clang-format on

class Recorder final : public Interaction
{
public:
    explicit Recorder(QStringList answers = {}) : m_answers(std::move(answers)) {}
    void showMessage(const Message& message) override { messages.append(message); }
    bool askQuestion(const Message& message) override
    {
        questions.append(message);
        return answerYes;
    }
    QString askPassword(const QString& caption, const QString& playerName) override
    {
        prompts.append({caption, playerName});
        return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
    }

    QList<Message> messages;
    QList<Message> questions;
    bool answerYes = true;
    QList<Prompt> prompts;

private:
    QStringList m_answers;
};

} // namespace tfp::test
