#include "game/opening.h"

#include "appversion.h"
#include "game/draw.h"
#include "game/gamefile.h"
#include "game/passwords.h"
#include "game/turncheck.h"
#include "game/versions.h"

#include <QDir>

namespace tfp {
namespace {

Message joinQuestion(const GameRecord& r)
{
    return {sealed::messageTitle(),
            QStringLiteral("'%1' is a sealed game waiting for player #2 to join.\r\n\r\nJoin it "
                           "as player #2, %2, on this computer?")
                .arg(r.GameName, r.Player2Name),
            MessageIcon::Question};
}

Message unknownModeMessage(SecurityMode mode)
{
    const QString reason =
        mode == SecurityMode::Sealed
            ? QStringLiteral("it is marked as a sealed game but holds none of a sealed game's "
                             "values")
            : QStringLiteral("its security mode (%1) is not one this version of the program "
                             "knows")
                  .arg(int(mode));
    return {QLatin1String(appinfo::kProductName),
            QStringLiteral("The game file cannot be opened: %1.").arg(reason)};
}

Message noKeyMessage(const GameRecord& r, const QString& keyPath)
{
    return {sealed::messageTitle(),
            QStringLiteral("This computer holds no player's key for the sealed game '%1', so the "
                           "game can be shown but no turn checked here.\r\n\r\nEach player's "
                           "key stays on the computer where they created or joined the game. "
                           "To play on this computer, copy the key file here:\r\n%2")
                .arg(r.GameName, QDir::toNativeSeparators(keyPath))};
}

// What the window shows of a Sealed game for this computer's player.
void describeSealedGame(OpenOutcome& outcome, const sealed::Standing& standing)
{
    const GameRecord& r = outcome.record;
    const int next = r.CurrentTurn + 1;
    const QString loaded = QStringLiteral("Game File Loaded");
    outcome.sealedRole = standing.role;
    outcome.checkAllowed = standing.role == sealed::Role::Check;
    outcome.button =
        ButtonView{QStringLiteral("Check Turn %1").arg(next), outcome.checkAllowed, Light::Yellow};
    const int player = standing.key ? standing.key->player : kNoPlayer;
    const QString name = player == kNoPlayer ? QString() : playerName(r, player);
    QString message;
    switch (standing.role) {
    case sealed::Role::Over:
        describeOpenedGame(outcome);
        return;
    case sealed::Role::Check:
        message = name + QStringLiteral(", press 'Check Turn' starting on turn %1").arg(next);
        break;
    case sealed::Role::WaitForOther:
        if (standing.state.stage == sealed::Stage::Created) {
            message = handOverLine(r);
            outcome.button = ButtonView{QStringLiteral("Send File"), false, Light::Red};
        } else {
            message = name + QStringLiteral(", player #%1 needs to check turn %2")
                                 .arg(otherPlayer(player))
                                 .arg(next);
        }
        break;
    case sealed::Role::OfferJoin:
        message = QStringLiteral("Player #2, %1, has not joined this game yet.").arg(r.Player2Name);
        break;
    case sealed::Role::NoKey:
        message = QStringLiteral("This computer holds no player's key for this game.");
        break;
    }
    outcome.view = StatusView{loaded, message, StatusColour::Yellow};
}

// Verifies a Sealed game against this computer's key, joins it when asked to, and describes
// it; on a refusal the message has been shown and nothing is written.
void openSealedGame(OpenOutcome& outcome, Interaction& interaction, const OpenOptions& options,
                    const QDateTime& now)
{
    GameRecord& record = outcome.record;
    const auto refuse = [&](const QString& problem) {
        interaction.showMessage(sealed::refusalMessage(problem));
        outcome.status = OpenStatus::Refused;
    };
    sealed::Standing standing;
    QString problem;
    if (!sealed::verifyGame(record, options.keyFolder, standing, problem))
        return refuse(problem);
    const bool join = options.join == JoinOffer::Join ||
                      (options.join == JoinOffer::Ask && standing.role == sealed::Role::OfferJoin &&
                       interaction.askQuestion(joinQuestion(record)));
    if (join) {
        GameRecord joined = record;
        if (!sealed::joinGame(joined, options.keyFolder, problem))
            return refuse(problem);
        FileErrorInfo error;
        switch (saveDataIfUnchanged(joined, error, now)) {
        case GuardedSave::ChangedElsewhere:
            interaction.showMessage(changedElsewhereMessage(record.FilePath));
            outcome.status = OpenStatus::ChangedElsewhere;
            return;
        case GuardedSave::Failed:
            // The key stays: a later join takes the same seed again.
            interaction.showMessage(
                fileErrorMessage(FileAction::Save, record.FilePath, error.Description));
            outcome.status = OpenStatus::Refused;
            return;
        case GuardedSave::Saved:
            break;
        }
        record = joined;
        outcome.joined = true;
        outcome.sealedRole = sealed::Role::WaitForOther;
        outcome.status = OpenStatus::Opened;
        outcome.view = StatusView{QStringLiteral("Game File Saved"), handOverLine(record),
                                  StatusColour::Yellow};
        outcome.button = ButtonView{QStringLiteral("Send File"), false, Light::Red};
        return;
    }
    if (!sealed::pinKey(options.keyFolder, standing, problem))
        return refuse(problem);
    if (standing.role == sealed::Role::NoKey)
        interaction.showMessage(noKeyMessage(record, standing.keyPath));
    outcome.status = OpenStatus::Opened;
    describeSealedGame(outcome, standing);
}

} // namespace

void describeOpenedGame(OpenOutcome& outcome)
{
    const GameRecord& r = outcome.record;
    const int next = r.CurrentTurn + 1;
    const QString checkCaption = QStringLiteral("Check Turn %1").arg(next);
    outcome.checkAllowed = false;
    if (isBattleOver(r)) {
        outcome.button = ButtonView{QStringLiteral("Battle Over"), false, Light::Red};
        outcome.view = StatusView{QStringLiteral("Turn #%1").arg(r.CurrentTurn),
                                  QStringLiteral("The battle is already over!"), StatusColour::Red};
        return;
    }
    const QString loaded = QStringLiteral("Game File Loaded");
    if (r.SecurityMode != SecurityMode::Secure) {
        outcome.checkAllowed = true;
        outcome.button = ButtonView{checkCaption, true, Light::Yellow};
        outcome.view =
            StatusView{loaded, QStringLiteral("Press 'Check Turn' starting on turn %1").arg(next),
                       StatusColour::Yellow};
        return;
    }
    const int player = holder(r);
    const qint16 marker = playerLastTurn(r, player);
    // A holder may check when they have never checked, or last checked an earlier turn
    // than the one now reached: nobody checks twice in a row.
    outcome.checkAllowed = marker == 0 || marker < r.CurrentTurn;
    outcome.button = ButtonView{checkCaption, outcome.checkAllowed, Light::Yellow};
    const QString name = playerName(r, player);
    outcome.view.title = loaded;
    outcome.view.colour = StatusColour::Yellow;
    if (outcome.checkAllowed) {
        outcome.view.message =
            name + QStringLiteral(", press 'Check Turn' starting on turn %1").arg(next);
    } else {
        outcome.view.message = name + QStringLiteral(", player #%1 needs to check turn %2")
                                          .arg(otherPlayer(player))
                                          .arg(next);
    }
}

OpenOutcome openGameFile(const QString& path, Interaction& interaction, QRandomGenerator& random,
                         const QDateTime& now, const OpenOptions& options)
{
    OpenOutcome outcome;
    GameRecord& record = outcome.record;
    record.FilePath = path;

    FileErrorInfo error;
    if (!getData(record, error)) {
        interaction.showMessage(fileErrorMessage(FileAction::Open, path, error.Description));
        outcome.status = OpenStatus::ReadFailed;
        return outcome;
    }
    if (!isSupportedFileVersion(record, interaction)) {
        outcome.status = OpenStatus::VersionRefused;
        return outcome;
    }
    // A mode this version does not know is never played as another.
    if (quint8(record.SecurityMode) > quint8(SecurityMode::Sealed) ||
        (record.SecurityMode == SecurityMode::Sealed && !sealed::hasSealedElements(record))) {
        interaction.showMessage(unknownModeMessage(record.SecurityMode));
        outcome.status = OpenStatus::Refused;
        return outcome;
    }
    if (record.SecurityMode == SecurityMode::Sealed || sealed::hasSealedElements(record)) {
        openSealedGame(outcome, interaction, options, now);
        return outcome;
    }

    if (record.SecurityMode == SecurityMode::Secure) {
        swapPlayers(record);
        if (ensurePlayerPassword(record, interaction)) {
            if (playerPassword(record, holder(record)).isEmpty()) {
                interaction.showMessage(noPasswordChosenMessage(PasswordNeededFor::Opening));
                outcome.status = OpenStatus::PasswordRefused;
                return outcome;
            }
            if (record.EndingTurn == -1)
                record.EndingTurn =
                    drawEndingTurn(record.TotalTurns, record.TurnVariance, record.GameType, random);
            const GuardedSave save = saveDataIfUnchanged(record, error, now);
            if (save == GuardedSave::ChangedElsewhere) {
                interaction.showMessage(changedElsewhereMessage(path));
                outcome.status = OpenStatus::ChangedElsewhere;
                return outcome;
            }
            if (save == GuardedSave::Failed) {
                outcome.handOverSaveFailed = true;
                interaction.showMessage(
                    fileErrorMessage(FileAction::Save, path, error.Description));
            }
        } else if (!verifyPlayerPassword(record, interaction)) {
            outcome.status = OpenStatus::PasswordRefused;
            return outcome;
        }
    }

    outcome.status = OpenStatus::Opened;
    describeOpenedGame(outcome);
    return outcome;
}

} // namespace tfp
