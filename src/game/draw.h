// The secret draw of the ending turn, and the sentence that tells the players the window
// of turns in which the battle can end.
#pragma once

#include "game/gamerecord.h"

#include <QRandomGenerator>
#include <QString>

namespace tfp {

// Draws the ending turn: at most `modifier` turns before `totalTurns` in a scenario, before
// or after it in a quick battle; 0 for an unknown game type. The system's random source
// unless a test passes its own generator.
[[nodiscard]] qint16 drawEndingTurn(qint16 totalTurns, qint16 modifier, GameType type,
                                    QRandomGenerator& random = *QRandomGenerator::system());

// True when every turn the draw can give for these numbers is a 16-bit turn number.
[[nodiscard]] bool endingWindowFits(qint16 totalTurns, qint16 modifier, GameType type);

// The tail of "Your game will end between turn ...".
[[nodiscard]] QString describeEndingRange(qint16 totalTurns, qint16 modifier, GameType type);

} // namespace tfp
