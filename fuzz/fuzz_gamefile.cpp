// Reads arbitrary bytes as a game file. Beyond not crashing: a refusal always says why,
// and a game that loads is written again and reads back as the same game. Every game is
// also verified as a Sealed game: a refusal says why, and a game that passes holds exactly
// the turn counter, ending turn, markers and players its values give.
//
// What a rewrite cannot keep, by the file's own rules: LastSavedDateTime (the writer's
// form, whole seconds), LastSavedBy (written from CurrentPlayer), and values holding "<"
// or ">" (no tags are escaped) or the codes 0 and 255 (which the cipher carries only at
// some positions, and a rewrite may move them). Games with such values must still be
// written and read without harm, but need not come back equal.
#include "game/cipher.h"
#include "game/gamestore.h"
#include "game/sealed.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <QBuffer>
#include <QByteArray>
#include <QDateTime>

namespace {

const QDateTime& fixedMoment()
{
    static const QDateTime moment(QDate(2026, 5, 12), QTime(12, 5, 12));
    return moment;
}

tfp::GameRecord freshRecord()
{
    tfp::GameRecord record;
    tfp::resetGameRecord(record, fixedMoment());
    record.Version.clear();
    return record;
}

bool readBytes(const QByteArray& bytes, tfp::GameRecord& record, tfp::FileErrorInfo& error)
{
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        std::abort();
    return tfp::readGame(buffer, record, error);
}

bool survivesRewrite(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'<' || u == u'>' || u == 0x00 || u == 0xFF)
            return false;
    }
    return true;
}

bool survivesRewrite(const tfp::GameRecord& r)
{
    for (const QString* text :
         {&r.GameName, &r.Version, &r.Player1Name, &r.Player1Pwd, &r.Player2Name, &r.Player2Pwd,
          &r.SealedGame, &r.SealedCommit1, &r.SealedCommit2, &r.SealedReveal1, &r.SealedReveal2}) {
        if (!survivesRewrite(*text))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    tfp::GameRecord first = freshRecord();
    tfp::FileErrorInfo error;
    if (!readBytes(bytes, first, error)) {
        if (error.Description.isEmpty())
            std::abort();
        return 0;
    }

    tfp::sealed::State state;
    QString problem;
    if (tfp::sealed::readState(first, state, problem)) {
        tfp::GameRecord derived = first;
        tfp::sealed::applyState(state, derived);
        if (!(derived == first))
            std::abort();
    } else if (problem.isEmpty()) {
        std::abort();
    }

    QBuffer written;
    written.open(QIODevice::WriteOnly);
    tfp::FileErrorInfo writeError;
    if (!tfp::writeGame(written, first, fixedMoment(), writeError)) {
        // Only a game too long for the cipher may fail to be written.
        if (writeError.Description.isEmpty() ||
            tfp::plainDataLine(first).size() <= tfp::kMaxPlainLength)
            std::abort();
        return 0;
    }

    tfp::GameRecord second = freshRecord();
    tfp::FileErrorInfo secondError;
    if (!readBytes(written.data(), second, secondError))
        std::abort(); // what the program wrote, it must read
    if (!survivesRewrite(first))
        return 0;
    tfp::GameRecord expected = first;
    expected.LastSavedBy = QString::number(first.CurrentPlayer);
    second.LastSavedDateTime = expected.LastSavedDateTime;
    if (!(second == expected))
        std::abort();
    return 0;
}
