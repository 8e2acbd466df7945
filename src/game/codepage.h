// Windows-1252, the single-byte code page in which game files and settings keep text.
#pragma once

#include <QByteArray>
#include <QString>

namespace tfp {

// Each character becomes its Windows-1252 byte; one that the code page lacks becomes '?'.
[[nodiscard]] QByteArray toCodePage(const QString& text);
// Each byte becomes its Windows-1252 character.
[[nodiscard]] QString fromCodePage(const QByteArray& bytes);

} // namespace tfp
