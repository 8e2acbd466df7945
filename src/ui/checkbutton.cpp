#include "ui/checkbutton.h"

#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace tfp::ui {

void CheckButton::paintEvent(QPaintEvent* /*event*/)
{
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    // The frame alone; picture and caption are laid out below.
    option.text.clear();
    option.icon = QIcon();
    painter.drawComplexControl(QStyle::CC_ToolButton, option);

    const bool enabled = isEnabled();
    const QSize picture = iconSize();
    const QRect iconRect(QPoint((width() - picture.width()) / 2, 4), picture);
    // The light keeps its colour when the button is disabled: a red light says the
    // battle is over or the file must be sent on.
    icon().paint(&painter, iconRect, Qt::AlignCenter, QIcon::Normal);

    const QRect textRect(2, iconRect.bottom() + 1, width() - 4, height() - iconRect.bottom() - 3);
    painter.setPen(
        palette().color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(textRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

} // namespace tfp::ui
