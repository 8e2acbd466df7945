#include "shell/attention.h"

#include <QApplication>
#include <QWidget>

namespace tfp::shell {

void FlashAttention(QWidget* window, int count)
{
    if (!window)
        return;
    constexpr int kMillisecondsPerFlash = 1000;
    constexpr int kLongestFlash = 60 * 60; // seconds; keeps the product within an int
    QApplication::alert(window, qBound(1, count, kLongestFlash) * kMillisecondsPerFlash);
}

} // namespace tfp::shell
