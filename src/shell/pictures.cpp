#include "shell/pictures.h"

#include <future>
#include <mutex>
#include <optional>
#include <QFile>
#include <QHash>
#include <QImageReader>
#include <QPixmap>
#include <utility>
#include <vector>

namespace tfp::shell {
namespace {

QImage decodePicture(const QString& path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

// The pictures being read ahead: each path's picture, as the worker finishes it.
struct Preload
{
    std::mutex lock;
    QHash<QString, std::shared_future<QImage>> pictures;
    std::future<void> worker;
};

Preload& preload()
{
    static Preload state;
    return state;
}

std::optional<std::shared_future<QImage>> takePreloaded(const QString& path)
{
    Preload& state = preload();
    const std::lock_guard guard(state.lock);
    const auto found = state.pictures.constFind(path);
    if (found == state.pictures.cend())
        return std::nullopt;
    std::shared_future<QImage> picture = *found;
    state.pictures.erase(found);
    return picture;
}

} // namespace

QImage readPicture(const QString& path)
{
    // Taken once: the worker's copy is not kept beside the caller's.
    if (const auto ahead = takePreloaded(path))
        return ahead->get();
    return decodePicture(path);
}

void preloadPictures(const QStringList& paths)
{
    Preload& state = preload();
    const std::lock_guard guard(state.lock);
    if (!state.pictures.isEmpty())
        return;
    if (state.worker.valid())
        state.worker.wait();
    std::vector<std::pair<QString, std::promise<QImage>>> work;
    work.reserve(static_cast<std::size_t>(paths.size()));
    for (const QString& path : paths) {
        if (state.pictures.contains(path))
            continue;
        std::promise<QImage> promise;
        state.pictures.insert(path, promise.get_future().share());
        work.emplace_back(path, std::move(promise));
    }
    state.worker = std::async(std::launch::async, [work = std::move(work)]() mutable {
        for (auto& [path, promise] : work)
            promise.set_value(decodePicture(path));
    });
}

void discardPreloadedPictures()
{
    Preload& state = preload();
    std::future<void> worker;
    {
        const std::lock_guard guard(state.lock);
        state.pictures.clear();
        worker = std::move(state.worker);
    }
    if (worker.valid())
        worker.wait();
}

QString doubleSizePath(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot < 0 ? path + QStringLiteral("@2x")
                   : path.first(dot) + QStringLiteral("@2x") + path.sliced(dot);
}

QStringList pictureFiles(const QString& path)
{
    QStringList files{path};
    if (QString large = doubleSizePath(path); QFile::exists(large))
        files << large;
    return files;
}

void addPicture(QIcon& icon, const QString& path)
{
    const QStringList files = pictureFiles(path);
    const QImage normal = readPicture(files.constFirst());
    if (normal.isNull())
        return;
    icon.addPixmap(QPixmap::fromImage(normal));
    if (files.size() > 1) {
        QImage twice = readPicture(files.at(1));
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
