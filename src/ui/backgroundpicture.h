// The main window's background plate, which can be decoded ahead on a worker thread while
// the program starts (it is the largest picture the first window needs).
#pragma once

#include <QImage>
#include <QtGlobal>

namespace tfp::ui {

// Starts decoding the plate at its normal size on a worker thread. Safe to call before the
// application object exists; calling it again does nothing.
void preloadBackgroundPicture();

// The plate for a screen of the given pixel ratio: the preloaded picture when it was started
// and fits the screen (waiting for it if need be), otherwise decoded now.
[[nodiscard]] QImage backgroundPicture(qreal ratio);

} // namespace tfp::ui
