// A pointer shape held for a scope, so every way out restores the previous one: the
// hourglass for file work, the arrow while a dialog asks something in the middle of it.
#pragma once

#include <QApplication>
#include <QCursor>

namespace tfp::ui {

class OverrideCursor
{
public:
    explicit OverrideCursor(Qt::CursorShape shape = Qt::WaitCursor)
    {
        QApplication::setOverrideCursor(QCursor(shape));
    }
    ~OverrideCursor() { QApplication::restoreOverrideCursor(); }
    OverrideCursor(const OverrideCursor&) = delete;
    OverrideCursor& operator=(const OverrideCursor&) = delete;
};

} // namespace tfp::ui
