// The three short sounds of the program (a command, a turn that is not the last, the end
// of the battle), played without waiting when the PlaySounds option is on.
#pragma once

#include "game/views.h"

#include <QString>

namespace tfp::shell {

// Plays one sound file without blocking; a new sound cuts off the one playing, and a
// missing file plays the platform's default sound. Reports nothing.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const QString& path) = 0;
};

// Plays the cue when the PlaySounds flag is on; SoundCue::None plays nothing.
void playSoundCue(tfp::SoundCue cue);

// The cue's file in "Sounds" beside the program, or else in the installed data folder;
// when neither holds it, the path beside the program. Empty for SoundCue::None.
[[nodiscard]] QString soundFilePath(tfp::SoundCue cue);

// Test seam: the player every cue goes to; nullptr restores the platform's player.
void setSoundPlayerForTesting(SoundPlayer* player);

} // namespace tfp::shell
