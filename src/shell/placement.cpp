#include "shell/placement.h"

#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <QLocale>
#include <utility>

namespace tfp::shell {
namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A plain decimal number, rounded to the nearest integer with halves going to the even
// neighbour, or nothing when the text is not such a number or lies outside 32 bits.
std::optional<qint32> wholeNumber(QStringView text)
{
    text = text.trimmed();
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        text = text.sliced(1);
    }
    const qsizetype point = text.indexOf(u'.');
    const QStringView whole = point < 0 ? text : text.first(point);
    const QStringView fraction = point < 0 ? QStringView() : text.sliced(point + 1);
    if (whole.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    for (const QStringView part : {whole, fraction}) {
        for (const QChar c : part) {
            if (!isDigit(c))
                return std::nullopt;
        }
    }

    // Far beyond 32 bits already; stop before the 64-bit sum could overflow.
    constexpr qint64 kCeiling = qint64(1) << 40;
    qint64 magnitude = 0;
    for (const QChar c : whole) {
        magnitude = magnitude * 10 + (c.unicode() - u'0');
        if (magnitude > kCeiling)
            return std::nullopt;
    }
    if (!fraction.isEmpty()) {
        const int first = fraction.front().unicode() - u'0';
        bool beyondHalf = false;
        for (const QChar c : fraction.sliced(1)) {
            if (c != u'0') {
                beyondHalf = true;
                break;
            }
        }
        if (first > 5 || (first == 5 && (beyondHalf || magnitude % 2 != 0)))
            ++magnitude;
    }

    const qint64 value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(value);
}

QString decimalText(double value)
{
    if (!std::isfinite(value) || value == 0.0)
        return QStringLiteral("0");
    return QLocale::c().toString(value, 'f', QLocale::FloatingPointShortest);
}

} // namespace

WindowPlacement ParsePlacement(const QString& text)
{
    WindowPlacement placement{-1, -1, -1, -1, 0};
    const std::array<std::pair<QLatin1String, qint32*>, 5> fields = {{
        {QLatin1String("X="), &placement.X},
        {QLatin1String("Y="), &placement.Y},
        {QLatin1String("W="), &placement.W},
        {QLatin1String("H="), &placement.H},
        {QLatin1String("S="), &placement.S},
    }};
    for (const auto& [key, field] : fields) {
        const qsizetype at = text.indexOf(key, 0, Qt::CaseInsensitive);
        if (at < 0)
            continue;
        qsizetype comma = text.indexOf(u',', at);
        if (comma < 0)
            comma = text.size();
        const qsizetype start = at + key.size();
        if (const auto value = wholeNumber(QStringView(text).sliced(start, comma - start)))
            *field = *value;
    }
    return placement;
}

QString FormatPlacement(double leftTwips, double topTwips)
{
    return QStringLiteral("X=") + decimalText(leftTwips) + QStringLiteral(",Y=") +
           decimalText(topTwips);
}

} // namespace tfp::shell
