// Start-up work done ahead on a second thread: the font configuration is read while the
// application object connects to the display, and Qt's font database filled while the
// window builds its controls, so the first text the window lays out waits for neither.
// (Nothing of Qt's runs there before the application object: it must be the first to make
// Qt's per-thread state, on the main thread.)
#pragma once

#include <QFont>
#include <thread>

namespace tfp::app {

// Holds the warm-up thread; the destructor waits for it, so nothing of it outlives main.
class StartupWarmUp
{
public:
    StartupWarmUp();
    ~StartupWarmUp();
    StartupWarmUp(const StartupWarmUp&) = delete;
    StartupWarmUp& operator=(const StartupWarmUp&) = delete;

    // Once the application object exists: fills Qt's font database on the second thread
    // (its functions are safe from any thread) while the window builds its controls, and
    // looks up there the fallback fonts of `windowFont`, which the database keeps for
    // every thread; the window's first text then finds both ready.
    void applicationCreated(const QFont& windowFont);

private:
    std::thread m_fonts;
};

} // namespace tfp::app
