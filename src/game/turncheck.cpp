#include "game/turncheck.h"

#include "game/gamestore.h"
#include "game/sealedplay.h"

namespace tfp {

CheckOutcome checkTurn(GameRecord& record, Interaction& interaction, const QDateTime& now,
                       const QString& keyFolder)
{
    CheckOutcome outcome;
    if (record.GameType != GameType::Scenario && record.GameType != GameType::QuickBattle) {
        outcome.view = openedGameView(record);
        return outcome;
    }

    if (isBattleOver(record)) {
        outcome.result = CheckResult::AlreadyOver;
        outcome.view = alreadyOverView(record);
        return outcome;
    }

    const GameRecord before = record;
    const bool isSealed = record.SecurityMode == SecurityMode::Sealed;
    sealed::Standing standing;
    if (isSealed) {
        // The file may have changed, and so may this computer's key, since the opening.
        QString problem;
        if (!sealed::verifyGame(record, keyFolder, standing, problem) ||
            standing.role != sealed::Role::Check) {
            interaction.showMessage(sealed::refusalMessage(
                problem.isEmpty() ? QStringLiteral("It is not this computer's turn to check.")
                                  : problem));
            outcome.result = CheckResult::Refused;
            outcome.view = sealedCheckRefusedView(record);
            return outcome;
        }
        (void)sealed::checkTurn(record, standing);
    } else {
        record.CurrentTurn = static_cast<qint16>(record.CurrentTurn + 1);
        const bool secure = record.SecurityMode == SecurityMode::Secure;
        if (secure && (record.CurrentPlayer == 1 || record.CurrentPlayer == 2))
            playerLastTurn(record, record.CurrentPlayer) = record.CurrentTurn;
    }

    FileErrorInfo error;
    const GuardedSave save = saveDataIfUnchanged(record, error, now);
    if (save == GuardedSave::ChangedElsewhere || save == GuardedSave::Gone) {
        record = before;
        interaction.showMessage(changedElsewhereMessage(record.FilePath, save));
        outcome.result = CheckResult::ChangedElsewhere;
        outcome.view = isSealed ? sealedGameView(record, standing) : openedGameView(record);
        return outcome;
    }
    if (save == GuardedSave::Failed) {
        record = before;
        interaction.showMessage(
            fileErrorMessage(FileAction::Save, record.FilePath, error.Description));
        outcome.result = CheckResult::SaveFailed;
        outcome.view = turnNotCheckedView(record);
        return outcome;
    }
    outcome.saved = true;
    if (isSealed)
        sealed::noteChecked(keyFolder, standing, record);
    outcome.view = checkedTurnView(record);
    if (record.CurrentTurn != record.EndingTurn) {
        outcome.result = CheckResult::NotEnding;
        outcome.sound = SoundCue::NextTurn;
    } else {
        outcome.result = CheckResult::EndingReached;
        outcome.sound = SoundCue::EndGame;
    }
    return outcome;
}

CheckOutcome checkTurnCommand(GameRecord& record, Interaction& interaction, const QDateTime& now,
                              const QString& keyFolder)
{
    CheckOutcome outcome = checkTurn(record, interaction, now, keyFolder);
    // A check that could not be saved did not happen: the holder keeps the file and may
    // try again.
    const bool handedOver =
        record.SecurityMode == SecurityMode::Secure || record.SecurityMode == SecurityMode::Sealed;
    if (handedOver && outcome.result != CheckResult::SaveFailed &&
        outcome.result != CheckResult::ChangedElsewhere && outcome.result != CheckResult::Refused)
        outcome.view = handedOverView(outcome.view, record);
    return outcome;
}

} // namespace tfp
