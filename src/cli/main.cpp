// turnpicker-cli: create games, check turns and show a game file from a terminal.
#include "commands.h"

#include <cstdio>
#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    QTextStream in(stdin);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return tfp::cli::run(arguments, {in, out, err});
}
