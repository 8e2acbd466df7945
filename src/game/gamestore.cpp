#include "game/gamestore.h"

#include "appversion.h"
#include "game/shown.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
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

// Whether the file at `path` still has `digest`: Saved when it has, ChangedElsewhere when it
// holds something else, Gone when it is not there, Failed when it cannot be read.
GuardedSave compareWithFile(const QString& path, const QByteArray& digest, FileErrorInfo& error)
{
    if (!QFileInfo(path).isFile())
        return GuardedSave::Gone;
    QFile current(path);
    if (!current.open(QIODevice::ReadOnly))
        return failFromDevice(current, error), GuardedSave::Failed;
    const std::optional<QByteArray> found = deviceDigest(current);
    if (!found)
        return failFromDevice(current, error), GuardedSave::Failed;
    return *found == digest ? GuardedSave::Saved : GuardedSave::ChangedElsewhere;
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

// How often a save that waits for a lock looks again whether it can take it, or whether it
// waits for one that it can never take.
constexpr int kLockPollMs = 100;

// The longest file name the systems keep (bytes in the file system's encoding on POSIX
// systems, UTF-16 units on Windows), and what the store adds to a game file's name for the
// names it makes beside it: ".lock", and ".XXXXXX" for a temporary copy.
constexpr qsizetype kMaxFileName = 255;
constexpr qsizetype kLongestSuffix = 7;

// Gives the lock of the game at `path` the game's group and mode (its read and write bits):
// a lock left behind by a copy that was killed must be opened for writing to be taken over,
// so another user who shares the game through its group can take over this one.
void shareLock([[maybe_unused]] const QString& path, [[maybe_unused]] const QString& lockPath)
{
#ifdef Q_OS_UNIX
    struct stat status
    {};
    const QByteArray lock = QFile::encodeName(lockPath);
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return;
    if (::chown(lock.constData(), static_cast<uid_t>(-1), status.st_gid) != 0) {
        // Not one of this user's groups: the lock keeps this user's group.
    }
    if (::chmod(lock.constData(), status.st_mode & 0666) != 0) {
        // The lock keeps the mode the system gave it.
    }
#endif
}

// Whether the lock at `lockPath` was left behind (older than the stale age) where this user
// can never take it over: taking it over opens it for writing and removes it, which a lock
// of another user's mode refuses, and so does a folder this user may not write or, with the
// sticky bit, may not remove another user's files from. Waiting for such a lock is useless.
bool lockBeyondReach([[maybe_unused]] const QString& lockPath)
{
#ifdef Q_OS_UNIX
    const QFileInfo info(lockPath);
    const QByteArray lock = QFile::encodeName(lockPath);
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    struct stat lockStatus
    {};
    struct stat folderStatus
    {};
    if (::stat(lock.constData(), &lockStatus) != 0 ||
        ::stat(folder.constData(), &folderStatus) != 0 ||
        info.lastModified().msecsTo(QDateTime::currentDateTime()) <= kStaleLockMs)
        return false;
    const uid_t user = ::geteuid();
    const bool sticky = (folderStatus.st_mode & S_ISVTX) != 0 && user != 0 &&
                        lockStatus.st_uid != user && folderStatus.st_uid != user;
    return ::access(lock.constData(), W_OK) != 0 || ::access(folder.constData(), W_OK) != 0 ||
           sticky;
#else
    return false;
#endif
}

// Removes the temporary copies that saves of the game at `path` left behind when they were
// cut short, where the file system makes no unnamed temporary files: only files named as the
// saves name them ("GAME.tfp." and six letters), only when they are older than a lock left
// behind, and only while the caller holds the game's lock, so no save is writing one.
void removeLeftovers(const QString& path)
{
    const QFileInfo game(path);
    const QRegularExpression form(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(game.fileName()) + QStringLiteral("\\.[A-Za-z]{6}")));
    const QDateTime stale = QDateTime::currentDateTime().addMSecs(-kStaleLockMs);
    QDirIterator it(game.absolutePath(), QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    while (it.hasNext()) {
        const QFileInfo left(it.next());
        if (form.match(left.fileName()).hasMatch() && left.lastModified() < stale)
            QFile::remove(left.filePath());
    }
}

// Writes the record to `path` atomically. With `unchanged`, the new file is written and
// flushed first, and it replaces the file only when that still has this digest.
GuardedSave writeGameFile(const GameRecord& record, const QString& path, FileErrorInfo& error,
                          const QDateTime& now, QByteArray* digest,
                          const QByteArray* unchanged = nullptr,
                          const std::function<void()>& beforeReplace = {})
{
    QBuffer content;
    content.open(QIODevice::WriteOnly);
    if (!writeGame(content, record, now, error))
        return GuardedSave::Failed;
    const QByteArray& bytes = content.data();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failFromDevice(file, error), GuardedSave::Failed;
    keepOwnership(path, file.handle());
    // A full disk shows itself when the buffer is flushed, and the commit would not report
    // it, leaving an empty file.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        static_cast<void>(failFromDevice(file, error));
        file.cancelWriting();
        return GuardedSave::Failed;
    }
#ifdef Q_OS_UNIX
    // On its way to the disk now, so the commit's own wait for the disk (long on a slow stick
    // or share) no longer lies between the comparison below and the replacement.
    static_cast<void>(::fsync(file.handle()));
#endif
    if (beforeReplace)
        beforeReplace();
    if (unchanged) {
        const GuardedSave found = compareWithFile(path, *unchanged, error);
        if (found != GuardedSave::Saved) {
            file.cancelWriting();
            return found;
        }
    }
    if (!file.commit())
        return failFromDevice(file, error), GuardedSave::Failed;
    if (digest)
        *digest = contentDigest(bytes);
    return GuardedSave::Saved;
}

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
    // The digest of the very bytes read, in the one read: the file may be replaced or
    // rewritten in place meanwhile, and a save must then find it changed.
    QCryptographicHash digest(QCryptographicHash::Sha256);
    if (!readGame(file, loaded, error, &digest))
        return false;
    loaded.FilePath = record.FilePath;
    loaded.FileDigest = digest.result();
    record = loaded;
    return true;
}

bool saveData(const GameRecord& record, FileErrorInfo& error, const QDateTime& now,
              QByteArray* digest)
{
    initFileErrorInfo(error, QStringLiteral("saveData()"));
    return writeGameFile(record, record.FilePath, error, now, digest) == GuardedSave::Saved;
}

GuardedSave saveDataIfUnchanged(GameRecord& record, FileErrorInfo& error, const QDateTime& now,
                                const std::function<void()>& beforeReplace)
{
    initFileErrorInfo(error, QStringLiteral("saveData()"));
    // Copies that reach the game through different symbolic links lock, compare and replace
    // the one file the links lead to.
    const QString path = QFileInfo(record.FilePath).canonicalFilePath();
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return GuardedSave::Gone;
    const QString lockPath = path + QStringLiteral(".lock");
    QLockFile lock(lockPath);
    lock.setStaleLockTime(kStaleLockMs);
    const QDeadlineTimer wait(kLockWaitMs);
    bool locked = lock.tryLock(0);
    while (!locked && lock.error() == QLockFile::LockFailedError) {
        if (lockBeyondReach(lockPath)) {
            error.Description =
                QStringLiteral("A lock left behind by a copy of the program that ended while "
                               "saving cannot be removed by this user:\r\n%1\r\nDelete it, or "
                               "ask the user who owns it to, and then try again.")
                    .arg(QDir::toNativeSeparators(lockPath));
            return GuardedSave::Failed;
        }
        if (wait.hasExpired()) {
            error.Description =
                QStringLiteral("Another copy of the program is saving the game file right now.");
            return GuardedSave::Failed;
        }
        locked = lock.tryLock(kLockPollMs);
    }
    // A lock that cannot be made (a folder this user may not write) guards nothing, and the
    // save below then fails with its own reason.
    if (locked) {
        shareLock(path, lockPath);
        removeLeftovers(path);
    }
    QByteArray written;
    const GuardedSave save =
        writeGameFile(record, path, error, now, &written, &record.FileDigest, beforeReplace);
    if (save == GuardedSave::Saved)
        record.FileDigest = written;
    return save;
}

Message changedElsewhereMessage(const QString& path, GuardedSave save)
{
    const QString what =
        save == GuardedSave::Gone
            ? QStringLiteral("' is no longer there: it was deleted or moved away after this "
                             "copy of the program read it, so nothing was saved.")
            : QStringLiteral("' was changed by another copy of the program after this one "
                             "read it, so nothing was saved.");
    return {QLatin1String(appinfo::kProductName),
            QStringLiteral("The game file '") + shownPath(path) + what +
                QStringLiteral("\r\n\r\nPlease open the game file again."),
            MessageIcon::Exclamation};
}

std::optional<Message> fileNameRefusal(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
#ifdef Q_OS_WIN
    const qsizetype length = name.size();
#else
    const qsizetype length = QFile::encodeName(name).size();
#endif
    if (length + kLongestSuffix <= kMaxFileName)
        return std::nullopt;
    return Message{QLatin1String(appinfo::kProductName),
                   QStringLiteral("The file name '%1' is too long: the program keeps a lock and "
                                  "a temporary copy beside the game file, under names a few "
                                  "characters longer, and the system would refuse them.\r\n\r\n"
                                  "Please choose a shorter file name.")
                       .arg(name),
                   MessageIcon::Exclamation};
}

} // namespace tfp
