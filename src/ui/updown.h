// A spinner of two arrow buttons bound to a text box: each click, and each Up or Down key
// in the box, writes its value into the box as a plain decimal number.
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace tfp::ui {

class UpDown final : public QWidget
{
    Q_OBJECT
public:
    UpDown(QLineEdit* buddy, int lowest, int highest, int value, QWidget* parent = nullptr);

    [[nodiscard]] int lowest() const { return m_lowest; }
    [[nodiscard]] int highest() const { return m_highest; }
    [[nodiscard]] int value() const { return m_value; }
    void setHighest(int highest);

    // One click of either arrow.
    void stepUp() { step(+1); }
    void stepDown() { step(-1); }

signals:
    void valueChanged(int value);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void step(int delta);

    QLineEdit* m_buddy;
    QToolButton* m_up;
    QToolButton* m_down;
    int m_lowest;
    int m_highest;
    int m_value;
};

} // namespace tfp::ui
