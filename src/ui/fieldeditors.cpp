#include "ui/fieldeditors.h"

#include "game/setup.h"

#include <algorithm>
#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QTimer>

namespace tfp::ui {

void selectAllText(QWidget* control)
{
    auto* edit = qobject_cast<QLineEdit*>(control);
    if (edit && !edit->text().isEmpty()) {
        edit->setCursorPosition(edit->text().size());
        edit->setSelection(0, static_cast<int>(edit->text().size()));
    }
}

void setEditorHighlight(const QList<QWidget*>& widgets, bool focused)
{
    const QColor colour = focused ? QApplication::palette().color(QPalette::Active, QPalette::Base)
                                  : kEditorIdleColour;
    for (QWidget* widget : widgets) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Base, colour);
        palette.setColor(QPalette::Window, colour);
        palette.setColor(QPalette::Button, colour);
        widget->setPalette(palette);
        widget->setAutoFillBackground(true);
    }
}

QValidator::State EntryCharacterValidator::validate(QString& input, int& /*position*/) const
{
    return containsTagCharacters(input) || !firstControlCharacter(input).isEmpty() ? Invalid
                                                                                   : Acceptable;
}

EditorBehaviour::EditorBehaviour(QLineEdit* editor, Kind kind)
    : QObject(editor), m_editor(editor), m_kind(kind)
{
    editor->installEventFilter(this);
    setEditorHighlight({editor}, false);
}

bool EditorBehaviour::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_editor)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn: {
        setEditorHighlight({m_editor}, true);
        // A mouse click places the cursor after the focus arrives; select once it has.
        QTimer::singleShot(0, m_editor, [edit = m_editor] {
            if (edit->hasFocus())
                selectAllText(edit);
        });
        selectAllText(m_editor);
        break;
    }
    case QEvent::FocusOut: {
        const QString trimmed = m_editor->text().trimmed();
        if (trimmed != m_editor->text())
            m_editor->setText(trimmed);
        setEditorHighlight({m_editor}, false);
        emit left();
        break;
    }
    case QEvent::KeyPress: {
        if (m_kind != Kind::Digits)
            break;
        // Only typed characters are filtered: Tab, Delete, the arrows and the shortcuts
        // (their texts are control characters or none) work as in any text box, and
        // pasted text is the entry's to check.
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.isEmpty() || !text.at(0).isPrint())
            break;
        const QChar c = text.at(0);
        if (c < u'0' || c > u'9')
            return true;
        break;
    }
    default:
        break;
    }
    return false;
}

OptionPairBehaviour::OptionPairBehaviour(QWidget* frame, const QList<QAbstractButton*>& buttons)
    : QObject(frame), m_buttons(buttons)
{
    m_widgets.append(frame);
    for (QAbstractButton* button : buttons) {
        m_widgets.append(button);
        button->installEventFilter(this);
        connect(button, &QAbstractButton::toggled, this, &OptionPairBehaviour::followSelection);
    }
    setEditorHighlight(m_widgets, false);
    followSelection();
}

void OptionPairBehaviour::followSelection()
{
    // Tab and Backtab enter the pair at its selected button; the arrows move within it.
    for (QAbstractButton* button : m_buttons)
        button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

bool OptionPairBehaviour::eventFilter(QObject* /*watched*/, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        setEditorHighlight(m_widgets, true);
    } else if (event->type() == QEvent::FocusOut) {
        // Moving between the two buttons of the pair keeps the highlight.
        const bool stays = std::any_of(m_widgets.begin(), m_widgets.end(),
                                       [](QWidget* w) { return w->hasFocus(); });
        QWidget* next = QApplication::focusWidget();
        const bool inPair = next && m_widgets.contains(next);
        if (!stays && !inPair)
            setEditorHighlight(m_widgets, false);
    }
    return false;
}

} // namespace tfp::ui
