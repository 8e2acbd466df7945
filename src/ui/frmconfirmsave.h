// The dialog that shows a new game's parameters and asks whether to save the game file.
#pragma once

#include "shell/dialogseam.h"

#include <QDialog>

class QLabel;
class QTextEdit;
class QPushButton;

namespace tfp::ui {

class frmConfirmSave final : public QDialog
{
    Q_OBJECT
public:
    explicit frmConfirmSave(QWidget* parent = nullptr);

    void setText(const QString& text);
    [[nodiscard]] QString text() const;

    // The answer: true only when Yes was pressed.
    bool bAcceptGameParameters = false;

    // Shows the dialog modally with `text` and returns the answer. Tests set the next
    // answer instead and read the text that was asked about.
    [[nodiscard]] static bool ask(QWidget* parent, const QString& text);
    static shell::DialogSeam<bool, QString>& testSeam();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void answer(bool accept);
    // True when the text needs no scroll bar and its first line is whole on one line.
    [[nodiscard]] bool textFitsWhole() const;

    QTextEdit* m_text;
    QLabel* m_instructions;
    QPushButton* m_yes;
    QPushButton* m_no;
};

} // namespace tfp::ui
