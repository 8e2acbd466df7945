#include "game/opening.h"

#include "game/draw.h"
#include "game/gamestore.h"
#include "game/passwords.h"
#include "game/versions.h"

namespace tfp {

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
    outcome.checkAllowed = holderMayCheck(record);
    outcome.view =
        outcome.handOverSaveFailed ? handOverNotSavedView(record) : openedGameView(record);
    return outcome;
}

} // namespace tfp
