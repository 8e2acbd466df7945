#include "shell/placement.h"

#include "game/numbers.h"

#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <QLocale>
#include <utility>

namespace tfp::shell {
namespace {

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
        const std::optional<qint64> value =
            readPlainDecimal(QStringView(text).sliced(start, comma - start));
        if (value && *value >= std::numeric_limits<qint32>::min() &&
            *value <= std::numeric_limits<qint32>::max())
            *field = static_cast<qint32>(*value);
    }
    return placement;
}

QString FormatPlacement(double leftTwips, double topTwips)
{
    return QStringLiteral("X=") + decimalText(leftTwips) + QStringLiteral(",Y=") +
           decimalText(topTwips);
}

} // namespace tfp::shell
