#include "game/gamefile.h"

#include "game/cipher.h"
#include "game/numbers.h"

#include <limits>
#include <QFile>
#include <QIODevice>
#include <QLocale>
#include <QSaveFile>

namespace tfp {
namespace {

const QString kRule(63, u'-');
const QString kTitleLine =
    QStringLiteral("---           ** Torva Fogline Turnpicker File **           ---");
const QString kWarningLine =
    QStringLiteral("---             Do not modify data in this file             ---");

QString decimal(qint64 value)
{
    return QString::number(value);
}

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

// Reads a 16-bit number; `required` numbers fail the read when absent, the others read 0.
bool numberElement(const QString& plain, const QString& tag, bool required, qint16& out,
                   QString& error)
{
    QString text;
    if (!textElement(plain, tag, text, error))
        return false;
    if (text.isEmpty()) {
        if (required)
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

bool byteElement(const QString& plain, const QString& tag, quint8& out, QString& error)
{
    qint16 value = 0;
    if (!numberElement(plain, tag, true, value, error))
        return false;
    if (value < 0 || value > 255)
        return fail(error, notANumber(tag));
    out = static_cast<quint8>(value);
    return true;
}

bool deviceFailure(QIODevice& device, FileErrorInfo& error)
{
    const auto* file = qobject_cast<QFileDevice*>(&device);
    error.Number = file ? static_cast<qint32>(file->error()) : 0;
    error.Description = device.errorString();
    if (error.Description.isEmpty() || error.Description == QLatin1String("Unknown error"))
        error.Description = QStringLiteral("The game file could not be written.");
    return false;
}

bool writeLine(QIODevice& device, const QString& line, FileErrorInfo& error)
{
    const QByteArray bytes = line.toLatin1() + "\r\n";
    if (device.write(bytes) != bytes.size())
        return deviceFailure(device, error);
    return true;
}

} // namespace

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

bool splitPath(const QString& path, QString& result)
{
    QString text = path.trimmed();
    if (text.isEmpty())
        return false;
#ifdef Q_OS_WIN
    text.replace(u'/', u'\\');
    const qsizetype last = text.lastIndexOf(u'\\');
#else
    const qsizetype last = text.lastIndexOf(u'/');
#endif
    if (last < 0)
        result += text;
    else
        result += text.left(last + 1);
    return !result.isEmpty();
}

QString plainDataLine(const GameRecord& r)
{
    QString line = QStringLiteral("<Game>");
    line += wrapInTag(r.GameName, QStringLiteral("GameName"));
    line += wrapInTag(r.Version, QStringLiteral("Version"));
    line += wrapInTag(r.Player1Name, QStringLiteral("Player1Name"));
    line += wrapInTag(r.Player1Pwd, QStringLiteral("Player1Pwd"));
    line += wrapInTag(decimal(r.Player1LastTurn), QStringLiteral("Player1LastTurn"));
    line += wrapInTag(r.Player2Name, QStringLiteral("Player2Name"));
    line += wrapInTag(r.Player2Pwd, QStringLiteral("Player2Pwd"));
    line += wrapInTag(decimal(r.Player2LastTurn), QStringLiteral("Player2LastTurn"));
    line += wrapInTag(decimal(r.TotalTurns), QStringLiteral("TotalTurns"));
    line += wrapInTag(decimal(r.TurnVariance), QStringLiteral("TurnVariance"));
    line += wrapInTag(decimal(r.CurrentTurn), QStringLiteral("CurrentTurn"));
    line += wrapInTag(decimal(r.EndingTurn), QStringLiteral("EndingTurn"));
    line += wrapInTag(decimal(static_cast<quint8>(r.SecurityMode)), QStringLiteral("SecurityMode"));
    line += wrapInTag(decimal(static_cast<quint8>(r.GameType)), QStringLiteral("GameType"));
    line += wrapInTag(r.LastSavedDateTime.toString(QLatin1String(kSavedDateFormat)),
                      QStringLiteral("LastSavedDateTime"));
    line += wrapInTag(decimal(r.CurrentPlayer), QStringLiteral("LastSavedBy"));
    line += wrapInTag(decimal(r.CurrentPlayer), QStringLiteral("CurrentPlayer"));
    line += wrapInTag(decimal(r.DestinationPlayer), QStringLiteral("DestinationPlayer"));
    line += QStringLiteral("</Game>");
    return line;
}

QDateTime readSavedDateTime(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    QDateTime value = QDateTime::fromString(trimmed, QLatin1String(kSavedDateFormat));
    if (value.isValid())
        return value;
    const QLocale locale = QLocale::system();
    const QString shortDate = locale.dateFormat(QLocale::ShortFormat);
    for (const QString& format :
         {shortDate + u' ' + locale.timeFormat(QLocale::LongFormat),
          shortDate + u' ' + locale.timeFormat(QLocale::ShortFormat),
          locale.dateTimeFormat(QLocale::ShortFormat), QStringLiteral("M/d/yyyy h:mm:ss AP"),
          QStringLiteral("M/d/yyyy h:mm:ss ap")}) {
        value = locale.toDateTime(trimmed, format);
        if (value.isValid())
            return value;
        value = QLocale::c().toDateTime(trimmed, format);
        if (value.isValid())
            return value;
    }
    // A moment at midnight is written as its date alone.
    for (const QString& format : {shortDate, QStringLiteral("M/d/yyyy")}) {
        const QDate date = QLocale::c().toDate(trimmed, format);
        if (date.isValid())
            return date.startOfDay();
    }
    return {};
}

bool readDataLine(const QString& plain, GameRecord& r, QString& error)
{
    quint8 mode = 0;
    quint8 type = 0;
    qint16 current = 0;
    qint16 destination = 0;
    QString date;
    const bool ok =
        textElement(plain, QStringLiteral("GameName"), r.GameName, error) &&
        textElement(plain, QStringLiteral("Version"), r.Version, error) &&
        textElement(plain, QStringLiteral("Player1Name"), r.Player1Name, error) &&
        textElement(plain, QStringLiteral("Player1Pwd"), r.Player1Pwd, error) &&
        numberElement(plain, QStringLiteral("Player1LastTurn"), false, r.Player1LastTurn, error) &&
        textElement(plain, QStringLiteral("Player2Name"), r.Player2Name, error) &&
        textElement(plain, QStringLiteral("Player2Pwd"), r.Player2Pwd, error) &&
        numberElement(plain, QStringLiteral("Player2LastTurn"), false, r.Player2LastTurn, error) &&
        numberElement(plain, QStringLiteral("TotalTurns"), true, r.TotalTurns, error) &&
        numberElement(plain, QStringLiteral("TurnVariance"), true, r.TurnVariance, error) &&
        numberElement(plain, QStringLiteral("CurrentTurn"), true, r.CurrentTurn, error) &&
        numberElement(plain, QStringLiteral("EndingTurn"), true, r.EndingTurn, error) &&
        byteElement(plain, QStringLiteral("SecurityMode"), mode, error) &&
        (r.SecurityMode = static_cast<SecurityMode>(mode), true) &&
        byteElement(plain, QStringLiteral("GameType"), type, error) &&
        (r.GameType = static_cast<GameType>(type), true) &&
        textElement(plain, QStringLiteral("LastSavedDateTime"), date, error) &&
        textElement(plain, QStringLiteral("LastSavedBy"), r.LastSavedBy, error) &&
        numberElement(plain, QStringLiteral("CurrentPlayer"), true, current, error) &&
        (r.CurrentPlayer = current, true) &&
        numberElement(plain, QStringLiteral("DestinationPlayer"), true, destination, error) &&
        (r.DestinationPlayer = destination, true);
    if (const QDateTime saved = readSavedDateTime(date); saved.isValid())
        r.LastSavedDateTime = saved;
    return ok;
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

bool readGame(QIODevice& device, GameRecord& record, FileErrorInfo& error)
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
            return deviceFailure(device, error);
        if (count == 0)
            break;
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

bool getData(GameRecord& record, FileErrorInfo& error)
{
    initFileErrorInfo(error, QStringLiteral("getData()"));
    if (!record.FilePath.right(4).toLower().endsWith(QLatin1String(kGameFileExtension))) {
        error.Description =
            QStringLiteral("Cannot open a file that does not have the .tfp extension.");
        return false;
    }
    QFile file(record.FilePath);
    if (!file.open(QIODevice::ReadOnly))
        return deviceFailure(file, error);
    GameRecord loaded;
    resetGameRecord(loaded);
    loaded.Version.clear();
    if (!readGame(file, loaded, error))
        return false;
    loaded.FilePath = record.FilePath;
    record = loaded;
    return true;
}

bool saveData(const GameRecord& record, FileErrorInfo& error, const QDateTime& now)
{
    initFileErrorInfo(error, QStringLiteral("saveData()"));
    QSaveFile file(record.FilePath);
    if (!file.open(QIODevice::WriteOnly))
        return deviceFailure(file, error);
    if (!writeGame(file, record, now, error)) {
        file.cancelWriting();
        return false;
    }
    // The writes above only fill the device's buffer; a full disk shows itself when the
    // buffer is flushed, and the commit would not report it, leaving an empty file.
    if (!file.flush()) {
        static_cast<void>(deviceFailure(file, error));
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return deviceFailure(file, error);
    return true;
}

} // namespace tfp
