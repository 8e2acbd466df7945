#include "game/turncheck.h"

#include "game/gamestore.h"

namespace tfp {

CheckOutcome checkTurn(GameRecord& record, Interaction& interaction, const QDateTime& now)
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
    record.CurrentTurn = static_cast<qint16>(record.CurrentTurn + 1);
    const bool secure = record.SecurityMode == SecurityMode::Secure;
    if (secure && (record.CurrentPlayer == 1 || record.CurrentPlayer == 2))
        playerLastTurn(record, record.CurrentPlayer) = record.CurrentTurn;

    FileErrorInfo error;
    const GuardedSave save = saveDataIfUnchanged(record, error, now);
    if (save == GuardedSave::ChangedElsewhere) {
        record = before;
        interaction.showMessage(changedElsewhereMessage(record.FilePath));
        outcome.result = CheckResult::ChangedElsewhere;
        outcome.view = openedGameView(record);
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

CheckOutcome checkTurnCommand(GameRecord& record, Interaction& interaction, const QDateTime& now)
{
    CheckOutcome outcome = checkTurn(record, interaction, now);
    // A check that could not be saved did not happen: the holder keeps the file and may
    // try again.
    if (record.SecurityMode == SecurityMode::Secure && outcome.result != CheckResult::SaveFailed &&
        outcome.result != CheckResult::ChangedElsewhere)
        outcome.view = handedOverView(outcome.view, record);
    return outcome;
}

} // namespace tfp
