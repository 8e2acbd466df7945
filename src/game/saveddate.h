// The moment a game was last saved, as the game file writes it and as older files and other
// locales wrote it.
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace tfp {

// LastSavedDateTime is written in this form. It is read in this form, in the locale's short
// date followed by its time with or without seconds, or in the US form of older files;
// two-digit years are years of this century.
inline constexpr char kSavedDateFormat[] = "yyyy-MM-dd hh:mm:ss";
[[nodiscard]] QDateTime readSavedDateTime(const QString& text,
                                          const QLocale& locale = QLocale::system());

} // namespace tfp
