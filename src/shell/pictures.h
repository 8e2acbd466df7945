// The program's own pictures, read from its resources as the PNG files they are. Naming the
// format spares Qt from asking every installed image plugin first whether it knows the
// file, which loads them all (a cost every start-up would otherwise pay).
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace tfp::shell {

// The picture at `path`; a null image when it cannot be read.
[[nodiscard]] QImage readPicture(const QString& path);

// An icon of the picture at `path` ("name.png"), with "name@2x.png" beside it, when there
// is one, for screens of twice the density.
[[nodiscard]] QIcon pictureIcon(const QString& path);

// Adds the picture at `path` (and its "@2x" companion) to `icon`.
void addPicture(QIcon& icon, const QString& path);

} // namespace tfp::shell
