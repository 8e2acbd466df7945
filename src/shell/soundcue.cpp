#include "shell/soundcue.h"

#include "shell/settingsstore.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <string>

#if defined(Q_OS_WIN)
#include <qt_windows.h>
// After the Windows types it is written in.
#include <mmsystem.h>
#elif defined(Q_OS_LINUX)
#include <cstdint>
#include <dlfcn.h>
#endif

#ifndef TFP_DATADIR
#define TFP_DATADIR ""
#endif

namespace tfp::shell {
namespace {

SoundPlayer*& testPlayer()
{
    static SoundPlayer* player = nullptr;
    return player;
}

QString fileNameOf(tfp::SoundCue cue)
{
    switch (cue) {
    case tfp::SoundCue::Event:
        return QStringLiteral("Event.wav");
    case tfp::SoundCue::NextTurn:
        return QStringLiteral("NextTurn.wav");
    case tfp::SoundCue::EndGame:
        return QStringLiteral("EndGame.wav");
    case tfp::SoundCue::None:
        break;
    }
    return {};
}

#if defined(Q_OS_WIN)

class PlatformPlayer final : public SoundPlayer
{
public:
    void play(const QString& path) override
    {
        const std::wstring name = QDir::toNativeSeparators(path).toStdWString();
        PlaySoundW(name.c_str(), nullptr, SND_FILENAME | SND_NOWAIT | SND_ASYNC);
    }
};

#elif defined(Q_OS_LINUX)

// libcanberra, the freedesktop library for event sounds, loaded when the first cue plays
// so that neither start-up nor the build depends on it.
class PlatformPlayer final : public SoundPlayer
{
public:
    PlatformPlayer()
    {
        m_library = dlopen("libcanberra.so.0", RTLD_LAZY | RTLD_LOCAL);
        if (!m_library)
            return;
        m_create = reinterpret_cast<CreateFn>(dlsym(m_library, "ca_context_create"));
        m_play = reinterpret_cast<PlayFn>(dlsym(m_library, "ca_context_play"));
        m_cancel = reinterpret_cast<CancelFn>(dlsym(m_library, "ca_context_cancel"));
        m_destroy = reinterpret_cast<DestroyFn>(dlsym(m_library, "ca_context_destroy"));
        if (!m_create || !m_play || !m_cancel || !m_destroy || m_create(&m_context) != 0)
            m_context = nullptr;
    }
    ~PlatformPlayer() override
    {
        // The library stays loaded: its sound-server threads may outlive the context.
        if (m_context)
            m_destroy(m_context);
    }
    PlatformPlayer(const PlatformPlayer&) = delete;
    PlatformPlayer& operator=(const PlatformPlayer&) = delete;

    void play(const QString& path) override
    {
        if (!m_context) {
            QApplication::beep();
            return;
        }
        m_cancel(m_context, kCueId);
        const QByteArray file = QFile::encodeName(path);
        const bool played =
            QFileInfo::exists(path) &&
            m_play(m_context, kCueId, "media.filename", file.constData(), "application.name",
                   kApplicationName, static_cast<const char*>(nullptr)) == 0;
        if (!played) {
            m_play(m_context, kCueId, "event.id", "bell", "application.name", kApplicationName,
                   static_cast<const char*>(nullptr));
        }
    }

private:
    struct ca_context;
    using CreateFn = int (*)(ca_context**);
    using PlayFn = int (*)(ca_context*, std::uint32_t, ...);
    using CancelFn = int (*)(ca_context*, std::uint32_t);
    using DestroyFn = int (*)(ca_context*);

    // One id for every cue, so that a new cue cancels the one playing.
    static constexpr std::uint32_t kCueId = 1;
    static constexpr char kApplicationName[] = "Torva Fogline Turnpicker";

    void* m_library = nullptr;
    ca_context* m_context = nullptr;
    CreateFn m_create = nullptr;
    PlayFn m_play = nullptr;
    CancelFn m_cancel = nullptr;
    DestroyFn m_destroy = nullptr;
};

#else

class PlatformPlayer final : public SoundPlayer
{
public:
    void play(const QString& path) override
    {
        Q_UNUSED(path);
        QApplication::beep();
    }
};

#endif

SoundPlayer& player()
{
    if (SoundPlayer* player = testPlayer())
        return *player;
    static PlatformPlayer platform;
    return platform;
}

} // namespace

QString soundFilePath(tfp::SoundCue cue)
{
    const QString name = fileNameOf(cue);
    if (name.isEmpty())
        return {};
    const QString besideProgram =
        QCoreApplication::applicationDirPath() + QStringLiteral("/Sounds/") + name;
    QStringList candidates = {besideProgram};
#ifdef Q_OS_MACOS
    candidates.append(QCoreApplication::applicationDirPath() +
                      QStringLiteral("/../Resources/Sounds/") + name);
#endif
    if (const QString dataDir = QStringLiteral(TFP_DATADIR); !dataDir.isEmpty())
        candidates.append(dataDir + QStringLiteral("/turnpicker/Sounds/") + name);
    for (const QString& candidate : std::as_const(candidates)) {
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    }
    return besideProgram;
}

void playSoundCue(tfp::SoundCue cue)
{
    if (!settingsFlags().PlaySounds || cue == tfp::SoundCue::None)
        return;
    player().play(soundFilePath(cue));
}

void setSoundPlayerForTesting(SoundPlayer* player)
{
    testPlayer() = player;
}

} // namespace tfp::shell
