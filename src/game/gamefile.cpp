#include "game/gamefile.h"

#include "appversion.h"
#include "game/cipher.h"
#include "game/draw.h"
#include "game/numbers.h"

#include <limits>
#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QLocale>
#include <QLockFile>
#include <QSaveFile>
#include <QStringList>
#include <type_traits>
#include <variant>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

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

QByteArray contentDigest(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// The digest of what the device holds from its start; nullopt when it cannot be read.
std::optional<QByteArray> deviceDigest(QIODevice& device)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!device.seek(0) || !hash.addData(&device))
        return std::nullopt;
    return hash.result();
}

// Refuses what is not a regular file before it is opened: a pipe would block the reader
// and a device could feed it forever.
bool regularFile(const QString& path, FileErrorInfo& error)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isFile())
        return true;
    error.Number = 0;
    error.Description =
        QStringLiteral("It is not a file but %1.")
            .arg(info.isDir() ? QStringLiteral("a folder") : QStringLiteral("a device or a pipe"));
    return false;
}

// Gives a file about to replace `path` the owner (where the system allows), the group and
// the permissions of the file it replaces, so that a game shared with another user stays
// theirs to save.
void keepOwnership([[maybe_unused]] const QString& path, [[maybe_unused]] int handle)
{
#ifdef Q_OS_UNIX
    struct stat status
    {};
    if (handle < 0 || ::stat(QFile::encodeName(path).constData(), &status) != 0 ||
        !S_ISREG(status.st_mode))
        return;
    if (::fchown(handle, status.st_uid, status.st_gid) != 0 &&
        ::fchown(handle, static_cast<uid_t>(-1), status.st_gid) != 0) {
        // Neither the owner nor the group could be kept: the new file is this user's.
    }
    if (::fchmod(handle, status.st_mode & 07777) != 0) {
        // The permissions QSaveFile gave the file stay.
    }
#endif
}

// How long a save waits for another copy's save to finish, and how old a lock must be
// before it counts as left behind by a copy that ended without releasing it. A lock whose
// copy has ended is taken over at once; one that copy had no time to fill in (it was
// killed, or the power failed, as it made the lock) only by its age. A save holds its lock
// for the few milliseconds of one small write, so a lock older than a few seconds is left
// behind, and the age is well under the wait: a check after such an end waits for it and
// goes on, instead of being refused as if another copy were saving.
constexpr int kLockWaitMs = 10000;
constexpr int kStaleLockMs = 4000;

} // namespace

void initFileErrorInfo(FileErrorInfo& error, const QString& source)
{
    error.Number = 0;
    error.Description.clear();
    error.Source = source;
}

Message fileErrorMessage(FileAction action, const QString& path, const QString& description)
{
    const bool open = action == FileAction::Open;
    return {QLatin1String(appinfo::kProductName),
            (open ? QStringLiteral("Could not open the file '")
                  : QStringLiteral("Could not save the file '")) +
                path + QStringLiteral("'.\r\n\r\n") + description +
                (open ? QStringLiteral("\r\n\r\nCheck to make sure the file exists and is not "
                                       "being used by another process, and then please try again.")
                      : QStringLiteral("\r\n\r\nCheck to make sure the file is not being used by "
                                       "another process and then please try again.")),
            MessageIcon::Exclamation};
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
    for (const Element& element : kElements)
        line += wrapInTag(elementText(r, element), QLatin1String(element.tag));
    line += QStringLiteral("</Game>");
    return line;
}

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
    if (!regularFile(record.FilePath, error))
        return false;
    QFile file(record.FilePath);
    if (!file.open(QIODevice::ReadOnly))
        return deviceFailure(file, error);
    GameRecord loaded;
    resetGameRecord(loaded);
    if (!readGame(file, loaded, error))
        return false;
    // The digest of the very file read, even if another copy has replaced it meanwhile.
    const std::optional<QByteArray> digest = deviceDigest(file);
    if (!digest)
        return deviceFailure(file, error);
    loaded.FilePath = record.FilePath;
    loaded.FileDigest = *digest;
    record = loaded;
    return true;
}

bool saveData(const GameRecord& record, FileErrorInfo& error, const QDateTime& now,
              QByteArray* digest)
{
    initFileErrorInfo(error, QStringLiteral("saveData()"));
    QBuffer content;
    content.open(QIODevice::WriteOnly);
    if (!writeGame(content, record, now, error))
        return false;
    const QByteArray& bytes = content.data();
    QSaveFile file(record.FilePath);
    if (!file.open(QIODevice::WriteOnly))
        return deviceFailure(file, error);
    keepOwnership(record.FilePath, file.handle());
    // A full disk shows itself when the buffer is flushed, and the commit would not report
    // it, leaving an empty file.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        static_cast<void>(deviceFailure(file, error));
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return deviceFailure(file, error);
    if (digest)
        *digest = contentDigest(bytes);
    return true;
}

GuardedSave saveDataIfUnchanged(GameRecord& record, FileErrorInfo& error, const QDateTime& now)
{
    initFileErrorInfo(error, QStringLiteral("saveData()"));
    QLockFile lock(record.FilePath + QStringLiteral(".lock"));
    lock.setStaleLockTime(kStaleLockMs);
    if (!lock.tryLock(kLockWaitMs) && lock.error() == QLockFile::LockFailedError) {
        error.Description =
            QStringLiteral("Another copy of the program is saving the game file right now.");
        return GuardedSave::Failed;
    }
    // A lock that cannot be made (a folder this user may not write) guards nothing, and the
    // save below then fails with its own reason, as it does for a file that has gone or a
    // folder in the file's place.
    if (QFileInfo(record.FilePath).isFile()) {
        QFile current(record.FilePath);
        if (!current.open(QIODevice::ReadOnly))
            return deviceFailure(current, error), GuardedSave::Failed;
        const std::optional<QByteArray> digest = deviceDigest(current);
        if (!digest)
            return deviceFailure(current, error), GuardedSave::Failed;
        if (*digest != record.FileDigest)
            return GuardedSave::ChangedElsewhere;
    }
    QByteArray written;
    if (!saveData(record, error, now, &written))
        return GuardedSave::Failed;
    record.FileDigest = written;
    return GuardedSave::Saved;
}

Message changedElsewhereMessage(const QString& path)
{
    return {QLatin1String(appinfo::kProductName),
            QStringLiteral("The game file '") + path +
                QStringLiteral("' was changed by another copy of the program after this one "
                               "read it, so nothing was saved.\r\n\r\nPlease open the game file "
                               "again."),
            MessageIcon::Exclamation};
}

} // namespace tfp
