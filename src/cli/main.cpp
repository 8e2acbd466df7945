// turnpicker-cli: create games, check turns and show a game file from a terminal.
#include "commands.h"
#include "game/versions.h"

#include <cstdio>
#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    tfp::setApplicationNames(); // the desktop program's data folder, where Sealed keys live
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    QTextStream in(stdin);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return tfp::cli::run(arguments, {in, out, err});
}
