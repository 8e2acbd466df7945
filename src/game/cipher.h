// The field cipher: a keyed, position-dependent shift of each character's code that turns
// a game's data line into hexadecimal pairs and back.
#pragma once

#include <optional>
#include <QString>

namespace tfp {

// The four offsets, for positions that are multiples of 3, of 5, of 7, and all others.
inline constexpr int kCipherKey[4] = {19, 7, 31, 3};

// The longest texts the cipher takes: position counters are 16-bit.
inline constexpr qsizetype kMaxPlainLength = 32766;
inline constexpr qsizetype kMaxCipherLength = 32765;

// The offset class (0 to 3) of a 1-based position.
[[nodiscard]] int cipherOffsetClass(qsizetype position);

// Enciphers `plain` (taken in Windows-1252); nullopt when it is longer than
// kMaxPlainLength, with the reason in `error`.
[[nodiscard]] std::optional<QString> encipherText(const QString& plain, QString* error = nullptr);

// Deciphers `cipher`; nullopt when a pair is not hexadecimal or the text is longer than
// kMaxCipherLength, with the reason in `error`.
[[nodiscard]] std::optional<QString> decipherText(const QString& cipher, QString* error = nullptr);

} // namespace tfp
