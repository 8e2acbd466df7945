// The main window's background plate, the largest picture the first window needs, which
// the program reads ahead on a worker thread while it starts (shell/pictures.h).
#pragma once

#include <QImage>
#include <QString>
#include <QtGlobal>

namespace tfp::ui {

// The plate's file for a screen of the given pixel ratio.
[[nodiscard]] QString backgroundPictureFile(qreal ratio);

// The plate for a screen of the given pixel ratio: the picture read ahead when there is
// one, otherwise decoded now.
[[nodiscard]] QImage backgroundPicture(qreal ratio);

} // namespace tfp::ui
