// Draws the user's eye to a window: a flash that shows whether or not the window is active,
// and ends by itself, leaving the window as it was.
#pragma once

class QWidget;

namespace tfp::shell {

// Flashes the window `count` times (at least once), a second each: its edge is drawn in the
// highlight colour for half a second and cleared for half a second, and while the window
// is not the active one the platform marks it too (task bar, title bar). Returns at once;
// the user-interface thread is never held. A flash asked for during one starts afresh.
void FlashAttention(QWidget* window, int count);

// True while a flash of the window is running.
[[nodiscard]] bool isFlashing(const QWidget* window);

} // namespace tfp::shell
