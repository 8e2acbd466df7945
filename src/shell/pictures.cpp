#include "shell/pictures.h"

#include <QFile>
#include <QImageReader>
#include <QPixmap>

namespace tfp::shell {
namespace {

// "name@2x.png" for "name.png": the picture at twice the size.
QString doubleSizePath(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot < 0 ? path + QStringLiteral("@2x")
                   : path.first(dot) + QStringLiteral("@2x") + path.sliced(dot);
}

} // namespace

QImage readPicture(const QString& path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

void addPicture(QIcon& icon, const QString& path)
{
    const QImage normal = readPicture(path);
    if (normal.isNull())
        return;
    icon.addPixmap(QPixmap::fromImage(normal));
    if (const QString large = doubleSizePath(path); QFile::exists(large)) {
        QImage twice = readPicture(large);
        if (!twice.isNull()) {
            twice.setDevicePixelRatio(2.0);
            icon.addPixmap(QPixmap::fromImage(twice));
        }
    }
}

QIcon pictureIcon(const QString& path)
{
    QIcon icon;
    addPicture(icon, path);
    return icon;
}

} // namespace tfp::shell
