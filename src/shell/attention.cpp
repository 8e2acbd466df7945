#include "shell/attention.h"

#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace tfp::shell {
namespace {

constexpr int kMillisecondsPerHalfFlash = 500;
constexpr int kMostFlashes = 60 * 60; // an hour of flashing keeps every product within an int
constexpr int kEdgeWidth = 4;

// Laid over the whole window, above its controls; it draws only the highlighted edge and
// lets the mouse through.
class FlashOverlay final : public QWidget
{
public:
    explicit FlashOverlay(QWidget* window) : QWidget(window)
    {
        setObjectName(QStringLiteral("attentionFlash"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        m_timer.setInterval(kMillisecondsPerHalfFlash);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { step(); });
    }

    void start(int count)
    {
        m_halvesLeft = 2 * count;
        turn(true);
        m_timer.start();
        if (QWindow* handle = parentWidget()->window()->windowHandle();
            handle && !parentWidget()->isActiveWindow())
            handle->alert(count * 2 * kMillisecondsPerHalfFlash);
    }

    [[nodiscard]] bool running() const { return m_timer.isActive(); }

protected:
    void paintEvent(QPaintEvent* /*event*/) override
    {
        QPainter painter(this);
        const QColor colour = palette().color(QPalette::Active, QPalette::Highlight);
        const QRect r = rect();
        painter.fillRect(r.x(), r.y(), r.width(), kEdgeWidth, colour);
        painter.fillRect(r.x(), r.bottom() - kEdgeWidth + 1, r.width(), kEdgeWidth, colour);
        painter.fillRect(r.x(), r.y(), kEdgeWidth, r.height(), colour);
        painter.fillRect(r.right() - kEdgeWidth + 1, r.y(), kEdgeWidth, r.height(), colour);
    }

private:
    void turn(bool on)
    {
        if (on) {
            setGeometry(parentWidget()->rect());
            raise();
        }
        setVisible(on);
    }

    void step()
    {
        if (--m_halvesLeft > 0) {
            turn(!isVisible());
            return;
        }
        m_timer.stop();
        turn(false);
        deleteLater();
    }

    QTimer m_timer;
    int m_halvesLeft = 0;
};

FlashOverlay* runningFlash(const QWidget* window)
{
    for (QWidget* child : window->findChildren<QWidget*>(QStringLiteral("attentionFlash"),
                                                         Qt::FindDirectChildrenOnly)) {
        auto* overlay = dynamic_cast<FlashOverlay*>(child);
        if (overlay && overlay->running())
            return overlay;
    }
    return nullptr;
}

} // namespace

void FlashAttention(QWidget* window, int count)
{
    if (!window)
        return;
    FlashOverlay* overlay = runningFlash(window);
    if (!overlay)
        overlay = new FlashOverlay(window);
    overlay->start(qBound(1, count, kMostFlashes));
}

bool isFlashing(const QWidget* window)
{
    return window && runningFlash(window);
}

} // namespace tfp::shell
