#include "game/setup.h"

#include "appversion.h"
#include "game/draw.h"
#include "game/numbers.h"

namespace tfp {

SetupValidation validateGameSetup(const SetupEntries& e)
{
    SetupValidation result;
    const auto fire = [&result](const char16_t* line) {
        result.valid = false;
        result.errors +=
            QStringLiteral("  \u2022 ") + QString::fromUtf16(line) + QStringLiteral("\r\n");
    };
    if (e.gameName.isEmpty())
        fire(u"Please enter a name for the game");
    if (e.player1.isEmpty())
        fire(u"Please enter a name for 'Player #1'");
    if (e.player2.isEmpty())
        fire(u"Please enter a name for 'Player #2'");
    if (e.turns == QLatin1String("0") || e.turns.isEmpty())
        fire(u"Please enter the number of turns for your game");
    else if (!isNumeric(e.turns))
        fire(u"Please enter a number for 'Game Turns'");
    if (e.modifier.isEmpty())
        fire(u"Please enter the modifier for the game");
    else if (!isNumeric(e.modifier))
        fire(u"Please enter a number for 'Modifier'");
    return result;
}

Message setupErrorMessage(const QString& errors)
{
    return {QLatin1String(appinfo::kProductName),
            QStringLiteral("Errors encountered:\r\n") + errors +
                QStringLiteral("\r\n\r\nPlease check your entries and try again."),
            MessageIcon::Exclamation};
}

QString confirmationText(const SetupEntries& e)
{
    const bool quick = e.type == GameType::QuickBattle;
    const QString sign = quick ? QStringLiteral("\u00b1") : QString();
    const auto turns = static_cast<qint16>(entryNumber(e.turns));
    const auto modifier = static_cast<qint16>(entryNumber(e.modifier));
    const QString tail =
        describeEndingRange(turns, modifier, quick ? GameType::QuickBattle : GameType::Scenario);
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("You are about to create a game file with the following parameters:") +
           crlf + QStringLiteral("     Game Name:   \t") + e.gameName + crlf +
           QStringLiteral("     Type:        \t") + gameTypeText(e.type) + crlf +
           QStringLiteral("     Mode:        \t") + securityModeText(e.mode) + crlf +
           QStringLiteral("     Player 1:    \t") + e.player1 + crlf +
           QStringLiteral("     Player 2:    \t") + e.player2 + crlf +
           QStringLiteral("     Game Turns:  \t") + e.turns + QStringLiteral(" with modifier of ") +
           sign + e.modifier + crlf + crlf + QStringLiteral("Your game will end between turn ") +
           tail + crlf;
}

bool containsTagCharacters(const QString& text)
{
    return text.contains(u'<') || text.contains(u'>');
}

} // namespace tfp
