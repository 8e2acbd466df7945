// One press of Check Turn: advance the turn, save the game, say whether the battle is over;
// in a Secure game, then hand the file to the other player.
#pragma once

#include "game/gamerecord.h"
#include "game/interaction.h"
#include "game/sealedkeys.h"
#include "game/views.h"

#include <QDateTime>

namespace tfp {

enum class CheckResult
{
    Skipped,          // a game type the check does not know: nothing happens
    NotEnding,        // "This is NOT the ending turn."
    EndingReached,    // "BATTLE OVER - CEASE FIRE!"
    AlreadyOver,      // the battle was over before the press
    SaveFailed,       // the game file could not be written, so the turn does not count
    ChangedElsewhere, // another copy wrote the file since this one read it, or it has gone;
                      // nothing written
    Refused,          // a Sealed game that no longer adds up, or not this computer's turn
};

struct CheckOutcome
{
    CheckResult result = CheckResult::Skipped;
    GameView view; // what the window shows after the press, hand-over line included
    SoundCue sound = SoundCue::None;
    bool saved = false;
};

// The check itself. A check of a game type it does not know is skipped, the game shown as
// opened. A failed save shows the save error, leaves CurrentTurn as it was and reveals
// nothing. A file that another copy of the program wrote since this one read it is
// left alone, and one deleted or moved away is not written anew: the player is told to open it
// again and the record goes back to how the check found it, shown as an opened game. In a Secure
// game the holder's turn marker records the checked turn. A Sealed game is verified again with this
// computer's key in `keyFolder`, and the turn is decided by both players' values.
[[nodiscard]] CheckOutcome checkTurn(GameRecord& record, Interaction& interaction,
                                     const QDateTime& now = QDateTime::currentDateTime(),
                                     const QString& keyFolder = sealed::defaultKeyFolder());

// The Check Turn command: the check, then in a Secure or Sealed game the hand-over to the
// other player ("Send File").
[[nodiscard]] CheckOutcome checkTurnCommand(GameRecord& record, Interaction& interaction,
                                            const QDateTime& now = QDateTime::currentDateTime(),
                                            const QString& keyFolder = sealed::defaultKeyFolder());

} // namespace tfp
