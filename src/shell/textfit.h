// Keeps the texts of the fixed-size windows whole whatever font the system gives them: a
// control whose text needs more room than the layout gives it is drawn in a smaller font.
#pragma once

class QFont;
class QWidget;

namespace tfp::shell {

// A text that does not fit is drawn this much smaller at a time, down to the least size.
inline constexpr double kFitStep = 0.25;
inline constexpr double kLeastFitPointSize = 6.0;

// True when the text of a label, check box, option button, push button, one-line text box
// or multi-line text fits the control in its present font. Other controls always fit.
[[nodiscard]] bool textFits(const QWidget* control);

// Gives the control `font`, made smaller a quarter point at a time while its text does
// not fit, down to a least readable size.
void fitText(QWidget* control, const QFont& font);

// Fits every label, check box, option button and push button of a window that shows a
// text. Controls that share a font keep sharing one, of the size that suits them all.
void fitTexts(QWidget* window);

} // namespace tfp::shell
