#include "game/views.h"

#include "game/shown.h"

namespace tfp {
namespace {

QString checkCaption(int turn)
{
    return QStringLiteral("Check Turn %1").arg(turn);
}

QString turnTitle(const GameRecord& r)
{
    return QStringLiteral("Turn #%1").arg(r.CurrentTurn);
}

const QString kOverCaption = QStringLiteral("Battle Over");

// A player's name as the status shows it: a name from a file cannot add a line to it.
QString shownName(const GameRecord& r, int player)
{
    return shownText(playerName(r, player));
}

} // namespace

bool holderMayCheck(const GameRecord& r)
{
    if (isBattleOver(r))
        return false;
    if (r.SecurityMode != SecurityMode::Secure)
        return true;
    const qint16 marker = playerLastTurn(r, holder(r));
    return marker == 0 || marker < r.CurrentTurn;
}

GameView openedGameView(const GameRecord& r)
{
    const int next = r.CurrentTurn + 1;
    if (isBattleOver(r)) {
        return {StatusView{turnTitle(r), QStringLiteral("The battle is already over!"),
                           StatusColour::Red},
                ButtonView{kOverCaption, false, Light::Red}};
    }
    const bool allowed = holderMayCheck(r);
    GameView view{StatusView{QStringLiteral("Game File Loaded"), QString(), StatusColour::Yellow},
                  ButtonView{checkCaption(next), allowed, Light::Yellow}};
    if (r.SecurityMode != SecurityMode::Secure) {
        view.status.message = QStringLiteral("Press 'Check Turn' starting on turn %1").arg(next);
        return view;
    }
    const int player = holder(r);
    view.status.message =
        allowed ? shownName(r, player) +
                      QStringLiteral(", press 'Check Turn' starting on turn %1").arg(next)
                : shownName(r, player) + QStringLiteral(", player #%1 needs to check turn %2")
                                             .arg(otherPlayer(player))
                                             .arg(next);
    return view;
}

GameView sealedGameView(const GameRecord& r, const sealed::Standing& standing)
{
    const int next = r.CurrentTurn + 1;
    const bool allowed = standing.role == sealed::Role::Check;
    GameView view{StatusView{QStringLiteral("Game File Loaded"), QString(), StatusColour::Yellow},
                  ButtonView{checkCaption(next), allowed, Light::Yellow}};
    const int player = standing.key ? standing.key->player : kNoPlayer;
    switch (standing.role) {
    case sealed::Role::Over:
        return openedGameView(r);
    case sealed::Role::Check:
        view.status.message = shownName(r, player) +
                              QStringLiteral(", press 'Check Turn' starting on turn %1").arg(next);
        break;
    case sealed::Role::WaitForOther:
        if (standing.state.stage == sealed::Stage::Created) {
            view.status.message = handOverLine(r);
            view.button = ButtonView{QStringLiteral("Send File"), false, Light::Red};
        } else {
            view.status.message =
                shownName(r, player) + QStringLiteral(", player #%1 needs to check turn %2")
                                           .arg(otherPlayer(player))
                                           .arg(next);
        }
        break;
    case sealed::Role::OfferJoin:
        view.status.message = QStringLiteral("Player #2, %1, has not joined this game yet.")
                                  .arg(shownText(r.Player2Name));
        break;
    case sealed::Role::NoKey:
        view.status.message = QStringLiteral("This computer holds no player's key for this game.");
        break;
    }
    return view;
}

GameView sealedCheckRefusedView(const GameRecord& r)
{
    return {StatusView{QStringLiteral("Turn Not Checked"),
                       QStringLiteral("The game file was not changed."), StatusColour::Yellow},
            ButtonView{checkCaption(r.CurrentTurn + 1), false, std::nullopt}};
}

GameView handOverNotSavedView(const GameRecord& record)
{
    GameView view = openedGameView(record);
    view.status.title = QStringLiteral("Game File Not Saved");
    return view;
}

GameView createdGameView(const GameRecord& r)
{
    const int next = r.CurrentTurn + 1;
    const QString saved = QStringLiteral("Game File Saved");
    if (r.SecurityMode == SecurityMode::Secure || r.SecurityMode == SecurityMode::Sealed) {
        return {StatusView{saved, handOverLine(r), StatusColour::Yellow},
                ButtonView{QStringLiteral("Send File"), false, Light::Red}};
    }
    return {StatusView{saved, QStringLiteral("Press 'Check Turn' starting on turn %1").arg(next),
                       StatusColour::Yellow},
            ButtonView{checkCaption(next), true, std::nullopt}};
}

GameView checkedTurnView(const GameRecord& r)
{
    if (r.CurrentTurn != r.EndingTurn) {
        return {StatusView{turnTitle(r), QStringLiteral("This is NOT the ending turn."),
                           StatusColour::Green},
                ButtonView{checkCaption(r.CurrentTurn + 1), true, Light::Green}};
    }
    return {
        StatusView{turnTitle(r), QStringLiteral("BATTLE OVER - CEASE FIRE!"), StatusColour::Red},
        ButtonView{kOverCaption, false, Light::Red}};
}

GameView alreadyOverView(const GameRecord& r)
{
    return {StatusView{turnTitle(r), QStringLiteral("BATTLE OVER!"), StatusColour::Red},
            ButtonView{kOverCaption, false, std::nullopt}};
}

GameView turnNotCheckedView(const GameRecord& r)
{
    const int turn = r.CurrentTurn + 1;
    return {StatusView{QStringLiteral("Turn Not Checked"),
                       QStringLiteral("The game file could not be saved, so turn %1 was not "
                                      "checked.")
                           .arg(turn),
                       StatusColour::Yellow},
            ButtonView{checkCaption(turn), true, std::nullopt}};
}

GameView handedOverView(const GameView& checked, const GameRecord& record)
{
    GameView view = checked;
    view.status.message += QStringLiteral("\r\n") + handOverLine(record);
    view.button = ButtonView{QStringLiteral("Send File"), false, Light::Red};
    return view;
}

QString handOverLine(const GameRecord& record)
{
    const int player = holder(record);
    return shownName(record, player) + QStringLiteral(", send this file to player #") +
           QString::number(otherPlayer(player)) + u'.';
}

} // namespace tfp
