// The large picture button of the main window: its traffic light above a caption that
// wraps onto a second line when it must.
#pragma once

#include <QToolButton>

namespace tfp::ui {

class CheckButton final : public QToolButton
{
    Q_OBJECT
public:
    using QToolButton::QToolButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tfp::ui
