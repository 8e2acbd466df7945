#include "game/opening.h"

#include "appversion.h"
#include "game/draw.h"
#include "game/gamefile.h"
#include "game/passwords.h"
#include "game/turncheck.h"
#include "game/versions.h"

namespace tfp {

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
                         const QDateTime& now)
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
