#include "game/numbers.h"

#include <cmath>
#include <limits>
#include <QLocale>
#include <QRegularExpression>

namespace tfp {
namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A number as the user's entries and the game file may write it: plain notation with an
// exponent allowed, or the user's locale.
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

std::optional<qint64> readPlainDecimal(QStringView text)
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
    return negative ? -magnitude : magnitude;
}

WholeNumber readWholeNumber(const QString& text, qint64 lowest, qint64 highest)
{
    if (const std::optional<qint64> exact = readPlainDecimal(text)) {
        if (*exact < lowest || *exact > highest)
            return {0, NumberError::OutOfRange};
        return {*exact, NumberError::None};
    }
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
