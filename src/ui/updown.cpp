#include "ui/updown.h"

#include "game/numbers.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace tfp::ui {

UpDown::UpDown(QLineEdit* buddy, int lowest, int highest, int value, QWidget* parent)
    : QWidget(parent), m_buddy(buddy), m_up(new QToolButton(this)), m_down(new QToolButton(this)),
      m_lowest(lowest), m_highest(highest), m_value(value)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* button : {m_up, m_down}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        button->setIconSize(QSize(7, 4));
        layout->addWidget(button);
    }
    m_up->setObjectName(QStringLiteral("up"));
    m_down->setObjectName(QStringLiteral("down"));
    m_up->setAccessibleName(QStringLiteral("Step up"));
    m_down->setAccessibleName(QStringLiteral("Step down"));
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    connect(m_up, &QToolButton::clicked, this, &UpDown::stepUp);
    connect(m_down, &QToolButton::clicked, this, &UpDown::stepDown);
    buddy->installEventFilter(this);
}

bool UpDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_buddy && event->type() == QEvent::KeyPress && isEnabled()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            if (key->key() == Qt::Key_Up) {
                stepUp();
                return true;
            }
            if (key->key() == Qt::Key_Down) {
                stepDown();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void UpDown::setHighest(int highest)
{
    m_highest = highest;
    if (m_value > m_highest)
        m_value = qMax(m_lowest, m_highest);
}

void UpDown::step(int delta)
{
    // The spinner starts from the number in its box, so typing and clicking agree.
    const WholeNumber typed = readWholeNumber(m_buddy->text(), m_lowest, m_highest);
    int current = m_value;
    if (typed.error == NumberError::None)
        current = static_cast<int>(typed.value);
    else if (typed.error == NumberError::OutOfRange)
        current = entryNumber(m_buddy->text()) < m_lowest ? m_lowest : m_highest;
    const int next = qBound(m_lowest, current + delta, qMax(m_lowest, m_highest));
    m_value = next;
    m_buddy->setText(QString::number(next));
    emit valueChanged(next);
}

} // namespace tfp::ui
