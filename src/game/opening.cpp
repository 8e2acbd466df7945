#include "game/opening.h"

#include "appversion.h"
#include "game/draw.h"
#include "game/gamestore.h"
#include "game/passwords.h"
#include "game/shown.h"
#include "game/versions.h"

namespace tfp {
namespace {

Message joinQuestion(const GameRecord& r)
{
    return {sealed::messageTitle(),
            QStringLiteral("'%1' is a sealed game waiting for player #2 to join.\r\n\r\nJoin it "
                           "as player #2, %2, on this computer?")
                .arg(shownText(r.GameName), shownText(r.Player2Name)),
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
                .arg(shownText(r.GameName), shownPath(keyPath))};
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
        switch (const GuardedSave save = saveDataIfUnchanged(joined, error, now)) {
        case GuardedSave::ChangedElsewhere:
        case GuardedSave::Gone:
            interaction.showMessage(changedElsewhereMessage(record.FilePath, save));
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
        outcome.sealedRole = sealed::Role::WaitForOther;
        outcome.status = OpenStatus::Opened;
        outcome.view = createdGameView(record);
        return;
    }
    if (!sealed::pinKey(options.keyFolder, standing, problem))
        return refuse(problem);
    if (standing.role == sealed::Role::NoKey)
        interaction.showMessage(noKeyMessage(record, standing.keyPath));
    outcome.status = OpenStatus::Opened;
    outcome.sealedRole = standing.role;
    outcome.checkAllowed = standing.role == sealed::Role::Check;
    outcome.view = sealedGameView(record, standing);
}

} // namespace

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
            if (save == GuardedSave::ChangedElsewhere || save == GuardedSave::Gone) {
                interaction.showMessage(changedElsewhereMessage(path, save));
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
