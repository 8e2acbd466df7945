#include "game/turncheck.h"

#include "game/gamefile.h"
#include "game/opening.h"

namespace tfp {

QString handOverLine(const GameRecord& record)
{
    const int player = holder(record);
    return playerName(record, player) + QStringLiteral(", send this file to player #") +
           QString::number(otherPlayer(player)) + u'.';
}

QString messageWithHandOver(const QString& message, const QString& handOver)
{
    return handOver.isEmpty() ? message : message + QStringLiteral("\r\n") + handOver;
}

CheckOutcome checkTurn(GameRecord& record, Interaction& interaction, const QDateTime& now,
                       const QString& keyFolder)
{
    CheckOutcome outcome;
    if (record.GameType != GameType::Scenario && record.GameType != GameType::QuickBattle)
        return outcome;

    const QString overCaption = QStringLiteral("Battle Over");
    if (isBattleOver(record)) {
        outcome.result = CheckResult::AlreadyOver;
        outcome.status = StatusView{QStringLiteral("Turn #%1").arg(record.CurrentTurn),
                                    QStringLiteral("BATTLE OVER!"), StatusColour::Red};
        outcome.button = ButtonView{overCaption, false, std::nullopt};
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
            OpenOutcome opened;
            opened.record = record;
            describeOpenedGame(opened);
            outcome.result = CheckResult::Refused;
            outcome.status = opened.view;
            outcome.button = ButtonView{opened.button.caption, false, std::nullopt};
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
    if (save == GuardedSave::ChangedElsewhere) {
        record = before;
        interaction.showMessage(changedElsewhereMessage(record.FilePath));
        OpenOutcome opened;
        opened.record = record;
        describeOpenedGame(opened);
        outcome.result = CheckResult::ChangedElsewhere;
        outcome.status = opened.view;
        outcome.button = opened.button;
        return outcome;
    }
    if (save == GuardedSave::Failed) {
        record = before;
        interaction.showMessage(
            fileErrorMessage(FileAction::Save, record.FilePath, error.Description));
        const int turn = record.CurrentTurn + 1;
        outcome.result = CheckResult::SaveFailed;
        outcome.status = StatusView{
            QStringLiteral("Turn Not Checked"),
            QStringLiteral("The game file could not be saved, so turn %1 was not checked.")
                .arg(turn),
            StatusColour::Yellow};
        outcome.button = ButtonView{QStringLiteral("Check Turn %1").arg(turn), true, std::nullopt};
        return outcome;
    }
    outcome.saved = true;
    if (isSealed)
        sealed::noteChecked(keyFolder, standing, record);

    const QString title = QStringLiteral("Turn #%1").arg(record.CurrentTurn);
    if (record.CurrentTurn != record.EndingTurn) {
        outcome.result = CheckResult::NotEnding;
        outcome.status =
            StatusView{title, QStringLiteral("This is NOT the ending turn."), StatusColour::Green};
        outcome.button = ButtonView{QStringLiteral("Check Turn %1").arg(record.CurrentTurn + 1),
                                    true, Light::Green};
        outcome.sound = SoundCue::NextTurn;
    } else {
        outcome.result = CheckResult::EndingReached;
        outcome.status =
            StatusView{title, QStringLiteral("BATTLE OVER - CEASE FIRE!"), StatusColour::Red};
        outcome.button = ButtonView{overCaption, false, Light::Red};
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
        outcome.result != CheckResult::ChangedElsewhere && outcome.result != CheckResult::Refused) {
        outcome.button = ButtonView{QStringLiteral("Send File"), false, Light::Red};
        outcome.handOver = handOverLine(record);
    }
    return outcome;
}

} // namespace tfp
