// The hourglass pointer while a dialog loads, held for a scope so every way out restores
// the previous pointer.
#pragma once

#include <QApplication>
#include <QCursor>

namespace tfp::shell {

class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { release(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

    // Restores the pointer now (once the dialog is in use); later calls do nothing.
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
