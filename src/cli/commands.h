// The commands of the terminal program: new, check and info.
#pragma once

#include "terminal.h"

#include <QStringList>
#include <QTextStream>

namespace tfp::cli {

// Exit statuses.
enum ExitCode : int
{
    kExitGoesOn = 0,
    kExitFailed = 1,
    kExitUsage = 2,
    kExitBattleOver = 3,
    kExitNotAllowed = 4,
};

struct Streams
{
    QTextStream& in;
    QTextStream& out;
    QTextStream& err;
};

// Runs the command line (without the program name) and returns the exit status.
[[nodiscard]] int run(const QStringList& arguments, Streams streams);

} // namespace tfp::cli
