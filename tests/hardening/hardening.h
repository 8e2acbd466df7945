// Shared pieces of the hardening tests: a game that never ends, a recorder for messages,
// file bytes, and the memory figures of this process and of a child run of the terminal
// program.
#pragma once

#include "game/gamefile.h"
#include "game/gamerecord.h"
#include "game/interaction.h"
#include "game/versions.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tfp::hardening {

// A Basic scenario whose ending turn lies far beyond any number of checks a test makes.
inline GameRecord endlessGame(const QString& path)
{
    GameRecord game;
    game.Version = getAppVersion();
    game.GameName = QStringLiteral("Hill 112");
    game.Player1Name = QStringLiteral("Ben");
    game.Player2Name = QStringLiteral("Ada");
    game.TotalTurns = 99;
    game.TurnVariance = 5;
    game.CurrentTurn = 0;
    game.EndingTurn = 32000;
    game.GameType = GameType::Scenario;
    game.SecurityMode = SecurityMode::Basic;
    game.CurrentPlayer = kNoPlayer;
    game.DestinationPlayer = kNoPlayer;
    game.FilePath = path;
    return game;
}

// Answers no password and keeps every message shown.
class MessageRecorder final : public Interaction
{
public:
    void showMessage(const Message& message) override { messages.append(message); }
    QString askPassword(const QString&, const QString&) override { return {}; }

    QList<Message> messages;
};

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

#ifdef TFP_CLI_PATH
inline QString cliPath()
{
    return QStringLiteral(TFP_CLI_PATH);
}
#endif

// A "Name:   123 kB" line of /proc/self/status, in kB; -1 when it cannot be read.
inline qint64 processStatusKb(const char* field)
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
inline bool resetPeakResidentSize()
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

inline constexpr char kMeasureFlag[] = "--tfp-measure-child";

// The measuring helper. Linux carries a process's peak resident size across exec, so a
// child forked straight from a large test process reports the parent's size as its own.
// The test therefore re-runs its own executable as a small helper, which runs the program
// as its child and writes "<exit status> <peak kB> <ms>" to the file it was given.
// Usage: <self> --tfp-measure-child OUT PROGRAM ARGUMENTS...
inline bool runMeasuringHelperIfAsked()
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

inline const bool kMeasuringHelper = runMeasuringHelperIfAsked();

// Runs a program with its standard error going to `stderrPath`, and reports its exit
// status, its own peak resident size (from wait4, in the helper) and how long it ran.
inline ChildRun runMeasured(const QString& program, const QStringList& arguments,
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

} // namespace tfp::hardening
