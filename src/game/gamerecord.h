// The one game in memory: everything a game file stores, plus the path it lives at.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

namespace tfp {

enum class SecurityMode : quint8
{
    Basic = 0,
    Secure = 1,
    Sealed = 2
};
enum class GameType : quint8
{
    Scenario = 0,
    QuickBattle = 1
};

inline constexpr int kNoPlayer = -1;

struct GameRecord
{
    QString GameName;
    QString Player1Name;
    QString Player1Pwd;
    qint16 Player1LastTurn = 0;
    QString Player2Name;
    QString Player2Pwd;
    qint16 Player2LastTurn = 0;
    qint16 TotalTurns = 0;
    qint16 TurnVariance = 0;
    qint16 CurrentTurn = 0;
    qint16 EndingTurn = 0;
    tfp::SecurityMode SecurityMode = tfp::SecurityMode::Basic;
    tfp::GameType GameType = tfp::GameType::Scenario;
    QString FilePath;
    QByteArray FileDigest; // of the file as this copy last read or wrote it; not stored
    QString Version;
    QDateTime LastSavedDateTime;
    QString LastSavedBy;
    qint32 CurrentPlayer = kNoPlayer;
    qint32 DestinationPlayer = kNoPlayer;
    // A Sealed game's protocol values, as the file holds them; empty in other games.
    QString SealedGame;
    QString SealedCommit1;
    QString SealedCommit2;
    QString SealedReveal1;
    QString SealedReveal2;

    friend bool operator==(const GameRecord&, const GameRecord&) = default;
};

// Puts every field back to its default; Version keeps its value and LastSavedDateTime
// becomes `now`.
void resetGameRecord(GameRecord& record, const QDateTime& now = QDateTime::currentDateTime());

// "Basic" / "Secure" and "Scenario" / "Quick Battle", as shown to the user; a value a file
// may hold but no game has reads "unknown (7)".
[[nodiscard]] QString securityModeText(SecurityMode mode);
[[nodiscard]] QString gameTypeText(GameType type);

// Player 1 or 2 of the record, for the name, password and turn marker of either.
[[nodiscard]] QString& playerName(GameRecord& record, int player);
[[nodiscard]] const QString& playerName(const GameRecord& record, int player);
[[nodiscard]] QString& playerPassword(GameRecord& record, int player);
[[nodiscard]] const QString& playerPassword(const GameRecord& record, int player);
[[nodiscard]] qint16& playerLastTurn(GameRecord& record, int player);
[[nodiscard]] qint16 playerLastTurn(const GameRecord& record, int player);

// The player who holds a Secure game's file: player #1 when CurrentPlayer says so,
// otherwise player #2.
[[nodiscard]] inline int holder(const GameRecord& record)
{
    return record.CurrentPlayer == 1 ? 1 : 2;
}

// Player #2 for player #1, player #1 for anyone else.
[[nodiscard]] inline int otherPlayer(int player)
{
    return player == 1 ? 2 : 1;
}

// True when the battle has reached its ending turn (signed comparison). A Sealed game has
// no ending turn (-1) until the check that ends it.
[[nodiscard]] inline bool isBattleOver(const GameRecord& record)
{
    if (record.SecurityMode == SecurityMode::Sealed && record.EndingTurn == -1)
        return false;
    return record.CurrentTurn >= record.EndingTurn;
}

} // namespace tfp
