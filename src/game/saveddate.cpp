#include "game/saveddate.h"

#include <QStringList>

namespace tfp {
namespace {

// The locale's short date as it is, and with its year in the other length.
QStringList shortDateForms(const QLocale& locale)
{
    const QString date = locale.dateFormat(QLocale::ShortFormat);
    if (date.contains(QLatin1String("yyyy")))
        return {date, QString(date).replace(QLatin1String("yyyy"), QLatin1String("yy"))};
    if (date.contains(QLatin1String("yy")))
        return {date, QString(date).replace(QLatin1String("yy"), QLatin1String("yyyy"))};
    return {date};
}

// A two-digit year read as a year of this century, as the players who wrote it meant it.
QDateTime inThisCentury(const QDateTime& value, const QString& format)
{
    const bool twoDigitYear =
        format.contains(QLatin1String("yy")) && !format.contains(QLatin1String("yyyy"));
    return twoDigitYear && value.date().year() < 2000 ? value.addYears(100) : value;
}

} // namespace

QDateTime readSavedDateTime(const QString& text, const QLocale& locale)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    QDateTime value = QDateTime::fromString(trimmed, QLatin1String(kSavedDateFormat));
    if (value.isValid())
        return value;
    const QStringList dates = shortDateForms(locale);
    QStringList formats;
    for (const QString& date : dates) {
        for (const QString& time :
             {locale.timeFormat(QLocale::LongFormat), locale.timeFormat(QLocale::ShortFormat),
              QStringLiteral("H:mm:ss"), QStringLiteral("h:mm:ss AP")})
            formats << date + u' ' + time;
    }
    formats << locale.dateTimeFormat(QLocale::ShortFormat) << QStringLiteral("M/d/yyyy h:mm:ss AP")
            << QStringLiteral("M/d/yyyy h:mm:ss ap");
    for (const QString& format : std::as_const(formats)) {
        for (const QLocale& reading : {locale, QLocale::c()}) {
            value = reading.toDateTime(trimmed, format);
            if (value.isValid())
                return inThisCentury(value, format);
        }
    }
    // A moment at midnight is written as its date alone.
    for (const QString& format : dates + QStringList{QStringLiteral("M/d/yyyy")}) {
        for (const QLocale& reading : {locale, QLocale::c()}) {
            const QDate date = reading.toDate(trimmed, format);
            if (date.isValid())
                return inThisCentury(date.startOfDay(), format);
        }
    }
    return {};
}

} // namespace tfp
