// turnpicker-cli: create games, check turns and show a game file from a terminal.
#include "commands.h"
#include "console.h"
#include "game/versions.h"

#include <cstdio>
#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    tfp::setApplicationNames(); // the desktop program's data folder, where Sealed keys live
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    // A Windows console is read and written in its wide form, not in its code page. The
    // devices outlive the streams, which flush into them as they go.
    const std::unique_ptr<QIODevice> consoles[] = {
        tfp::cli::openConsole(stdin), tfp::cli::openConsole(stdout), tfp::cli::openConsole(stderr)};
    QTextStream in(stdin);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QTextStream* streams[] = {&in, &out, &err};
    for (int i = 0; i < 3; ++i) {
        if (consoles[i])
            streams[i]->setDevice(consoles[i].get());
    }
    return tfp::cli::run(arguments, {in, out, err});
}
