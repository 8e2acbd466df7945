#include "game/numbers.h"

#include <cmath>
#include <limits>
#include <QLocale>
#include <QRegularExpression>

namespace tfp {
namespace {

std::optional<double> readNumber(const QString& text)
{
    static const QRegularExpression plain(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    if (plain.match(trimmed).hasMatch()) {
        bool ok = false;
        const double value = QLocale::c().toDouble(trimmed, &ok);
        if (ok && std::isfinite(value))
            return value;
        return std::nullopt;
    }
    bool ok = false;
    const double value = QLocale::system().toDouble(trimmed, &ok);
    if (ok && std::isfinite(value))
        return value;
    return std::nullopt;
}

} // namespace

WholeNumber readWholeNumber(const QString& text, qint64 lowest, qint64 highest)
{
    const std::optional<double> number = readNumber(text);
    if (!number)
        return {0, NumberError::NotNumber};
    // nearbyint rounds halves to the even neighbour in the default rounding mode.
    const double rounded = std::nearbyint(*number);
    if (rounded < static_cast<double>(lowest) || rounded > static_cast<double>(highest))
        return {0, NumberError::OutOfRange};
    return {static_cast<qint64>(rounded), NumberError::None};
}

std::optional<qint16> toInt16(const QString& text)
{
    const WholeNumber number = readWholeNumber(text, std::numeric_limits<qint16>::min(),
                                               std::numeric_limits<qint16>::max());
    if (number.error != NumberError::None)
        return std::nullopt;
    return static_cast<qint16>(number.value);
}

bool isNumeric(const QString& text)
{
    return readNumber(text).has_value();
}

int entryNumber(const QString& text)
{
    const WholeNumber number =
        readWholeNumber(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    return number.error == NumberError::None ? static_cast<int>(number.value) : 0;
}

} // namespace tfp
