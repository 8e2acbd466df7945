// A stand-in for the front end in game-rule tests: answers password prompts from a list, and
// every question yes, and remembers every message and the captions of the prompts.
#pragma once

#include "game/interaction.h"

#include <QList>
#include <QStringList>

namespace tfp::test {

class Recorder final : public Interaction
{
public:
    explicit Recorder(QStringList answers = {}) : m_answers(std::move(answers)) {}
    void showMessage(const Message& message) override { messages.append(message); }
    bool askQuestion(const Message&) override { return true; }
    QString askPassword(const QString& caption, const QString&) override
    {
        prompts.append(caption);
        return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
    }

    QList<Message> messages;
    QStringList prompts; // the captions

private:
    QStringList m_answers;
};

} // namespace tfp::test
