// What the window and the terminal program show of a game: the status panel and the large
// command button after an opening, a creation or a check, and the hand-over line of a Secure
// game. The rules return these views; the front ends render them as they are.
#pragma once

#include "game/gamerecord.h"
#include "game/sealedplay.h"

#include <optional>
#include <QString>

namespace tfp {

enum class StatusColour
{
    Green,
    Yellow,
    Red
};

// The traffic-light pictures of the command button (their resource numbers).
enum class Light
{
    Green = 101,
    Yellow = 102,
    Red = 103
};

enum class SoundCue
{
    None,
    Event,
    NextTurn,
    EndGame
};

struct StatusView
{
    QString title;
    QString message; // lines joined by CR LF
    StatusColour colour = StatusColour::Green;

    friend bool operator==(const StatusView&, const StatusView&) = default;
};

struct ButtonView
{
    QString caption;
    bool enabled = false;
    std::optional<Light> picture; // nullopt: the picture stays as it is

    friend bool operator==(const ButtonView&, const ButtonView&) = default;
};

// The status panel and the large button together: everything a rule changes in the window.
struct GameView
{
    StatusView status;
    ButtonView button;

    friend bool operator==(const GameView&, const GameView&) = default;
};

// A Secure game's holder may check when they have never checked, or last checked an earlier
// turn than the one now reached: nobody checks twice in a row. A Basic game may always be
// checked until the battle is over.
[[nodiscard]] bool holderMayCheck(const GameRecord& record);

// A game that has just been opened: over, ready for the next check, or waiting for the other
// player's check.
[[nodiscard]] GameView openedGameView(const GameRecord& record);

// A Secure game opened while its hand-over (the opener's new password, the draw) could not be
// saved: shown as opened, titled so that the player knows the file does not hold it yet.
[[nodiscard]] GameView handOverNotSavedView(const GameRecord& record);

// A Sealed game as this computer's player may play it: ready for their check, waiting for the
// other player's check or join, or shown without a key here.
[[nodiscard]] GameView sealedGameView(const GameRecord& record, const sealed::Standing& standing);

// A Sealed check refused because the game no longer adds up or is not this computer's to check.
[[nodiscard]] GameView sealedCheckRefusedView(const GameRecord& record);

// A game that has just been saved for the first time (a Sealed game also just after its join).
[[nodiscard]] GameView createdGameView(const GameRecord& record);

// A check that has just been saved: the turn reached, not the ending one or the ending one.
[[nodiscard]] GameView checkedTurnView(const GameRecord& record);

// A check pressed after the battle was over.
[[nodiscard]] GameView alreadyOverView(const GameRecord& record);

// A check whose save failed, so the turn after CurrentTurn was not checked.
[[nodiscard]] GameView turnNotCheckedView(const GameRecord& record);

// A Secure game after its check: the hand-over line below the status message and the button
// turned into a disabled "Send File".
[[nodiscard]] GameView handedOverView(const GameView& checked, const GameRecord& record);

// "Ben, send this file to player #1."
[[nodiscard]] QString handOverLine(const GameRecord& record);

} // namespace tfp
