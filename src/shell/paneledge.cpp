#include "shell/paneledge.h"

#include <qdrawutil.h>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

namespace tfp::shell {

void DrawPanelEdge(QPainter& painter, int left, int top, int right, int bottom, bool sunken)
{
    if (right <= left || bottom <= top)
        return;
    const QRect rect(left, top, right - left, bottom - top);
    const QPalette palette = QGuiApplication::palette();
    if (sunken)
        qDrawWinPanel(&painter, rect, palette, true);
    else
        qDrawShadeRect(&painter, rect, palette, true, 1, 0);
}

} // namespace tfp::shell
