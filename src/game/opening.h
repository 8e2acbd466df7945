// Opening a game file: read it, refuse other versions, carry out the Secure hand-over with
// its passwords (and, the first time, the draw and its save), and say what the window
// shows for the next check. Both front ends open games through this one operation.
#pragma once

#include "game/gamerecord.h"
#include "game/interaction.h"
#include "game/sealedplay.h"
#include "game/views.h"

#include <QDateTime>
#include <QRandomGenerator>

namespace tfp {

enum class OpenStatus
{
    Opened,           // the game is in `record`, ready to show
    ReadFailed,       // unreadable or refused file; the message has been shown
    VersionRefused,   // another version's file; the message has been shown
    PasswordRefused,  // wrong password, or none chosen; the message has been shown
    ChangedElsewhere, // another copy wrote the file during the hand-over, or it has gone;
                      // nothing written
    Refused,          // a sealed game that does not add up, a join that cannot be made, or a
                      // security mode this version does not know; the message has been shown
};

// What an opening does with a Sealed game that waits for player #2 and has no key here.
enum class JoinOffer
{
    Ask,   // asks whether to join (the window)
    Join,  // joins, or says why it cannot (the terminal's join command)
    Never, // shows it as it is (the terminal's check)
};

struct OpenOptions
{
    QString keyFolder = sealed::defaultKeyFolder(); // this computer's Sealed keys
    JoinOffer join = JoinOffer::Ask;
};

struct OpenOutcome
{
    OpenStatus status = OpenStatus::ReadFailed;
    GameRecord record;         // the opened game, when status is Opened
    GameView view;             // what the window shows of it
    bool checkAllowed = false; // the holder may press Check Turn now
    // The Secure hand-over (the opener's new password, the draw) could not be saved: the save
    // error has been shown, and the game is shown titled "Game File Not Saved". Its next check
    // saves the whole game, or fails and counts nothing.
    bool handOverSaveFailed = false;
    std::optional<sealed::Role> sealedRole; // a Sealed game: what this computer may do
};

// Opens the game file at `path`. Nothing of a refused file is kept: the caller adopts
// `record` only when the status is Opened.
[[nodiscard]] OpenOutcome openGameFile(const QString& path, Interaction& interaction,
                                       QRandomGenerator& random = *QRandomGenerator::system(),
                                       const QDateTime& now = QDateTime::currentDateTime(),
                                       const OpenOptions& options = {});

} // namespace tfp
