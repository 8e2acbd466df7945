#include "game/setup.h"

#include "appversion.h"
#include "game/codepage.h"
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

namespace {

// A number entry as the editors admit it: one or two plain digits.
std::optional<int> digitsValue(const QString& text)
{
    if (text.isEmpty() || text.size() > kMaxNumberDigits)
        return std::nullopt;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    return text.toInt();
}

Message refusal(const QString& text)
{
    return {QLatin1String(appinfo::kProductName), text, MessageIcon::Exclamation};
}

} // namespace

std::optional<Message> setupRefusal(const SetupEntries& e)
{
    if (const SetupValidation validation = validateGameSetup(e); !validation.valid)
        return setupErrorMessage(validation.errors);
    for (const auto& [text, what] :
         {std::pair{e.gameName, QStringLiteral("The game name")},
          std::pair{e.player1, QStringLiteral("The name of player #1")},
          std::pair{e.player2, QStringLiteral("The name of player #2")}}) {
        if (const QString control = firstControlCharacter(text); !control.isEmpty())
            return refusal(what + QStringLiteral(" holds a control character (%1). Please remove "
                                                 "it.")
                                      .arg(describeCharacter(control)));
        if (const QString character = firstUnkeptCharacter(composedEntry(text));
            !character.isEmpty())
            return refusal(what + QStringLiteral(" holds the character %1, which a game file "
                                                 "cannot keep. Please use another.")
                                      .arg(describeCharacter(character)));
    }
    if (composedEntry(e.gameName).size() > kMaxGameNameLength)
        return refusal(QStringLiteral("The game name can have at most %1 characters.")
                           .arg(kMaxGameNameLength));
    if (composedEntry(e.player1).size() > kMaxPlayerNameLength ||
        composedEntry(e.player2).size() > kMaxPlayerNameLength)
        return refusal(QStringLiteral("A player name can have at most %1 characters.")
                           .arg(kMaxPlayerNameLength));
    for (const QString& text : {e.gameName, e.player1, e.player2}) {
        if (containsTagCharacters(text))
            return refusal(QStringLiteral("Names cannot contain the characters < and >."));
    }
    const std::optional<int> turns = digitsValue(e.turns);
    if (!turns || *turns < kMinTurns || *turns > kMaxTurns)
        return refusal(QStringLiteral("The number of turns must be a whole number from %1 to %2.")
                           .arg(kMinTurns)
                           .arg(kMaxTurns));
    const std::optional<int> modifier = digitsValue(e.modifier);
    if (!modifier || *modifier > *turns - 1)
        return refusal(QStringLiteral("The modifier must be a whole number from 0 to %1 (one "
                                      "less than the number of turns).")
                           .arg(*turns - 1));
    return std::nullopt;
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

QString firstControlCharacter(const QString& text)
{
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            return QString(c);
    }
    return {};
}

QString composedEntry(const QString& text)
{
    return text.normalized(QString::NormalizationForm_C);
}

} // namespace tfp
