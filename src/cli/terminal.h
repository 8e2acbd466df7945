// The terminal's side of the game rules: messages go to standard error, passwords are
// read from standard input: typed without echo at a terminal (asked again until one is
// acceptable), or, for scripts, taken as one line with no prompt and no second chance.
#pragma once

#include "game/interaction.h"

#include <QTextStream>

namespace tfp::cli {

class TerminalInteraction final : public Interaction
{
public:
    enum class PasswordSource
    {
        Prompt,  // a prompt on standard error, echo off at a terminal, asked again if refused
        OneLine, // one line of standard input, no prompt; a refused line is the answer
    };

    TerminalInteraction(QTextStream& in, QTextStream& err,
                        PasswordSource source = PasswordSource::Prompt)
        : m_in(in), m_err(err), m_source(source)
    {}

    void showMessage(const Message& message) override;
    // The terminal program asks no questions: each command is the answer (a join is its own
    // command), so every question is answered No.
    bool askQuestion(const Message&) override { return false; }
    QString askPassword(const QString& caption, const QString& playerName) override;

private:
    QTextStream& m_in;
    QTextStream& m_err;
    PasswordSource m_source;
};

// Message text with its CR LF line breaks as the terminal's own, and every other control
// character escaped ("\x1B"), so that nothing a file or its name holds can drive the terminal.
[[nodiscard]] QString terminalText(const QString& text);

// One line of output: every control character escaped, line breaks and tabs included.
[[nodiscard]] QString terminalLine(const QString& text);

} // namespace tfp::cli
