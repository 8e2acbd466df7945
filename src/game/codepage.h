// Windows-1252, the single-byte code page in which game files and settings keep text.
#pragma once

#include <QByteArray>
#include <QString>

namespace tfp {

// Each character becomes its Windows-1252 byte; one that the code page lacks becomes '?'.
[[nodiscard]] QByteArray toCodePage(const QString& text);
// Each byte becomes its Windows-1252 character.
[[nodiscard]] QString fromCodePage(const QByteArray& bytes);

// The first character of `text`, as the reader sees it (a letter with its marks, an emoji),
// that Windows-1252 cannot keep; empty when the code page keeps every one.
[[nodiscard]] QString firstUnkeptCharacter(const QString& text);

// A character as a message names it, with each of its code points: "'Ж' (U+0416)",
// "'q̃' (U+0071 U+0303)"; a control or format character by its code alone ("U+000A").
[[nodiscard]] QString describeCharacter(const QString& character);

} // namespace tfp
