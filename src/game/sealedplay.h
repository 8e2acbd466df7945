// The moves of a Sealed game on one computer: create, join, verify an opened file against
// this computer's key, and check a turn. Each works on a record and a key folder and writes
// no game file; the caller saves the record.
#pragma once

#include "game/gamerecord.h"
#include "game/interaction.h"
#include "game/sealed.h"
#include "game/sealedkeys.h"

#include <optional>
#include <QRandomGenerator>

namespace tfp::sealed {

// What this computer may do with a Sealed game.
enum class Role
{
    Check,        // this computer's player checks the next turn
    WaitForOther, // the other player checks next (or must join)
    OfferJoin,    // no key here and the game waits for player #2: this computer may join
    NoKey,        // no key here for a game already joined: it can only be shown
    Over,         // the battle is over
};

struct Standing
{
    State state;
    std::optional<Key> key;  // this computer's key, pinned to what it has now seen
    bool keyChanged = false; // the key pins something new and must be written
    QString keyPath;
    Role role = Role::NoKey;
};

// Re-derives the game from the file, then, with this computer's key, checks that the seed
// gives this player's commitment, that the setup and the pinned commitments are the same,
// and that no fewer turns are checked than this computer has seen. On failure `problem`
// names what is wrong.
[[nodiscard]] bool verifyGame(const GameRecord& record, const QString& keyFolder,
                              Standing& standing, QString& problem);

// Writes the key of a verified game when it pins something new.
[[nodiscard]] bool pinKey(const QString& keyFolder, const Standing& standing, QString& problem);

// Makes a new game Sealed for player #1: its id and seed are drawn, the key file is written,
// and the record receives the commitment. The record must hold the setup already.
[[nodiscard]] bool createGame(GameRecord& record, const QString& keyFolder, QString& problem,
                              QRandomGenerator& random = *QRandomGenerator::system());

// Joins a created game as player #2: a seed is drawn (or the one of an earlier join whose save
// failed is taken again), the key file is written, and the record receives player #2's
// commitment and first value. Refused when the game does not wait for a join or player #1's
// key is on this computer.
[[nodiscard]] bool joinGame(GameRecord& record, const QString& keyFolder, QString& problem,
                            QRandomGenerator& random = *QRandomGenerator::system());

// Checks the next turn for this computer's player (standing.role must be Check): the record
// receives the result and this player's next value. Returns whether the battle ended.
[[nodiscard]] bool checkTurn(GameRecord& record, const Standing& standing);

// The title of a Sealed game's boxes, and the box for a game or key that does not add up,
// naming what is wrong.
[[nodiscard]] QString messageTitle();
[[nodiscard]] Message refusalMessage(const QString& problem);

// After the checked game was saved: this computer has seen one more turn checked.
void noteChecked(const QString& keyFolder, Standing& standing, const GameRecord& record);

} // namespace tfp::sealed
