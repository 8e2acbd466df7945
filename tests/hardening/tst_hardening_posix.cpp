// The terminal program's check of a game in a folder it may not write: run as the user
// "nobody" (setpriv) when the tests run as root, who writes anywhere. The save fails, the
// turn is not counted, the player is told why, and the file is left as it was.
#include "game/gamefile.h"
#include "testsupport.h"

#include <cerrno>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
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
};

QTEST_GUILESS_MAIN(PosixHardeningTest)
#include "tst_hardening_posix.moc"
