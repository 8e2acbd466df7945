// Reading numbers from text the way the game file and the setup entries need it.
#pragma once

#include <optional>
#include <QString>

namespace tfp {

enum class NumberError
{
    None,
    NotNumber,
    OutOfRange
};

// Reads a plain decimal number (surrounding blanks, a sign, a fraction and an exponent
// allowed) and rounds it to the nearest whole number, halves going to the even neighbour.
// The result must lie in [lowest, highest].
struct WholeNumber
{
    qint64 value = 0;
    NumberError error = NumberError::None;
};
[[nodiscard]] WholeNumber readWholeNumber(const QString& text, qint64 lowest, qint64 highest);

// Reads a plain decimal number exactly: blanks around it, a sign, digits and a fraction (no
// exponent), rounded to the nearest whole number, halves going to the even neighbour.
// nullopt for any other text, and for a number far beyond 32 bits (2^40 and more).
[[nodiscard]] std::optional<qint64> readPlainDecimal(QStringView text);

// A 16-bit signed whole number, as the game file keeps its numbers.
[[nodiscard]] std::optional<qint16> toInt16(const QString& text);

// True when `text` reads as a number, in plain notation or in the user's locale.
[[nodiscard]] bool isNumeric(const QString& text);

// An entry read as a whole number, empty or unreadable text counting as 0.
[[nodiscard]] int entryNumber(const QString& text);

} // namespace tfp
