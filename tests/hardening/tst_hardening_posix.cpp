// What a POSIX system adds: a check of a game in a folder the terminal program may not write
// (run as the user "nobody" through setpriv when the tests run as root, who writes anywhere),
// a shared game keeping its owner, group and mode when saved, and a pipe in a game's place.
#include "game/gamefile.h"
#include "testsupport.h"

#include <cerrno>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

using namespace tfp;
using namespace tfp::test;

class PosixHardeningTest : public QObject
{
    Q_OBJECT

private slots:
    void checkCommand_readOnlyFolder_turnNotCounted()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath("games");
        const QString path = folder + "/game.tfp";
        GameRecord game = basicGame();
        QVERIFY(QDir().mkpath(folder) && saveGame(game, path));
        const QByteArray bytes = fileBytes(path);
        // Only the folder stands in the way: the file may be written by anyone.
        const auto all = QFile::ReadOwner | QFile::ReadOther | QFile::ExeOwner | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(dir.path(), all | QFile::WriteOwner));
        QVERIFY(QFile::setPermissions(folder, all));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner |
                                                QFile::ReadOther | QFile::WriteOther));
        QStringList command{QStringLiteral(TFP_CLI_PATH), "check", path};
        if (::geteuid() == 0) {
            const QString setpriv = QStandardPaths::findExecutable("setpriv");
            if (setpriv.isEmpty())
                QSKIP("root writes into any folder, and setpriv, to check as another user, "
                      "is missing");
            command =
                QStringList{setpriv, "--reuid=65534", "--regid=65534", "--clear-groups"} + command;
        }
        QProcess process;
        process.start(command.takeFirst(), command);
        QVERIFY(process.waitForFinished());
        QFile::setPermissions(folder, all | QFile::WriteOwner);
        QCOMPARE(process.exitCode(), 1);
        QCOMPARE(
            process.readAllStandardOutput(),
            "Turn Not Checked\nThe game file could not be saved, so turn 17 was not checked.\n");
        // The save message, with the system's reason, as the terminal shows it.
        const Message message = fileErrorMessage(FileAction::Save, path, qt_error_string(EACCES));
        QCOMPARE(QString::fromLocal8Bit(process.readAllStandardError()),
                 QString(message.title + ":\n" + message.text + "\n").replace("\r\n", "\n"));
        QCOMPARE(fileBytes(path), bytes);
    }

    // A game shared through a group folder stays its owner's, with its group and mode, after
    // another user (here root) saved it.
    void saveData_replacedFile_keepsOwnerGroupAndMode()
    {
        QTemporaryDir dir;
        GameRecord game = basicGame();
        QVERIFY(saveGame(game, dir.filePath("shared.tfp")));
        const QByteArray path = QFile::encodeName(game.FilePath);
        const bool root = ::geteuid() == 0;
        QVERIFY(::chmod(path, 0640) == 0 && (!root || ::chown(path, 65534, 65534) == 0));
        struct stat before = {}, after = {};
        FileErrorInfo error;
        QVERIFY(::stat(path, &before) == 0 && saveData(game, error) && ::stat(path, &after) == 0);
        QCOMPARE(after.st_mode & 07777, 0640u);
        QCOMPARE(QList<uint>({after.st_uid, after.st_gid}),
                 QList<uint>({before.st_uid, before.st_gid}));
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
