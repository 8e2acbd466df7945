// The terminal's side of the game rules: messages go to standard error, passwords are
// read from standard input (without echo when it is a terminal).
#pragma once

#include "game/interaction.h"

#include <QTextStream>

namespace tfp::cli {

class TerminalInteraction final : public Interaction
{
public:
    TerminalInteraction(QTextStream& in, QTextStream& err) : m_in(in), m_err(err) {}

    void showMessage(const Message& message) override;
    QString askPassword(const QString& caption, const QString& playerName) override;

private:
    QTextStream& m_in;
    QTextStream& m_err;
};

// Message text with its CR LF line breaks as the terminal's own.
[[nodiscard]] QString terminalText(const QString& text);

} // namespace tfp::cli
