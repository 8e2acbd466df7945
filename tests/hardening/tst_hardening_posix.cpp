// What a POSIX system adds: a check of a game in a folder the terminal program may not write,
// or behind a lock left behind that it may not remove (run as the user "nobody" through
// setpriv when the tests run as root, who writes anywhere), a shared game reached through a
// symbolic link keeping its owner, group and mode when saved, and a pipe in a game's place.
#include "game/gamefile.h"
#include "testsupport.h"

#include <cerrno>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <sys/stat.h>
#ifdef Q_OS_LINUX
#include <sched.h>
#include <sys/mount.h>
#endif
#include <unistd.h>

using namespace tfp;
using namespace tfp::test;

namespace {

// Makes `folder` a fresh folder that every user may enter: a small file system on /tmp seen
// by this process alone (a private mount namespace), gone with the process however it ends.
// False where the system gives no such namespace (it needs root on Linux).
bool publicScratchFolder(QString& folder)
{
#ifdef Q_OS_LINUX
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", "/tmp", "tmpfs", 0, "size=64m,mode=0755") != 0)
        return false;
    folder = QStringLiteral("/tmp/turnpicker");
    return QDir().mkpath(folder);
#else
    Q_UNUSED(folder);
    return false;
#endif
}

// Whether the command starts and ends well.
bool runs(QStringList command)
{
    QProcess process;
    process.start(command.takeFirst(), command);
    return process.waitForFinished() && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

} // namespace

class PosixHardeningTest : public QObject
{
    Q_OBJECT

private slots:
    // What stands in the way: a folder that may not be written (the system's reason is shown),
    // or a lock left behind that this user may not write, and so cannot take over (its path
    // is shown at once, instead of a wait and a false word of another copy saving).
    void checkCommand_cannotWrite_turnNotCounted_data()
    {
        QTest::addColumn<bool>("staleLock");
        QTest::newRow("read-only folder") << false;
        QTest::newRow("stale lock of another user") << true;
    }
    void checkCommand_cannotWrite_turnNotCounted()
    {
        QFETCH(bool, staleLock);
        QTemporaryDir dir;
        QString root = dir.path();
        QString program = QStringLiteral(TFP_CLI_PATH);
        QStringList asNobody;
        if (::geteuid() == 0) {
            const QString setpriv = QStandardPaths::findExecutable("setpriv");
            if (setpriv.isEmpty())
                QSKIP("root writes into any folder, and setpriv, to check as another user, "
                      "is missing");
            asNobody = QStringList{setpriv, "--reuid=65534", "--regid=65534", "--clear-groups"};
            // The clone may lie in a folder "nobody" cannot enter (a home of mode 0700): the
            // program is copied, with the game, into a folder every user reaches.
            if (publicScratchFolder(root)) {
                const QString copy = root + "/turnpicker-cli";
                QVERIFY(QFile::copy(program, copy) &&
                        QFile::setPermissions(copy, QFile::permissions(program)));
                program = copy;
            } else if (!runs(asNobody + QStringList{program, "--version"})) {
                QSKIP("the user nobody cannot reach the terminal program in this build folder, "
                      "and there is no private mount namespace here to copy it into");
            }
        }
        const QString folder = root + "/games";
        const QString path = folder + "/game.tfp";
        GameRecord game = basicGame();
        QVERIFY(QDir().mkpath(folder) && saveGame(game, path));
        const QByteArray bytes = fileBytes(path);
        // Only the folder stands in the way: the file may be written by anyone.
        const auto all = QFile::ReadOwner | QFile::ReadOther | QFile::ExeOwner | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(root, all | QFile::WriteOwner));
        QVERIFY(QFile::setPermissions(
            folder, staleLock ? all | QFile::WriteOwner | QFile::WriteOther : all));
        QFile lock(path + ".lock");
        QVERIFY(!staleLock || (lock.open(QFile::WriteOnly) &&
                               lock.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-6),
                                                QFileDevice::FileModificationTime) &&
                               lock.setPermissions(QFile::ReadOwner | QFile::ReadOther)));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner |
                                                QFile::ReadOther | QFile::WriteOther));
        QStringList command = asNobody + QStringList{program, "check", path};
        QProcess process;
        process.start(command.takeFirst(), command);
        QVERIFY(process.waitForFinished());
        QFile::setPermissions(folder, all | QFile::WriteOwner);
        QCOMPARE(process.exitCode(), 1);
        QCOMPARE(
            process.readAllStandardOutput(),
            "Turn Not Checked\nThe game file could not be saved, so turn 17 was not checked.\n");
        // The save message, with the reason, as the terminal shows it.
        const Message message = fileErrorMessage(FileAction::Save, path, qt_error_string(EACCES));
        const QString err = QString::fromLocal8Bit(process.readAllStandardError());
        QVERIFY2(
            staleLock
                ? err.contains("cannot be removed by this user:\n" + lock.fileName())
                : err == QString(message.title + ":\n" + message.text + "\n").replace("\r\n", "\n"),
            qPrintable(err));
        QCOMPARE(fileBytes(path), bytes);
    }

    // A game shared through a group folder stays its owner's, with its group and mode, after
    // another user (here root) saved it. Reached through a symbolic link, it is locked beside
    // the file the link leads to, where a copy coming through another link looks for the lock;
    // the lock has the game's group and mode, so that the other user can take it over.
    void saveDataIfUnchanged_sharedGameThroughLink_keepsOwnerGroupAndMode()
    {
        QTemporaryDir dir;
        GameRecord game = basicGame();
        QVERIFY(saveGame(game, dir.filePath("shared.tfp")));
        const QByteArray path = QFile::encodeName(game.FilePath);
        const bool root = ::geteuid() == 0;
        QVERIFY(::chmod(path, 0660) == 0 && (!root || ::chown(path, 65534, 65534) == 0));
        QVERIFY(QFile::link(game.FilePath, dir.filePath("link.tfp")));
        game.FilePath = dir.filePath("link.tfp");
        struct stat before = {}, after = {}, lock = {};
        const auto lockMade = [&] {
            QVERIFY(::stat(path + ".lock", &lock) == 0);
        };
        FileErrorInfo error;
        QVERIFY(::stat(path, &before) == 0);
        QCOMPARE(saveDataIfUnchanged(game, error, QDateTime::currentDateTime(), lockMade),
                 GuardedSave::Saved);
        QVERIFY(::stat(path, &after) == 0 && QFileInfo(game.FilePath).isSymLink());
        QCOMPARE(QList<uint>({after.st_mode & 07777, lock.st_mode & 07777}),
                 QList<uint>({0660u, 0660u}));
        QCOMPARE(QList<uint>({after.st_uid, after.st_gid, lock.st_gid}),
                 QList<uint>({before.st_uid, before.st_gid, before.st_gid}));
    }

    // Opening a pipe would wait for a writer that never comes: it is refused unopened.
    void getData_pipe_refusedUnopened()
    {
        QTemporaryDir dir;
        GameRecord record;
        record.FilePath = dir.filePath("pipe.tfp");
        QVERIFY(::mkfifo(QFile::encodeName(record.FilePath), 0600) == 0);
        FileErrorInfo error;
        QVERIFY(!getData(record, error));
        QCOMPARE(error.Description, QStringLiteral("It is not a file but a device or a pipe."));
    }
};

QTEST_GUILESS_MAIN(PosixHardeningTest)
#include "tst_hardening_posix.moc"
