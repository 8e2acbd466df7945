// The window's side of the game rules: messages in message boxes, passwords through
// frmPassword.
#pragma once

#include "game/interaction.h"

class QWidget;

namespace tfp::ui {

class WindowInteraction final : public Interaction
{
public:
    explicit WindowInteraction(QWidget* parent) : m_parent(parent) {}

    void showMessage(const Message& message) override;
    bool askQuestion(const Message& message) override;
    QString askPassword(const QString& caption, const QString& playerName) override;

private:
    QWidget* m_parent;
};

} // namespace tfp::ui
