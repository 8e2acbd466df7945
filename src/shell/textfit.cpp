#include "shell/textfit.h"

#include <algorithm>
#include <memory>
#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTextDocument>
#include <QTextEdit>

namespace tfp::shell {
namespace {

// The font with its size in points, so that it can be made smaller step by step.
QFont inPoints(QFont font)
{
    if (font.pointSizeF() <= 0)
        font.setPointSizeF(QFontInfo(font).pointSizeF());
    return font;
}

QString shownText(const QWidget* control)
{
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (qobject_cast<const QCheckBox*>(control) || qobject_cast<const QRadioButton*>(control) ||
        qobject_cast<const QPushButton*>(control))
        return static_cast<const QAbstractButton*>(control)->text();
    return {};
}

} // namespace

bool textFits(const QWidget* control)
{
    const QSize room = control->size();
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        if (label->text().isEmpty())
            return true;
        if (label->wordWrap())
            return label->heightForWidth(room.width()) <= room.height();
        const QSize needed = label->sizeHint();
        return needed.width() <= room.width() && needed.height() <= room.height();
    }
    if (qobject_cast<const QCheckBox*>(control) || qobject_cast<const QRadioButton*>(control))
        return control->sizeHint().width() <= room.width();
    if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        // The style's least button width is no matter here, only the caption and its margins.
        const QStyle* style = button->style();
        const int margins = 2 * (style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
                                 style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button));
        const QSize text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
        return text.width() + margins <= room.width() && text.height() <= room.height();
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
        // A line keeps two pixels either side of its text, within its frame and margins.
        const QMargins margins = edit->textMargins();
        const int frame =
            edit->hasFrame() ? 2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
        return edit->fontMetrics().horizontalAdvance(edit->text()) + 4 + frame + margins.left() +
                   margins.right() <=
               room.width();
    }
    if (const auto* text = qobject_cast<const QTextEdit*>(control)) {
        // Laid out apart from the control, which lays out only once it is shown.
        const std::unique_ptr<QTextDocument> document(text->document()->clone());
        document->setDefaultFont(text->font());
        document->setTextWidth(text->contentsRect().width());
        return document->size().height() <= text->contentsRect().height();
    }
    return true;
}

namespace {

// Gives the controls one font, of the largest size no greater than `font`'s at which every
// text fits.
void fitTogether(const QList<QWidget*>& controls, const QFont& font)
{
    QFont fitted = inPoints(font);
    const auto setAll = [&controls, &fitted] {
        for (QWidget* control : controls)
            control->setFont(fitted);
    };
    setAll();
    while (!std::all_of(controls.begin(), controls.end(), &textFits) &&
           fitted.pointSizeF() - kFitStep >= kLeastFitPointSize) {
        fitted.setPointSizeF(fitted.pointSizeF() - kFitStep);
        setAll();
    }
}

} // namespace

void fitText(QWidget* control, const QFont& font)
{
    fitTogether({control}, font);
}

void fitTexts(QWidget* window)
{
    // The controls that show a text, grouped by the font they have.
    QList<QPair<QFont, QList<QWidget*>>> groups;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (shownText(control).isEmpty())
            continue;
        const QFont font = control->font();
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&font](const auto& g) { return g.first == font; });
        if (group == groups.end())
            groups.append({font, {control}});
        else
            group->second.append(control);
    }
    for (const auto& group : groups)
        fitTogether(group.second, group.first);
}

} // namespace tfp::shell
