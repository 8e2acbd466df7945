// The entries of a new game, their validation, and the confirmation text shown before the
// game file is created.
#pragma once

#include "game/gamerecord.h"
#include "game/interaction.h"

#include <optional>
#include <QString>

namespace tfp {

// The setup entries as they stand in the editors.
struct SetupEntries
{
    QString gameName;
    QString player1;
    QString player2;
    QString turns;
    QString modifier;
    GameType type = GameType::Scenario;
    SecurityMode mode = SecurityMode::Basic;
};

// The limits of the entries, which the editors keep and setupRefusal decides on: the
// longest names, the digits of the two number entries and the range of turns. The
// modifier lies from 0 to one less than the turns.
inline constexpr int kMaxGameNameLength = 100;
inline constexpr int kMaxPlayerNameLength = 50;
inline constexpr int kMaxNumberDigits = 2;
inline constexpr int kMinTurns = 1;
inline constexpr int kMaxTurns = 99;

struct SetupValidation
{
    QString errors; // one line per problem, each ending in CR LF
    bool valid = true;
};

// Tests presence and the two numbers, every rule whatever the others found.
[[nodiscard]] SetupValidation validateGameSetup(const SetupEntries& entries);

// The "Errors encountered:" box for a failed validation.
[[nodiscard]] Message setupErrorMessage(const QString& errors);

// The one decision whether the entries may become a game: the validation's box when it
// found something, otherwise a box naming the first limit they break; nullopt when they
// may. Both front ends call it before anything is asked or written.
[[nodiscard]] std::optional<Message> setupRefusal(const SetupEntries& entries);

// The text that asks the players to confirm the new game's parameters.
[[nodiscard]] QString confirmationText(const SetupEntries& entries);

// True when `text` holds "<" or ">", which no stored value may contain.
[[nodiscard]] bool containsTagCharacters(const QString& text);

// The first control character of `text` (U+0000 to U+001F, U+007F to U+009F: a NUL, a line
// break, an escape ...), which no name or password may hold; empty when it has none.
[[nodiscard]] QString firstControlCharacter(const QString& text);

// A name or password as it is kept: composed (NFC), so that a letter typed as a base letter
// and a combining mark ("e" and U+0301) is kept as the one character Windows-1252 has ("é").
[[nodiscard]] QString composedEntry(const QString& text);

} // namespace tfp
