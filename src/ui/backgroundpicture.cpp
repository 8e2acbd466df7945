#include "ui/backgroundpicture.h"

#include "shell/pictures.h"

#include <future>
#include <mutex>
#include <QString>

namespace tfp::ui {
namespace {

QString pictureFile(qreal ratio)
{
    return ratio > 1.0 ? QStringLiteral(":/images/background@2x.png")
                       : QStringLiteral(":/images/background.png");
}

struct Preload
{
    std::mutex lock;
    std::future<QImage> picture; // the normal-size plate, while it is being decoded
};

Preload& preload()
{
    static Preload state;
    return state;
}

} // namespace

void preloadBackgroundPicture()
{
    Preload& state = preload();
    const std::lock_guard guard(state.lock);
    if (!state.picture.valid())
        state.picture =
            std::async(std::launch::async, [] { return shell::readPicture(pictureFile(1.0)); });
}

QImage backgroundPicture(qreal ratio)
{
    Preload& state = preload();
    {
        const std::lock_guard guard(state.lock);
        if (state.picture.valid()) {
            // Taken once: the worker's picture is not kept beside the window's own copy.
            QImage ahead = state.picture.get();
            if (ratio <= 1.0 && !ahead.isNull())
                return ahead;
        }
    }
    return shell::readPicture(pictureFile(ratio));
}

} // namespace tfp::ui
