// Hardening cases that need a POSIX system: the terminal program's check made to fail by a
// folder it may not write (run as an unprivileged user) or by a full file system (a private
// mount namespace), and a huge one-line file read within bounds of time and memory, measured
// in this process and in a child run of the terminal program.
#include "game/cipher.h"
#include "game/gamefile.h"
#include "game/turncheck.h"
#include "hardening.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace tfp;
using namespace tfp::hardening;

namespace {

constexpr qint64 kMaxGrowthKb = 100 * 1024;
constexpr qint64 kQuickMs = 1000;

// A "Name:   123 kB" line of /proc/self/status, in kB; -1 when it cannot be read.
qint64 processStatusKb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Resets the peak resident size (VmHWM) to the current one; false where the kernel does
// not allow it.
bool resetPeakResidentSize()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

struct ChildRun
{
    bool started = false;
    int exitCode = -1; // -1 when the child did not exit normally
    qint64 peakResidentKb = 0;
    qint64 elapsedMs = 0;
};

constexpr char kMeasureFlag[] = "--tfp-measure-child";

// The measuring helper. Linux carries a process's peak resident size across exec, so a
// child forked straight from a large test process reports the parent's size as its own.
// The test therefore re-runs its own executable as a small helper, which runs the program
// as its child and writes "<exit status> <peak kB> <ms>" to the file it was given.
// Usage: <self> --tfp-measure-child OUT PROGRAM ARGUMENTS...
bool runMeasuringHelperIfAsked()
{
    FILE* cmdline = std::fopen("/proc/self/cmdline", "rb");
    if (!cmdline)
        return false;
    std::string text;
    char chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, cmdline)) > 0;)
        text.append(chunk, n);
    std::fclose(cmdline);
    std::vector<std::string> arguments;
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find('\0', at);
        arguments.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 1;
    }
    if (arguments.size() < 4 || arguments[1] != kMeasureFlag)
        return false;
    std::vector<char*> argv;
    for (size_t i = 3; i < arguments.size(); ++i)
        argv.push_back(arguments[i].data());
    argv.push_back(nullptr);
    const auto begin = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    pid_t waited = -1;
    do {
        waited = ::wait4(pid, &status, 0, &usage);
    } while (waited < 0 && errno == EINTR);
    const long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now() - begin)
                             .count();
    if (FILE* out = std::fopen(arguments[2].c_str(), "w")) {
        std::fprintf(out, "%d %ld %lld\n",
                     waited == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1, usage.ru_maxrss,
                     ms);
        std::fclose(out);
    }
    ::_exit(0);
}

[[maybe_unused]] const bool kMeasuringHelper = runMeasuringHelperIfAsked();

// Runs a program with its standard error going to `stderrPath`, and reports its exit
// status, its own peak resident size (from wait4, in the helper) and how long it ran.
ChildRun runMeasured(const QString& program, const QStringList& arguments,
                     const QString& stderrPath)
{
    ChildRun run;
    const QString report = stderrPath + QStringLiteral(".measure");
    // Everything the child needs is made before fork: after it, only exec may follow.
    std::vector<QByteArray> storage{QByteArrayLiteral("/proc/self/exe"), kMeasureFlag,
                                    QFile::encodeName(report), QFile::encodeName(program)};
    for (const QString& argument : arguments)
        storage.push_back(QFile::encodeName(argument));
    std::vector<char*> argv;
    for (QByteArray& text : storage)
        argv.push_back(text.data());
    argv.push_back(nullptr);
    const int errFd = ::open(QFile::encodeName(stderrPath).constData(),
                             O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const int nullFd = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    if (errFd < 0 || nullFd < 0)
        return run;

    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(nullFd, STDIN_FILENO);
        ::dup2(nullFd, STDOUT_FILENO);
        ::dup2(errFd, STDERR_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(errFd);
    ::close(nullFd);
    if (pid < 0)
        return run;
    int status = 0;
    pid_t waited = -1;
    do {
        waited = ::waitpid(pid, &status, 0);
    } while (waited < 0 && errno == EINTR);
    QFile file(report);
    if (waited != pid || !file.open(QIODevice::ReadOnly))
        return run;
    const QList<QByteArray> fields = file.readAll().trimmed().split(' ');
    if (fields.size() != 3)
        return run;
    run.started = true;
    run.exitCode = fields[0].toInt();
    run.peakResidentKb = fields[1].toLongLong(); // kB on Linux
    run.elapsedMs = fields[2].toLongLong();
    return run;
}

// The save message as the terminal program prints it, split where the description goes.
QPair<QString, QString> terminalSaveMessageAround(const QString& path)
{
    const QString marker = QStringLiteral("\x01description\x01");
    const Message message = fileErrorMessage(FileAction::Save, path, marker);
    QString text = message.title + QStringLiteral(":\n") + message.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const qsizetype at = text.indexOf(marker);
    return {text.left(at), text.mid(at + marker.size())};
}

// The description the terminal program gave in its save message; empty when the message
// is not there.
QString descriptionInSaveMessage(const QString& err, const QString& path)
{
    const auto [head, tail] = terminalSaveMessageAround(path);
    const qsizetype start = err.indexOf(head);
    if (start < 0)
        return {};
    const qsizetype end = err.indexOf(tail, start + head.size());
    if (end < 0)
        return {};
    return err.mid(start + head.size(), end - start - head.size());
}

} // namespace

class PosixHardeningTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(QFileInfo(cliPath()).isExecutable(), qPrintable(cliPath())); }

    void getData_hugeOneLineFile_failsFast()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("huge.tfp"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QByteArray chunk;
            chunk.reserve(1 << 20);
            while (chunk.size() < (1 << 20))
                chunk.append("AB");
            for (int i = 0; i < 300; ++i)
                QCOMPARE(file.write(chunk), chunk.size());
        }
        QCOMPARE(QFileInfo(path).size(), qint64(300) << 20);

        const qint64 residentBefore = processStatusKb("VmRSS");
        const bool peakReset = resetPeakResidentSize();
        const qint64 peakBefore = processStatusKb("VmHWM");
        GameRecord record;
        record.FilePath = path;
        const GameRecord before = record;
        FileErrorInfo error;
        QElapsedTimer timer;
        timer.start();
        const bool read = getData(record, error);
        const qint64 elapsedMs = timer.elapsed();
        const qint64 growthKb =
            (peakReset ? processStatusKb("VmHWM") : processStatusKb("VmRSS")) - residentBefore;
        qInfo("300 MB one-line file in-process: %lld ms, memory growth %lld kB (%s; resident "
              "%lld kB before, peak %lld kB)",
              elapsedMs, growthKb, peakReset ? "peak resident size" : "resident size",
              residentBefore, peakBefore);
        QVERIFY(!read);
        QVERIFY(record == before);
        QVERIFY2(error.Description.contains(QString::number(kMaxCipherLength)),
                 qPrintable(error.Description));
        QVERIFY2(elapsedMs < kQuickMs, qPrintable(QString::number(elapsedMs)));
        QVERIFY(residentBefore > 0);
        QVERIFY2(growthKb < kMaxGrowthKb, qPrintable(QString::number(growthKb)));

        const QString errPath = dir.filePath(QStringLiteral("info.err"));
        const ChildRun info = runMeasured(cliPath(), {QStringLiteral("info"), path}, errPath);
        const QByteArray err = fileBytes(errPath);
        qInfo("300 MB one-line file, turnpicker-cli info: %lld ms, peak resident %lld kB, "
              "exit status %d",
              info.elapsedMs, info.peakResidentKb, info.exitCode);
        QVERIFY(info.started);
        QCOMPARE(info.exitCode, 1);
        QVERIFY2(err.contains(QByteArray::number(kMaxCipherLength)), err.constData());
        QVERIFY2(info.elapsedMs < kQuickMs, qPrintable(QString::number(info.elapsedMs)));
        QVERIFY2(info.peakResidentKb < kMaxGrowthKb,
                 qPrintable(QString::number(info.peakResidentKb)));
        QVERIFY(QFile::remove(path));
    }

    void checkCommand_saveFails_turnNotCounted_data()
    {
        QTest::addColumn<bool>("fullFileSystem");
        QTest::newRow("read-only folder") << false;
        QTest::newRow("full file system") << true;
    }

    void checkCommand_saveFails_turnNotCounted()
    {
        QFETCH(bool, fullFileSystem);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString folder = dir.filePath(QStringLiteral("games"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("games")));
        const QString source = dir.filePath(QStringLiteral("source.tfp"));
        GameRecord game = endlessGame(source);
        game.CurrentTurn = 11;
        FileErrorInfo error;
        QVERIFY2(saveData(game, error), qPrintable(error.Description));
        const QByteArray bytes = fileBytes(source);
        const QString path = QDir(folder).filePath(QStringLiteral("game.tfp"));

        QProcess process;
        QByteArray after;
        if (fullFileSystem) {
            // A private mount namespace, so the small file system is seen by this shell
            // alone and goes away with it. The game is copied in, the rest of the space
            // filled, the check run, and the file copied out again.
            const QString afterPath = dir.filePath(QStringLiteral("after.tfp"));
            const QString script =
                QStringLiteral("mount -t tmpfs -o size=16k tmpfs \"$1\" || exit 90\n"
                               "echo mounted\n"
                               "cp \"$2\" \"$1/game.tfp\" || exit 91\n"
                               "dd if=/dev/zero of=\"$1/filler\" bs=1024 2>/dev/null\n"
                               "dd if=/dev/zero of=\"$1/filler2\" bs=1 2>/dev/null\n"
                               "\"$3\" check \"$1/game.tfp\"\n"
                               "status=$?\n"
                               "cp \"$1/game.tfp\" \"$4\" || exit 92\n"
                               "echo \"status=$status\"\n");
            process.start(QStringLiteral("unshare"),
                          {QStringLiteral("-m"), QStringLiteral("sh"), QStringLiteral("-c"), script,
                           QStringLiteral("sh"), folder, source, cliPath(), afterPath});
            if (!process.waitForStarted(60000))
                QSKIP(qPrintable(QStringLiteral("unshare cannot be run here: ") +
                                 process.errorString()));
            QVERIFY(process.waitForFinished(120000));
            const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
            const QString err = QString::fromLocal8Bit(process.readAllStandardError());
            if (!out.startsWith(QLatin1String("mounted\n")))
                QSKIP(qPrintable(QStringLiteral("a private mount namespace with a small tmpfs "
                                                "is not permitted here: ") +
                                 err.trimmed()));
            QCOMPARE(process.exitCode(), 0);
            const qsizetype at = out.indexOf(QLatin1String("status="));
            QVERIFY2(at >= 0, qPrintable(out + err));
            const int status = out.mid(at + 7).trimmed().toInt();
            QCOMPARE(status, 1);
            after = fileBytes(afterPath);
            const QString inner = folder + QStringLiteral("/game.tfp");
            const QString description = descriptionInSaveMessage(err, inner);
            QVERIFY2(!description.isEmpty(), qPrintable(err));
            qInfo("full file system: the save failed with \"%s\"", qPrintable(description));
            QCOMPARE(after, bytes);
        } else {
            QVERIFY(QFile::copy(source, path));
            QVERIFY(makeReadOnly(folder));
            // Root writes into any folder; the check then runs as the unprivileged user
            // "nobody", for whom the folder is read-only, where setpriv can switch to it.
            const bool privileged = readOnlyFolderIsWritable(folder);
            const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
            if (privileged && setpriv.isEmpty()) {
                QVERIFY(makeWritable(folder));
                QSKIP("this process may write into a folder of mode 0555 (it runs as root or "
                      "with CAP_DAC_OVERRIDE) and setpriv is missing, so a save into a "
                      "read-only folder cannot fail");
            }
            QString expected;
            if (privileged) {
                // The file itself may be written by anyone: only the folder stands in the way.
                QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner |
                                                        QFile::ReadOther | QFile::WriteOther));
                QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                              QFile::ExeOwner | QFile::ReadOther |
                                                              QFile::ExeOther));
                process.start(setpriv,
                              {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                               QStringLiteral("--clear-groups"), cliPath(), QStringLiteral("check"),
                               path});
            } else {
                GameRecord probe = game;
                probe.FilePath = path;
                FileErrorInfo probeError;
                QVERIFY(!saveData(probe, probeError));
                expected = probeError.Description;
                process.start(cliPath(), {QStringLiteral("check"), path});
            }
            QVERIFY(process.waitForFinished(60000));
            QVERIFY(makeWritable(folder));
            QCOMPARE(process.exitStatus(), QProcess::NormalExit);
            const QString err = QString::fromLocal8Bit(process.readAllStandardError());
            QVERIFY2(process.exitCode() == 1, qPrintable(err));
            const QString description = descriptionInSaveMessage(err, path);
            QVERIFY2(!description.isEmpty(), qPrintable(err));
            if (!expected.isEmpty())
                QCOMPARE(description, expected);
            qInfo("read-only folder%s: the save failed with \"%s\"",
                  privileged ? " (check run as nobody)" : "", qPrintable(description));
            after = fileBytes(path);
            QCOMPARE(after, bytes);
        }
        const QString copy = dir.filePath(QStringLiteral("check.tfp"));
        QFile written(copy);
        QVERIFY(written.open(QIODevice::WriteOnly));
        written.write(after);
        written.close();
        GameRecord onDisk;
        QString why;
        QVERIFY2(loadGame(copy, onDisk, why), qPrintable(why));
        QCOMPARE(onDisk.CurrentTurn, game.CurrentTurn);
    }
};

QTEST_GUILESS_MAIN(PosixHardeningTest)
#include "tst_hardening_posix.moc"
