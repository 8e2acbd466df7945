#include "game/cipher.h"

#include "game/codepage.h"

namespace tfp {
namespace {

int offsetAt(qsizetype position)
{
    return kCipherKey[cipherOffsetClass(position)];
}

int hexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

} // namespace

int cipherOffsetClass(qsizetype position)
{
    if (position % 3 == 0)
        return 0;
    if (position % 5 == 0)
        return 1;
    if (position % 7 == 0)
        return 2;
    return 3;
}

std::optional<QString> encipherText(const QString& plain, QString* error)
{
    const QByteArray bytes = toCodePage(plain);
    if (bytes.size() > kMaxPlainLength) {
        setError(error, QStringLiteral("The game data is longer than the %1 characters a game "
                                       "file can hold.")
                            .arg(kMaxPlainLength));
        return std::nullopt;
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    QString cipher;
    cipher.reserve(bytes.size() * 2);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const qsizetype position = i + 1;
        const int code = static_cast<unsigned char>(bytes[i]);
        int value = 0;
        if (position % 2 == 0) {
            value = code + offsetAt(position);
            if (value >= 256)
                value -= 255;
        } else {
            value = code - offsetAt(position);
            if (value < 0)
                value += 255;
        }
        // "*" pads values below 16 to two characters.
        cipher.append(value < 16 ? QChar(u'*') : QChar::fromLatin1(kHex[value >> 4]));
        cipher.append(QChar::fromLatin1(kHex[value & 0xF]));
    }
    return cipher;
}

std::optional<QString> decipherText(const QString& cipher, QString* error)
{
    if (cipher.size() > kMaxCipherLength) {
        setError(error, QStringLiteral("The game data line is longer than the %1 characters a "
                                       "game file can hold.")
                            .arg(kMaxCipherLength));
        return std::nullopt;
    }
    QByteArray bytes;
    bytes.reserve(cipher.size() / 2 + 1);
    for (qsizetype start = 0; start < cipher.size(); start += 2) {
        const qsizetype position = start / 2 + 1;
        int value = 0;
        int digits = 0;
        bool valid = true;
        for (qsizetype i = start; i < qMin(start + 2, cipher.size()); ++i) {
            const char16_t c = cipher.at(i).unicode();
            if (c == u'*')
                continue;
            const int digit = hexDigit(c);
            if (digit < 0) {
                valid = false;
                break;
            }
            value = value * 16 + digit;
            ++digits;
        }
        if (!valid || digits == 0) {
            setError(error, QStringLiteral("The game data is damaged: character pair %1 of the "
                                           "data line is not a hexadecimal number.")
                                .arg(position));
            return std::nullopt;
        }
        if (position % 2 == 0) {
            value -= offsetAt(position);
            if (value < 0)
                value += 255;
        } else {
            value += offsetAt(position);
            if (value > 255)
                value -= 255;
        }
        bytes.append(static_cast<char>(value));
    }
    return fromCodePage(bytes);
}

} // namespace tfp
