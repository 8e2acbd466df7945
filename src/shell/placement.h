// The saved position of the main window: the placement text kept in the settings and the
// record it is read into.
#pragma once

#include <QString>
#include <QtGlobal>

namespace tfp::shell {

// Positions are stored in twips: device-independent pixels times 15, so a stored value
// means the same on every machine whatever its scaling.
inline constexpr int kTwipsPerPixel = 15;

// The five fields of a placement text. Only X and Y are written and applied.
struct WindowPlacement
{
    qint32 X = 0;
    qint32 Y = 0;
    qint32 W = 0;
    qint32 H = 0;
    qint32 S = 0;

    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

// Reads "X=...,Y=..." (keys in any order and any case; W=, H= and S= also recognised).
// A missing or unusable field keeps its default: -1 for X, Y, W and H, 0 for S. A field is
// usable when it is a plain decimal number (spaces around it, a sign and a fraction
// allowed) that rounds, halves to even, into the signed 32-bit range.
[[nodiscard]] WindowPlacement ParsePlacement(const QString& text);

// "X=<left>,Y=<top>" with each value in its shortest plain decimal form.
[[nodiscard]] QString FormatPlacement(double leftTwips, double topTwips);

} // namespace tfp::shell
