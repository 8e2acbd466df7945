// Start-up work done ahead on a second thread: the font configuration is read while the
// application object connects to the display, so the first text the window lays out does
// not wait for it. (Nothing of Qt's own runs there: the application object must be the
// first to make Qt's per-thread state, on the main thread.)
#pragma once

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

private:
    std::thread m_fonts;
};

} // namespace tfp::app
