// A player's key file for a Sealed game: the seed of their chain, which never leaves their
// computer, and what this computer has seen of the game (its setup, both commitments, the
// most turns checked), since anything in the game file can be rewritten by the other player.
#pragma once

#include "game/gamerecord.h"

#include <QByteArray>
#include <QString>

namespace tfp::sealed {

struct Key
{
    QByteArray game;
    int player = 0;
    QByteArray seed;
    QByteArray setup;   // setupDigest of the game
    QByteArray commit1; // pinned when this computer first sees it
    QByteArray commit2; // empty until this computer first sees it
    int checked = 0;    // the most window turns this computer has seen checked

    friend bool operator==(const Key&, const Key&) = default;
};

// The per-user folder of key files: the data folder's "sealed-keys"; empty when the user has
// no data folder (then no key is found, and none can be written).
[[nodiscard]] QString defaultKeyFolder();

// `folder`/<game id in hex>.key
[[nodiscard]] QString keyPath(const QString& folder, const QByteArray& game);

// H over the game's name, players, turns, modifier and type, its id and player #1's
// commitment: what no check may change.
[[nodiscard]] QByteArray setupDigest(const GameRecord& record, const QByteArray& game,
                                     const QByteArray& commit1);

enum class KeyRead
{
    Found,
    Missing,
    Unreadable, // problem says why
};
[[nodiscard]] KeyRead readKey(const QString& folder, const QByteArray& game, Key& key,
                              QString& problem);

// Writes the key atomically, the folder readable by its owner only and the file by its owner
// only (on POSIX: 0700 and 0600).
[[nodiscard]] bool writeKey(const QString& folder, const Key& key, QString& problem);

} // namespace tfp::sealed
