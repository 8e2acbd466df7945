// A pointer shape held for a scope, so every way out restores the previous one: the
// hourglass for file work and while a dialog loads, the arrow while a dialog asks something
// in the middle of file work.
#pragma once

#include <QApplication>
#include <QCursor>

namespace tfp::shell {

class OverrideCursor
{
public:
    explicit OverrideCursor(Qt::CursorShape shape = Qt::WaitCursor)
    {
        QApplication::setOverrideCursor(QCursor(shape));
    }
    ~OverrideCursor() { release(); }
    OverrideCursor(const OverrideCursor&) = delete;
    OverrideCursor& operator=(const OverrideCursor&) = delete;

    // Restores the pointer now (once a dialog is in use); later calls do nothing.
    void release()
    {
        if (m_held)
            QApplication::restoreOverrideCursor();
        m_held = false;
    }

private:
    bool m_held = true;
};

} // namespace tfp::shell
