#include "game/gamefile.h"

#include "game/cipher.h"
#include "game/draw.h"
#include "game/numbers.h"
#include "game/saveddate.h"

#include <QCryptographicHash>
#include <QFileDevice>
#include <QIODevice>
#include <type_traits>
#include <variant>

namespace tfp {
namespace {

const QString kRule(63, u'-');
const QString kTitleLine =
    QStringLiteral("---           ** Torva Fogline Turnpicker File **           ---");
const QString kWarningLine =
    QStringLiteral("---             Do not modify data in this file             ---");

bool fail(QString& error, const QString& text)
{
    error = text;
    return false;
}

QString missing(const QString& tag)
{
    return QStringLiteral("The game data is incomplete: the value '%1' is missing.").arg(tag);
}

QString notANumber(const QString& tag)
{
    return QStringLiteral("The game data is damaged: the value '%1' is not a number in range.")
        .arg(tag);
}

// Reads one element of the data line as text.
bool textElement(const QString& plain, const QString& tag, QString& out, QString& error)
{
    const std::optional<QString> value = getTagValue(plain, tag);
    if (!value)
        return fail(
            error,
            QStringLiteral("The game data is damaged: the element '%1' is malformed.").arg(tag));
    out = *value;
    return true;
}

// LastSavedBy: written as the number of the player who holds the file, read back as text.
struct SavedByPlayer
{};

using Field = std::variant<QString GameRecord::*, qint16 GameRecord::*, qint32 GameRecord::*,
                           SecurityMode GameRecord::*, GameType GameRecord::*,
                           QDateTime GameRecord::*, SavedByPlayer>;

// One element of the data line: its tag, the field it holds, and for numbers whether the
// read fails when it is absent (an absent optional number reads 0).
struct Element
{
    const char* tag;
    Field field;
    bool required = true;
};

// The data line's elements, in the order they are written and read.
const Element kElements[] = {
    {"GameName", &GameRecord::GameName},
    {"Version", &GameRecord::Version},
    {"Player1Name", &GameRecord::Player1Name},
    {"Player1Pwd", &GameRecord::Player1Pwd},
    {"Player1LastTurn", &GameRecord::Player1LastTurn, false},
    {"Player2Name", &GameRecord::Player2Name},
    {"Player2Pwd", &GameRecord::Player2Pwd},
    {"Player2LastTurn", &GameRecord::Player2LastTurn, false},
    {"TotalTurns", &GameRecord::TotalTurns},
    {"TurnVariance", &GameRecord::TurnVariance},
    {"CurrentTurn", &GameRecord::CurrentTurn},
    {"EndingTurn", &GameRecord::EndingTurn},
    {"SecurityMode", &GameRecord::SecurityMode},
    {"GameType", &GameRecord::GameType},
    {"LastSavedDateTime", &GameRecord::LastSavedDateTime},
    {"LastSavedBy", SavedByPlayer{}},
    {"CurrentPlayer", &GameRecord::CurrentPlayer},
    {"DestinationPlayer", &GameRecord::DestinationPlayer},
    {"SealedGame", &GameRecord::SealedGame},
    {"SealedCommit1", &GameRecord::SealedCommit1},
    {"SealedCommit2", &GameRecord::SealedCommit2},
    {"SealedReveal1", &GameRecord::SealedReveal1},
    {"SealedReveal2", &GameRecord::SealedReveal2},
};

QString elementText(const GameRecord& r, const Element& element)
{
    return std::visit(
        [&r](auto field) -> QString {
            if constexpr (std::is_same_v<decltype(field), SavedByPlayer>) {
                return QString::number(r.CurrentPlayer);
            } else {
                const auto& value = r.*field;
                using Value = std::remove_cvref_t<decltype(value)>;
                if constexpr (std::is_same_v<Value, QString>)
                    return value;
                else if constexpr (std::is_same_v<Value, QDateTime>)
                    return value.toString(QLatin1String(kSavedDateFormat));
                else if constexpr (std::is_enum_v<Value>)
                    return QString::number(static_cast<quint8>(value));
                else
                    return QString::number(value);
            }
        },
        element.field);
}

// Reads a 16-bit number; required numbers fail the read when absent, the others read 0.
bool readNumber(const QString& text, const Element& element, qint16& out, QString& error)
{
    const QString tag = QLatin1String(element.tag);
    if (text.isEmpty()) {
        if (element.required)
            return fail(error, missing(tag));
        out = 0;
        return true;
    }
    const std::optional<qint16> value = toInt16(text);
    if (!value)
        return fail(error, notANumber(tag));
    out = *value;
    return true;
}

bool readElement(const QString& plain, const Element& element, GameRecord& r, QString& error)
{
    QString text;
    if (!textElement(plain, QLatin1String(element.tag), text, error))
        return false;
    return std::visit(
        [&](auto field) -> bool {
            if constexpr (std::is_same_v<decltype(field), SavedByPlayer>) {
                r.LastSavedBy = text;
                return true;
            } else {
                auto& value = r.*field;
                using Value = std::remove_cvref_t<decltype(value)>;
                if constexpr (std::is_same_v<Value, QString>) {
                    value = text;
                } else if constexpr (std::is_same_v<Value, QDateTime>) {
                    if (const QDateTime saved = readSavedDateTime(text); saved.isValid())
                        value = saved;
                } else {
                    qint16 number = 0;
                    if (!readNumber(text, element, number, error))
                        return false;
                    if constexpr (std::is_enum_v<Value>) {
                        if (number < 0 || number > 255)
                            return fail(error, notANumber(QLatin1String(element.tag)));
                    }
                    value = static_cast<Value>(number);
                }
                return true;
            }
        },
        element.field);
}

bool writeLine(QIODevice& device, const QString& line, FileErrorInfo& error)
{
    const QByteArray bytes = line.toLatin1() + "\r\n";
    if (device.write(bytes) != bytes.size())
        return failFromDevice(device, error);
    return true;
}

} // namespace

bool failFromDevice(QIODevice& device, FileErrorInfo& error)
{
    const auto* file = qobject_cast<QFileDevice*>(&device);
    error.Number = file ? static_cast<qint32>(file->error()) : 0;
    error.Description = device.errorString();
    if (error.Description.isEmpty() || error.Description == QLatin1String("Unknown error"))
        error.Description = QStringLiteral("The game file could not be written.");
    return false;
}

void initFileErrorInfo(FileErrorInfo& error, const QString& source)
{
    error.Number = 0;
    error.Description.clear();
    error.Source = source;
}

QString wrapInTag(const QString& value, const QString& tag)
{
    if (value.isEmpty())
        return {};
    return u'<' + tag + u'>' + value + QStringLiteral("</") + tag + u'>';
}

std::optional<QString> getTagValue(const QString& text, const QString& tag)
{
    if (text.isEmpty())
        return QString();
    const QString open = u'<' + tag + u'>';
    const QString close = QStringLiteral("</") + tag + u'>';
    const qsizetype openAt = text.indexOf(open);
    const qsizetype closeAt = text.indexOf(close);
    if (closeAt < 0 || openAt < 0)
        return QString();
    const qsizetype start = openAt + open.size();
    if (closeAt < start)
        return std::nullopt;
    return text.mid(start, closeAt - start);
}

QString plainDataLine(const GameRecord& r)
{
    QString line = QStringLiteral("<Game>");
    for (const Element& element : kElements)
        line += wrapInTag(elementText(r, element), QLatin1String(element.tag));
    line += QStringLiteral("</Game>");
    return line;
}

bool readDataLine(const QString& plain, GameRecord& r, QString& error)
{
    for (const Element& element : kElements) {
        if (!readElement(plain, element, r, error))
            return false;
    }
    if (!endingWindowFits(r.TotalTurns, r.TurnVariance, r.GameType))
        return fail(error,
                    QStringLiteral("The game data is damaged: %1 turns with a modifier of %2 "
                                   "give ending turns beyond the turn numbers a game file "
                                   "can hold.")
                        .arg(r.TotalTurns)
                        .arg(r.TurnVariance));
    return true;
}

bool writeGame(QIODevice& device, const GameRecord& record, const QDateTime& now,
               FileErrorInfo& error)
{
    QString cipherError;
    const std::optional<QString> data = encipherText(plainDataLine(record), &cipherError);
    if (!data) {
        error.Number = 0;
        error.Description = cipherError;
        return false;
    }
    // The reader refuses a line longer than the cipher can take back, so such a game is
    // not written at all rather than saved into a file that can never be opened.
    if (data->size() > kMaxCipherLength) {
        error.Number = 0;
        error.Description = QStringLiteral("The game holds too much text to be saved: its data "
                                           "line may have at most %1 characters.")
                                .arg(kMaxCipherLength);
        return false;
    }
    const QString created = QStringLiteral("--- Created on ") +
                            now.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) +
                            QString(26, u' ') + QStringLiteral("---");
    for (const QString& line : {kRule, kTitleLine, kWarningLine, kRule, created, kRule, *data}) {
        if (!writeLine(device, line, error))
            return false;
    }
    return true;
}

bool readGame(QIODevice& device, GameRecord& record, FileErrorInfo& error,
              QCryptographicHash* digest)
{
    // A line ends at CR (an LF right after it belongs to the line end); a line longer than
    // the cipher can hold fails the read at once, so a huge file is never read whole.
    constexpr qsizetype kMaxLine = kMaxCipherLength;
    QByteArray line;
    bool lineOpen = false;
    bool skipLineFeed = false;

    const auto finishLine = [&]() -> bool {
        lineOpen = false;
        const QString text = QString::fromLatin1(line);
        line.clear();
        if (text.startsWith(QLatin1String("---")))
            return true;
        QString description;
        const std::optional<QString> plain = decipherText(text, &description);
        if (!plain || !readDataLine(*plain, record, description)) {
            error.Number = 0;
            error.Description = description;
            return false;
        }
        return true;
    };

    char buffer[4096];
    for (;;) {
        const qint64 count = device.read(buffer, sizeof buffer);
        if (count < 0)
            return failFromDevice(device, error);
        if (count == 0)
            break;
        if (digest)
            digest->addData(QByteArrayView(buffer, count));
        for (qint64 i = 0; i < count; ++i) {
            const char c = buffer[i];
            if (skipLineFeed) {
                skipLineFeed = false;
                if (c == '\n')
                    continue;
            }
            if (c == '\r') {
                skipLineFeed = true;
                if (!finishLine())
                    return false;
                continue;
            }
            lineOpen = true;
            line.append(c);
            if (line.size() > kMaxLine) {
                error.Number = 0;
                error.Description = QStringLiteral("A line of the game file is longer than the "
                                                   "%1 characters a game file can hold.")
                                        .arg(kMaxLine);
                return false;
            }
        }
    }
    if (lineOpen)
        return finishLine();
    return true;
}

} // namespace tfp
