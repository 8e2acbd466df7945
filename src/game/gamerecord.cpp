#include "game/gamerecord.h"

namespace tfp {

void resetGameRecord(GameRecord& record, const QDateTime& now)
{
    GameRecord fresh;
    fresh.Version = record.Version;
    fresh.LastSavedDateTime = now;
    record = fresh;
}

QString securityModeText(SecurityMode mode)
{
    return mode == SecurityMode::Secure ? QStringLiteral("Secure") : QStringLiteral("Basic");
}

QString gameTypeText(GameType type)
{
    return type == GameType::QuickBattle ? QStringLiteral("Quick Battle")
                                         : QStringLiteral("Scenario");
}

QString& playerName(GameRecord& record, int player)
{
    return player == 1 ? record.Player1Name : record.Player2Name;
}

const QString& playerName(const GameRecord& record, int player)
{
    return player == 1 ? record.Player1Name : record.Player2Name;
}

QString& playerPassword(GameRecord& record, int player)
{
    return player == 1 ? record.Player1Pwd : record.Player2Pwd;
}

const QString& playerPassword(const GameRecord& record, int player)
{
    return player == 1 ? record.Player1Pwd : record.Player2Pwd;
}

qint16& playerLastTurn(GameRecord& record, int player)
{
    return player == 1 ? record.Player1LastTurn : record.Player2LastTurn;
}

qint16 playerLastTurn(const GameRecord& record, int player)
{
    return player == 1 ? record.Player1LastTurn : record.Player2LastTurn;
}

} // namespace tfp
