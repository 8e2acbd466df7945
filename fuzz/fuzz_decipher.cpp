// Deciphers arbitrary bytes taken as Latin-1 text. Beyond not crashing: a text that
// deciphers gives one character per pair, and what it gives enciphers and deciphers back
// to itself (the decipher never yields the two codes that the cipher cannot carry).
#include "game/cipher.h"
#include "game/codepage.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <QByteArray>
#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString cipher =
        QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString error;
    const std::optional<QString> plain = tfp::decipherText(cipher, &error);
    if (!plain) {
        if (error.isEmpty())
            std::abort(); // a refusal always says why
        return 0;
    }
    if (plain->size() != (cipher.size() + 1) / 2)
        std::abort();

    QString encipherError;
    const std::optional<QString> again = tfp::encipherText(*plain, &encipherError);
    if (!again || again->size() != 2 * plain->size())
        std::abort();
    for (const QChar c : *again) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || u == u'*'))
            std::abort();
    }
    const std::optional<QString> back = tfp::decipherText(*again);
    if (!back || *back != *plain)
        std::abort();
    return 0;
}
