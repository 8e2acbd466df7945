#include "game/gamestore.h"

#include "appversion.h"
#include "game/shown.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tfp {
namespace {

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

Message fileErrorMessage(FileAction action, const QString& path, const QString& description)
{
    const bool open = action == FileAction::Open;
    // No file can have a name the system cannot encode, where the system would say only that
    // no such file exists.
    const QString why = fileNameFitsSystem(path) || QFileInfo::exists(path)
                            ? description
                            : QStringLiteral("The file's name is not valid in the system's "
                                             "encoding, so no file can be found or made by it. "
                                             "Please rename the file.");
    return {QLatin1String(appinfo::kProductName),
            (open ? QStringLiteral("Could not open the file '")
                  : QStringLiteral("Could not save the file '")) +
                shownPath(path) + QStringLiteral("'.\r\n\r\n") + why +
                (open ? QStringLiteral("\r\n\r\nCheck to make sure the file exists and is not "
                                       "being used by another process, and then please try again.")
                      : QStringLiteral("\r\n\r\nCheck to make sure the file is not being used by "
                                       "another process and then please try again.")),
            MessageIcon::Exclamation};
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
        return failFromDevice(file, error);
    GameRecord loaded;
    resetGameRecord(loaded);
    if (!readGame(file, loaded, error))
        return false;
    // The digest of the very file read, even if another copy has replaced it meanwhile.
    const std::optional<QByteArray> digest = deviceDigest(file);
    if (!digest)
        return failFromDevice(file, error);
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
        return failFromDevice(file, error);
    keepOwnership(record.FilePath, file.handle());
    // A full disk shows itself when the buffer is flushed, and the commit would not report
    // it, leaving an empty file.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        static_cast<void>(failFromDevice(file, error));
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return failFromDevice(file, error);
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
            return failFromDevice(current, error), GuardedSave::Failed;
        const std::optional<QByteArray> digest = deviceDigest(current);
        if (!digest)
            return failFromDevice(current, error), GuardedSave::Failed;
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
            QStringLiteral("The game file '") + shownPath(path) +
                QStringLiteral("' was changed by another copy of the program after this one "
                               "read it, so nothing was saved.\r\n\r\nPlease open the game file "
                               "again."),
            MessageIcon::Exclamation};
}

} // namespace tfp
