// Draws the user's eye to a window by flashing its task-bar entry or title bar.
#pragma once

class QWidget;

namespace tfp::shell {

// Asks the platform to flash the window for `count` seconds (at least one) and returns at
// once; the user-interface thread is never held.
void FlashAttention(QWidget* window, int count);

} // namespace tfp::shell
