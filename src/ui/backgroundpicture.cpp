#include "ui/backgroundpicture.h"

#include "shell/pictures.h"

namespace tfp::ui {

QString backgroundPictureFile(qreal ratio)
{
    return ratio > 1.0 ? QStringLiteral(":/images/background@2x.png")
                       : QStringLiteral(":/images/background.png");
}

QImage backgroundPicture(qreal ratio)
{
    return shell::readPicture(backgroundPictureFile(ratio));
}

} // namespace tfp::ui
