// The behaviour the setup editors share: the focus colours, the whole text selected on
// entry, trimming on exit, the digits-only filter of the number boxes, and the refusal of
// "<", ">" and control characters in the boxes whose text is stored.
#pragma once

#include <QColor>
#include <QList>
#include <QObject>
#include <QValidator>

class QAbstractButton;
class QLineEdit;
class QWidget;

namespace tfp::ui {

// Light grey of an editor without the focus.
inline const QColor kEditorIdleColour(224, 224, 224);

// Selects the whole text of a text box that is not empty; other controls are left alone.
void selectAllText(QWidget* control);

// Gives a group of widgets the idle or the focused background.
void setEditorHighlight(const QList<QWidget*>& widgets, bool focused);

// Refuses any text that holds "<", ">" or a control character, typed or pasted.
class EntryCharacterValidator final : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

// Attached to a text box: focus colour and select-all on entry, trimming and the idle
// colour on exit, and for number boxes the digits-only filter.
class EditorBehaviour final : public QObject
{
    Q_OBJECT
public:
    enum class Kind
    {
        Text,
        Digits
    };
    EditorBehaviour(QLineEdit* editor, Kind kind);

signals:
    // After the text was trimmed on leaving the box.
    void left();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_editor;
    Kind m_kind;
};

// Attached to the widgets of an option pair and its frame: all of them take the focus
// colour while either button has the focus, and the keyboard enters the pair at its
// selected button.
class OptionPairBehaviour final : public QObject
{
    Q_OBJECT
public:
    OptionPairBehaviour(QWidget* frame, const QList<QAbstractButton*>& buttons);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followSelection();

    QList<QAbstractButton*> m_buttons;
    QList<QWidget*> m_widgets; // the frame and the buttons
};

} // namespace tfp::ui
