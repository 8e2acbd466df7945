#include "ui/fieldeditors.h"

#include "game/setup.h"

#include <algorithm>
#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
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

QValidator::State TagCharacterValidator::validate(QString& input, int& /*position*/) const
{
    return containsTagCharacters(input) ? Invalid : Acceptable;
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
        auto* key = static_cast<QKeyEvent*>(event);
        // Clipboard and editing shortcuts still work; pasted text is the entry's to check.
        if (key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Copy) ||
            key->matches(QKeySequence::Cut) || key->matches(QKeySequence::SelectAll) ||
            key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo))
            break;
        const QString text = key->text();
        if (text.isEmpty())
            break; // arrows, Delete, Tab: not typed characters
        const QChar c = text.at(0);
        const bool digit = c >= u'0' && c <= u'9';
        if (!digit && c != QChar(8))
            return true;
        break;
    }
    default:
        break;
    }
    return false;
}

OptionPairBehaviour::OptionPairBehaviour(QWidget* frame, const QList<QWidget*>& buttons)
    : QObject(frame), m_widgets(buttons)
{
    m_widgets.prepend(frame);
    for (QWidget* button : buttons)
        button->installEventFilter(this);
    setEditorHighlight(m_widgets, false);
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
