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
    switch (mode) {
    case SecurityMode::Basic:
        return QStringLiteral("Basic");
    case SecurityMode::Secure:
        return QStringLiteral("Secure");
    case SecurityMode::Sealed:
        return QStringLiteral("Sealed");
    }
    return QStringLiteral("unknown (%1)").arg(static_cast<int>(mode));
}

QString gameTypeText(GameType type)
{
    switch (type) {
    case GameType::Scenario:
        return QStringLiteral("Scenario");
    case GameType::QuickBattle:
        return QStringLiteral("Quick Battle");
    }
    return QStringLiteral("unknown (%1)").arg(static_cast<int>(type));
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
