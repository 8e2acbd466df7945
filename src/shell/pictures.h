// The program's own pictures, read from its resources as the PNG files they are. Naming the
// format spares Qt from asking every installed image plugin first whether it knows the
// file, which loads them all (a cost every start-up would otherwise pay). The pictures the
// first window needs can be read ahead on a worker thread while the program starts.
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>
#include <QStringList>

namespace tfp::shell {

// The picture at `path`; a null image when it cannot be read. Safe from any thread. A
// picture being read ahead is taken from there (waiting for it if need be), once.
[[nodiscard]] QImage readPicture(const QString& path);

// Starts reading `paths`, in this order, on a worker thread, for readPicture to take. Does
// nothing while an earlier list is still held.
void preloadPictures(const QStringList& paths);

// Waits for the worker and drops the pictures read ahead that nobody took.
void discardPreloadedPictures();

// "name@2x.png" for "name.png": the picture at twice the size.
[[nodiscard]] QString doubleSizePath(const QString& path);

// The files an icon of the picture at `path` reads: `path`, then its "@2x" companion when
// there is one.
[[nodiscard]] QStringList pictureFiles(const QString& path);

// An icon of the picture at `path` ("name.png"), with "name@2x.png" beside it, when there
// is one, for screens of twice the density.
[[nodiscard]] QIcon pictureIcon(const QString& path);

// Adds the picture at `path` (and its "@2x" companion) to `icon`.
void addPicture(QIcon& icon, const QString& path);

} // namespace tfp::shell
