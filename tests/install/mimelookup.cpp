// mimelookup: prints the MIME type that the freedesktop database of XDG_DATA_DIRS gives a
// file, as a file manager would see it. With --content the file's name is ignored and only
// its contents (the magic rules) count.
#include <cstdio>
#include <QCoreApplication>
#include <QMimeDatabase>
#include <QStringList>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    QMimeDatabase::MatchMode mode = QMimeDatabase::MatchDefault;
    if (!arguments.isEmpty() && arguments.constFirst() == QLatin1String("--content")) {
        mode = QMimeDatabase::MatchContent;
        arguments.removeFirst();
    }
    if (arguments.size() != 1) {
        std::fprintf(stderr, "usage: mimelookup [--content] FILE\n");
        return 2;
    }
    const QMimeType type = QMimeDatabase().mimeTypeForFile(arguments.constFirst(), mode);
    std::printf("%s\n", qPrintable(type.name()));
    return 0;
}
