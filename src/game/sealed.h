// Sealed play: the ending turn decided turn by turn by commit-and-reveal over two hash chains,
// so that neither player can read, choose or fake a result even with this source in hand.
// These are the protocol's exact steps; a game file holds everything needed to verify it.
#pragma once

#include "game/gamerecord.h"

#include <optional>
#include <QByteArray>
#include <QString>

namespace tfp::sealed {

inline constexpr int kGameIdBytes = 16;
inline constexpr int kSeedBytes = 32;
inline constexpr int kValueBytes = 32; // a SHA-256 digest
inline constexpr char kTurnLabel[] = "TFP-SEALED-TURN";

// The turns on which the battle may end: window turn k (1..width) is game turn lowest + k - 1.
struct Window
{
    int lowest = 0;
    int width = 0;

    friend bool operator==(const Window&, const Window&) = default;
};

// The window of a setup: turns 1 to 99, modifier 0 to turns - 1, a known type; else nullopt.
[[nodiscard]] std::optional<Window> endingWindow(qint16 turns, qint16 modifier, GameType type);

// The weight w_k of window turn k (1 at both ends, 2 between; 1 for a one-turn window), and
// S_k, the sum of the weights from k to the last turn.
[[nodiscard]] int turnWeight(int k, int width);
[[nodiscard]] int weightFrom(int k, int width);

[[nodiscard]] QByteArray hash(const QByteArray& bytes);
[[nodiscard]] QByteArray hashTimes(QByteArray value, int times);

// v[index] of the chain of `seed`: v[width] = H(seed), v[k - 1] = H(v[k]); v[0] is the
// commitment.
[[nodiscard]] QByteArray chainValue(const QByteArray& seed, int index, int width);

// r_k = H(label || game || commit1 || commit2 || k as 2 bytes big-endian || v1[k] || v2[k]).
[[nodiscard]] QByteArray turnValue(const QByteArray& game, const QByteArray& commit1,
                                   const QByteArray& commit2, int k, const QByteArray& value1,
                                   const QByteArray& value2);

// One draw of the decision: with u the first 8 bytes of a turn value (big-endian), nullopt
// when u lies at or above the largest multiple of `sum` below 2^64 (the value is hashed again),
// otherwise whether u mod sum < weight.
[[nodiscard]] std::optional<bool> decideDraw(quint64 u, quint64 sum, quint64 weight);

// Whether window turn k ends the battle, from its turn value.
[[nodiscard]] bool turnEnds(QByteArray turnValue, int k, int width);

// A player's latest revealed chain value and its index ("k:" and 64 hex digits in the file).
struct Reveal
{
    int index = 0;
    QByteArray value;

    friend bool operator==(const Reveal&, const Reveal&) = default;
};
[[nodiscard]] QString revealText(const Reveal& reveal);
[[nodiscard]] std::optional<Reveal> readReveal(const QString& text);

// Lower-case hexadecimal of exactly `bytes` bytes, or nullopt.
[[nodiscard]] std::optional<QByteArray> readHex(const QString& text, int bytes);
[[nodiscard]] QString hexText(const QByteArray& bytes);

// Where a Sealed game stands, as re-derived from its file.
enum class Stage
{
    Created, // player #1 committed; waiting for player #2 to join
    GoingOn, // player #2 joined (no turn checked yet) or turns checked, none the last
    Over,    // the last checked turn ended the battle
};

struct State
{
    Window window;
    QByteArray game;
    QByteArray commit1;
    QByteArray commit2;
    Reveal reveal1; // index 0 and the commitment while player #1 has revealed nothing
    Reveal reveal2;
    Stage stage = Stage::Created;
    int checked = 0; // window turns checked

    // The player who acts next: 2 to join, then the checker of the next turn; kNoPlayer when
    // the battle is over.
    [[nodiscard]] int nextPlayer() const;
    // The player who saved the file last.
    [[nodiscard]] int lastPlayer() const;
    // Game turn of window turn k.
    [[nodiscard]] qint16 gameTurn(int k) const { return qint16(window.lowest + k - 1); }
};

// The player who checks window turn k: #1 the odd turns, #2 the even ones.
[[nodiscard]] inline int checkerOf(int k)
{
    return k % 2 == 1 ? 1 : 2;
}

// Re-derives a Sealed game from its record alone: every element well formed, every reveal
// hashing to its commitment in exactly its number of steps, the recomputed results of the
// checked turns, and the turn counter, ending turn, markers and players agreeing with them.
// On failure `problem` names what is wrong.
[[nodiscard]] bool readState(const GameRecord& record, State& state, QString& problem);

// True when the record holds any of the Sealed elements.
[[nodiscard]] bool hasSealedElements(const GameRecord& record);

// Writes the fields that follow from `state` (turn counter, ending turn, markers, players and
// the Sealed elements) into the record.
void applyState(const State& state, GameRecord& record);

} // namespace tfp::sealed
