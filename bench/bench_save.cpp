// bench_save: the floor of the turn-check bench. Reads FILE and writes the same bytes back
// to it with QSaveFile, whose commit flushes the new file to disk and renames it over the
// old one: the file work of a turn check without its game rules.
#include <cstdio>
#include <QFile>
#include <QSaveFile>
#include <QString>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_save FILE\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = in.readAll();
    in.close();
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        return 1;
    return 0;
}
