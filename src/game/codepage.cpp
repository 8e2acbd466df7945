#include "game/codepage.h"

#include <array>
#include <QStringList>
#include <QTextBoundaryFinder>

namespace tfp {
namespace {

// Bytes 0x80 to 0x9F; the five the code page leaves undefined map to the C1 control of
// the same value, as Windows itself does.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char byteFor(char32_t code)
{
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<char>(code);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == code)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

QByteArray toCodePage(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const char32_t code : text.toUcs4())
        bytes.append(byteFor(code));
    return bytes;
}

QString fromCodePage(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        if (value >= 0x80 && value <= 0x9F)
            text.append(QChar(kHighControls[value - 0x80]));
        else
            text.append(QChar(static_cast<char16_t>(value)));
    }
    return text;
}

QString firstUnkeptCharacter(const QString& text)
{
    QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    for (qsizetype end = clusters.toNextBoundary(); end > 0; end = clusters.toNextBoundary()) {
        const QString cluster = text.sliced(start, end - start);
        for (const char32_t code : cluster.toUcs4()) {
            if (byteFor(code) == '?' && code != U'?')
                return cluster;
        }
        start = end;
    }
    return {};
}

QString describeCharacter(const QString& character)
{
    QStringList codes;
    bool invisible = false; // a control or format character is named by its code alone
    for (const char32_t code : character.toUcs4()) {
        codes << QStringLiteral("U+%1").arg(
            QString::number(code, 16).toUpper().rightJustified(4, u'0'));
        const auto category = QChar::category(code);
        invisible =
            invisible || category == QChar::Other_Control || category == QChar::Other_Format;
    }
    const QString named = codes.join(u' ');
    return invisible ? named : QStringLiteral("'%1' (%2)").arg(character, named);
}

} // namespace tfp
