// The player passwords of a Secure game: choosing one, typing it, and the hand-over of the
// file from one player to the other.
#pragma once

#include "game/gamerecord.h"
#include "game/interaction.h"

namespace tfp {

inline constexpr int kMaxPasswordLength = 20;

// Why a typed password cannot be taken (a control character, a character the game file
// cannot give back as typed, empty, too long, or a tag character); empty when it can. The
// window and the terminal program both ask it. The password kept is the composed one.
[[nodiscard]] QString passwordRefusal(const QString& typed);

// "Player #1" or "Player #2".
[[nodiscard]] QString playerLabel(int player);

// Asks the player to choose a password and stores it, composed; false when none was given.
bool setPlayerPassword(const QString& name, QString& password, const QString& label,
                       Interaction& interaction);

// Asks the player to type the password; returns what was typed, trimmed and composed.
[[nodiscard]] QString askPlayerPassword(const QString& name, const QString& label,
                                        Interaction& interaction);

// When the current player of a Secure game has no password, asks for one; true when it
// asked, whether or not a password was chosen.
bool ensurePlayerPassword(GameRecord& record, Interaction& interaction);

// Asks the current player for the password; on a mismatch shows the message and returns
// false.
[[nodiscard]] bool verifyPlayerPassword(const GameRecord& record, Interaction& interaction);

[[nodiscard]] Message passwordMismatchMessage();

// A Secure game never goes on without the holder's password: when the prompt ended with
// none (the terminal's input ran out, say), the game is neither saved nor opened.
enum class PasswordNeededFor
{
    NewGame,
    Opening
};
[[nodiscard]] Message noPasswordChosenMessage(PasswordNeededFor what);

// The opener takes the file: CurrentPlayer and DestinationPlayer change places.
void swapPlayers(GameRecord& record);

} // namespace tfp
