#include "game/shown.h"

#include <QDir>
#include <QFile>

namespace tfp {

QString shownText(const QString& text, QStringView kept)
{
    QString result;
    result.reserve(text.size());
    for (const char32_t code : text.toUcs4()) {
        const auto category = QChar::category(code);
        const bool control = category == QChar::Other_Control || category == QChar::Other_Format;
        if (control && !kept.contains(QChar(static_cast<char16_t>(code)))) {
            result += code <= 0xFF ? QStringLiteral("\\x%1").arg(uint(code), 2, 16, QChar(u'0'))
                                   : QStringLiteral("\\u%1").arg(uint(code), 4, 16, QChar(u'0'));
        } else {
            result += QString::fromUcs4(&code, 1);
        }
    }
    return result;
}

QString shownPath(const QString& path)
{
    return shownText(QDir::toNativeSeparators(path));
}

bool fileNameFitsSystem(const QString& path)
{
    if (path.contains(QChar::ReplacementCharacter) || !path.isValidUtf16())
        return false;
#ifdef Q_OS_WIN
    return true; // file names are UTF-16 there, whatever the code page
#else
    return QFile::decodeName(QFile::encodeName(path)) == path;
#endif
}

} // namespace tfp
