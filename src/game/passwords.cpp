#include "game/passwords.h"

#include "appversion.h"
#include "game/codepage.h"
#include "game/setup.h"

namespace tfp {

QString passwordRefusal(const QString& typed)
{
    if (const QString control = firstControlCharacter(typed); !control.isEmpty())
        return QStringLiteral("A password cannot contain a control character (%1).")
            .arg(describeCharacter(control));
    // The cipher gives back code 255 at an even position of the data line as code 0, so
    // a password holding 'ÿ' could never be typed again.
    const QString password = composedEntry(typed);
    QString character = firstUnkeptCharacter(password);
    if (character.isEmpty() && password.contains(QChar(0xFF)))
        character = QString(QChar(0xFF));
    if (!character.isEmpty())
        return QStringLiteral("A password cannot contain the character %1, which a game file "
                              "cannot keep.")
            .arg(describeCharacter(character));
    if (password.isEmpty() || password.size() > kMaxPasswordLength)
        return QStringLiteral("Please enter a password between 1 and %1 characters.")
            .arg(kMaxPasswordLength);
    if (containsTagCharacters(password))
        return QStringLiteral("A password cannot contain the characters < and >.");
    return {};
}

QString playerLabel(int player)
{
    return QStringLiteral("Player #%1").arg(player);
}

bool setPlayerPassword(const QString& name, QString& password, const QString& label,
                       Interaction& interaction)
{
    const QString chosen = composedEntry(
        interaction.askPassword(QStringLiteral("Set Password for ") + label, name).trimmed());
    password = chosen;
    return !chosen.isEmpty();
}

QString askPlayerPassword(const QString& name, const QString& label, Interaction& interaction)
{
    return composedEntry(
        interaction.askPassword(QStringLiteral("Enter Password for ") + label, name).trimmed());
}

bool ensurePlayerPassword(GameRecord& record, Interaction& interaction)
{
    if (record.SecurityMode != SecurityMode::Secure)
        return false;
    const int player = record.CurrentPlayer;
    if ((player != 1 && player != 2) || !playerPassword(record, player).isEmpty())
        return false;
    setPlayerPassword(playerName(record, player), playerPassword(record, player),
                      playerLabel(player), interaction);
    return true;
}

Message passwordMismatchMessage()
{
    return {QLatin1String(appinfo::kProductName),
            QStringLiteral("The password entered does not match the current user's password."),
            MessageIcon::Exclamation};
}

Message noPasswordChosenMessage(PasswordNeededFor what)
{
    return {QLatin1String(appinfo::kProductName),
            what == PasswordNeededFor::NewGame
                ? QStringLiteral("No password was chosen, so the game was not saved.")
                : QStringLiteral("No password was chosen, so the game was not opened. The "
                                 "file is unchanged."),
            MessageIcon::Exclamation};
}

bool verifyPlayerPassword(const GameRecord& record, Interaction& interaction)
{
    bool matched = false;
    const int player = record.CurrentPlayer;
    if (record.SecurityMode == SecurityMode::Secure && (player == 1 || player == 2))
        matched = askPlayerPassword(playerName(record, player), playerLabel(player), interaction) ==
                  playerPassword(record, player);
    if (!matched)
        interaction.showMessage(passwordMismatchMessage());
    return matched;
}

void swapPlayers(GameRecord& record)
{
    std::swap(record.CurrentPlayer, record.DestinationPlayer);
}

} // namespace tfp
