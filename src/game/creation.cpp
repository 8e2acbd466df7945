#include "game/creation.h"

#include "game/draw.h"
#include "game/gamestore.h"
#include "game/numbers.h"
#include "game/passwords.h"
#include "game/sealedplay.h"
#include "game/setup.h"
#include "game/shown.h"
#include "game/versions.h"

#include <QFile>

namespace tfp {

GameRecord prepareNewGame(const SetupEntries& e, Interaction& interaction, QRandomGenerator& random,
                          const QDateTime& now)
{
    const int turns = entryNumber(e.turns);
    const int modifier = entryNumber(e.modifier);
    GameRecord r;
    resetGameRecord(r, now);
    r.GameName = composedEntry(e.gameName);
    r.Version = gameFileVersion(e.mode);
    r.Player1Name = composedEntry(e.player1);
    r.Player2Name = composedEntry(e.player2);
    r.TotalTurns = static_cast<qint16>(turns);
    r.TurnVariance = static_cast<qint16>(modifier);
    r.SecurityMode = e.mode;
    r.GameType = e.type;
    r.CurrentTurn = static_cast<qint16>(turns - modifier - 1);
    if (e.mode == SecurityMode::Basic) {
        r.EndingTurn = drawEndingTurn(r.TotalTurns, r.TurnVariance, r.GameType, random);
    } else {
        r.EndingTurn = -1; // Secure: drawn when player #2 first opens the file; Sealed: decided
                           // turn by turn by both players' values
        r.CurrentPlayer = 1;
        r.DestinationPlayer = 2;
        if (e.mode == SecurityMode::Secure)
            ensurePlayerPassword(r, interaction);
    }
    return r;
}

std::optional<Message> creationRefusal(const GameRecord& record)
{
    if (record.SecurityMode == SecurityMode::Secure && record.Player1Pwd.isEmpty())
        return noPasswordChosenMessage(PasswordNeededFor::NewGame);
    return std::nullopt;
}

bool saveNewGame(GameRecord& record, Interaction& interaction, const QDateTime& now,
                 const QString& keyFolder)
{
    std::optional<Message> refusal = creationRefusal(record);
    if (!refusal)
        refusal = fileNameRefusal(record.FilePath);
    if (refusal) {
        interaction.showMessage(*refusal);
        return false;
    }
    if (!fileNameFitsSystem(record.FilePath)) {
        interaction.showMessage(fileErrorMessage(FileAction::Save, record.FilePath, {}));
        return false;
    }
    // A Sealed game's key file is written before the game: no file ever holds a commitment
    // whose seed is lost.
    GameRecord game = record;
    QString problem;
    if (game.SecurityMode == SecurityMode::Sealed &&
        !sealed::createGame(game, keyFolder, problem)) {
        interaction.showMessage(Message{sealed::messageTitle(), problem});
        return false;
    }
    FileErrorInfo error;
    if (saveData(game, error, now, &game.FileDigest)) {
        record = game;
        return true;
    }
    // Nobody has seen a game that was not saved: its key goes with it.
    if (game.SecurityMode == SecurityMode::Sealed)
        QFile::remove(sealed::keyPath(keyFolder, QByteArray::fromHex(game.SealedGame.toLatin1())));
    interaction.showMessage(fileErrorMessage(FileAction::Save, record.FilePath, error.Description));
    return false;
}

QString suggestedFileName(const QString& gameName, const QDate& today)
{
    if (gameName.isEmpty())
        return QStringLiteral("Game ") + today.toString(QStringLiteral("MM-dd-yyyy"));
    QString name = gameName;
    for (const QChar c : {u'\\', u'/', u':', u'*', u'?', u'<', u'>', u'|'})
        name.replace(c, u'-');
    return name;
}

} // namespace tfp
