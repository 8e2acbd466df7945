#include "commands.h"

#include "appversion.h"
#include "game/creation.h"
#include "game/gamestore.h"
#include "game/opening.h"
#include "game/sealed.h"
#include "game/setup.h"
#include "game/shown.h"
#include "game/turncheck.h"
#include "game/versions.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace tfp::cli {
namespace {

const char kUsage[] =
    "Usage:\n"
    "  turnpicker-cli new FILE --game NAME --player1 NAME --player2 NAME --turns N\n"
    "                 --modifier M [--type scenario|quick] [--mode basic|secure|sealed]\n"
    "                 [--force] [--password-stdin] [--keys DIR]\n"
    "  turnpicker-cli join FILE [--keys DIR]\n"
    "  turnpicker-cli check FILE [--password-stdin] [--keys DIR]\n"
    "  turnpicker-cli info FILE [--keys DIR]\n"
    "  turnpicker-cli --help | --version\n"
    "\n"
    "A Secure game asks for a password without echo at the terminal; with --password-stdin\n"
    "it is read, without a prompt, as one line of standard input.\n"
    "A Sealed game keeps each player's key on their own computer, in the per-user data\n"
    "folder or in --keys DIR; player #2 joins it once, with 'join', on their computer.\n"
    "Exit status: 0 the battle goes on (or joined), 3 the battle is over, 4 the check is not\n"
    "allowed at this opening, 1 a refused or unreadable file, a wrong password, no key on\n"
    "this computer or a failed save, 2 a usage error or a refused entry.\n";

const char kPasswordStdin[] = "--password-stdin";
const char kKeys[] = "--keys";

TerminalInteraction::PasswordSource passwordSource(bool fromStdin)
{
    return fromStdin ? TerminalInteraction::PasswordSource::OneLine
                     : TerminalInteraction::PasswordSource::Prompt;
}

int usageError(Streams& s, const QString& reason)
{
    s.err << terminalText(reason) << "\n\n" << kUsage;
    s.err.flush();
    return kExitUsage;
}

void printStatus(Streams& s, const StatusView& view)
{
    s.out << terminalLine(view.title) << '\n' << terminalText(view.message) << '\n';
    s.out.flush();
}

int newCommand(const QStringList& arguments, Streams& s)
{
    QCommandLineParser parser;
    const QCommandLineOption game(QStringLiteral("game"), QString(), QStringLiteral("NAME"));
    const QCommandLineOption player1(QStringLiteral("player1"), QString(), QStringLiteral("NAME"));
    const QCommandLineOption player2(QStringLiteral("player2"), QString(), QStringLiteral("NAME"));
    const QCommandLineOption turns(QStringLiteral("turns"), QString(), QStringLiteral("N"));
    const QCommandLineOption modifier(QStringLiteral("modifier"), QString(), QStringLiteral("M"));
    const QCommandLineOption type(QStringLiteral("type"), QString(), QStringLiteral("TYPE"),
                                  QStringLiteral("scenario"));
    const QCommandLineOption mode(QStringLiteral("mode"), QString(), QStringLiteral("MODE"),
                                  QStringLiteral("basic"));
    const QCommandLineOption force(QStringLiteral("force"));
    const QCommandLineOption passwordStdin(QLatin1String(kPasswordStdin).sliced(2));
    const QCommandLineOption keys(QLatin1String(kKeys).sliced(2), QString(), QStringLiteral("DIR"),
                                  sealed::defaultKeyFolder());
    parser.addOptions(
        {game, player1, player2, turns, modifier, type, mode, force, passwordStdin, keys});
    if (!parser.parse(arguments))
        return usageError(s, parser.errorText());
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return usageError(s, QStringLiteral("'new' takes exactly one FILE."));

    SetupEntries entries;
    entries.gameName = parser.value(game).trimmed();
    entries.player1 = parser.value(player1).trimmed();
    entries.player2 = parser.value(player2).trimmed();
    entries.turns = parser.value(turns).trimmed();
    entries.modifier = parser.value(modifier).trimmed();
    const QString typeText = parser.value(type).toLower();
    if (typeText == QLatin1String("scenario"))
        entries.type = GameType::Scenario;
    else if (typeText == QLatin1String("quick"))
        entries.type = GameType::QuickBattle;
    else
        return usageError(s, QStringLiteral("--type must be 'scenario' or 'quick'."));
    const QString modeText = parser.value(mode).toLower();
    if (modeText == QLatin1String("basic"))
        entries.mode = SecurityMode::Basic;
    else if (modeText == QLatin1String("secure"))
        entries.mode = SecurityMode::Secure;
    else if (modeText == QLatin1String("sealed"))
        entries.mode = SecurityMode::Sealed;
    else
        return usageError(s, QStringLiteral("--mode must be 'basic', 'secure' or 'sealed'."));

    if (const std::optional<Message> refusal = setupRefusal(entries)) {
        s.err << terminalText(refusal->text) << '\n';
        s.err.flush();
        return kExitUsage;
    }

    QString path = positional.at(0);
    const QFileInfo info(path);
    if (info.suffix().isEmpty())
        path += QLatin1String(kGameFileExtension);
    else if (!path.endsWith(QLatin1String(kGameFileExtension), Qt::CaseInsensitive))
        return usageError(s, QStringLiteral("A game file's name must end in .tfp."));
    if (QFileInfo::exists(path) && !parser.isSet(force))
        return usageError(
            s,
            QStringLiteral("'%1' already exists; add --force to replace it.").arg(shownPath(path)));
    // Refused before a Secure game's password is asked for; saveNewGame would refuse it too.
    if (const std::optional<Message> refusal = fileNameRefusal(path)) {
        s.err << terminalText(refusal->text) << '\n';
        s.err.flush();
        return kExitUsage;
    }

    TerminalInteraction interaction(s.in, s.err, passwordSource(parser.isSet(passwordStdin)));
    GameRecord record = prepareNewGame(entries, interaction);
    record.FilePath = path;
    if (!saveNewGame(record, interaction, QDateTime::currentDateTime(), parser.value(keys)))
        return kExitFailed;
    printStatus(s, createdGameView(record).status);
    return kExitGoesOn;
}

int joinCommand(const QString& path, const QString& keyFolder, Streams& s)
{
    TerminalInteraction interaction(s.in, s.err);
    const OpenOutcome opened =
        openGameFile(path, interaction, *QRandomGenerator::system(), QDateTime::currentDateTime(),
                     OpenOptions{keyFolder, JoinOffer::Join});
    if (opened.status != OpenStatus::Opened)
        return kExitFailed;
    printStatus(s, opened.view.status);
    return kExitGoesOn;
}

int checkCommand(const QString& path, bool passwordFromStdin, const QString& keyFolder, Streams& s)
{
    TerminalInteraction interaction(s.in, s.err, passwordSource(passwordFromStdin));
    OpenOutcome opened =
        openGameFile(path, interaction, *QRandomGenerator::system(), QDateTime::currentDateTime(),
                     OpenOptions{keyFolder, JoinOffer::Never});
    if (opened.status != OpenStatus::Opened || opened.sealedRole == sealed::Role::NoKey)
        return kExitFailed;
    if (isBattleOver(opened.record)) {
        printStatus(s, opened.view.status);
        return kExitBattleOver;
    }
    if (!opened.checkAllowed) {
        printStatus(s, opened.view.status);
        if (opened.sealedRole == sealed::Role::OfferJoin) {
            s.err << "To join this game as player #2 on this computer: turnpicker-cli join "
                  << terminalLine(path) << '\n';
            s.err.flush();
        }
        return kExitNotAllowed;
    }
    const CheckOutcome checked =
        checkTurnCommand(opened.record, interaction, QDateTime::currentDateTime(), keyFolder);
    if (checked.result == CheckResult::ChangedElsewhere)
        return kExitFailed; // the message says to open the file again; nothing else holds
    if (checked.result != CheckResult::Skipped)
        printStatus(s, checked.view.status);
    switch (checked.result) {
    case CheckResult::NotEnding:
        return kExitGoesOn;
    case CheckResult::EndingReached:
    case CheckResult::AlreadyOver:
        return kExitBattleOver;
    case CheckResult::SaveFailed:
    case CheckResult::ChangedElsewhere:
    case CheckResult::Refused:
        return kExitFailed;
    case CheckResult::Skipped:
        break;
    }
    s.err << "This game file has a game type the program does not know; no turn was checked.\n";
    s.err.flush();
    return kExitFailed;
}

// What `info` adds for a Sealed game, verified from the file alone: the seal to compare by
// telephone, the checked turns, who acts next, and this computer's key. False when the game
// does not add up.
bool printSealedInfo(const GameRecord& r, const QString& keyFolder, Streams& s)
{
    sealed::State state;
    QString problem;
    if (!sealed::readState(r, state, problem)) {
        s.out << "Verified:      no\n";
        s.out.flush();
        s.err << terminalText(problem) << '\n';
        s.err.flush();
        return false;
    }
    s.out << "Seal:          " << sealed::hexText(state.game).left(8) << '\n';
    const qint16 first = state.gameTurn(1);
    const qint16 last = state.gameTurn(state.checked);
    if (state.stage == sealed::Stage::Over)
        s.out << "Ending turn:   " << last << " (verified)\n";
    if (state.checked > (state.stage == sealed::Stage::Over ? 1 : 0)) {
        const qint16 notEnding = state.stage == sealed::Stage::Over ? qint16(last - 1) : last;
        s.out
            << "Checked:       "
            << (notEnding == first
                    ? QStringLiteral("turn %1, not the ending turn").arg(first)
                    : QStringLiteral("turns %1-%2, none the ending turn").arg(first).arg(notEnding))
            << " (verified)\n";
    } else if (state.stage != sealed::Stage::Over) {
        s.out << "Checked:       none\n";
    }
    const int next = state.nextPlayer();
    const auto describe = [&r](int player) {
        return QStringLiteral("player #%1 (%2)")
            .arg(player)
            .arg(terminalLine(playerName(r, player)));
    };
    if (state.stage == sealed::Stage::Created)
        s.out << "Next:          " << describe(2) << " joins\n";
    else if (next != kNoPlayer)
        s.out << "Next:          " << describe(next) << " checks turn "
              << state.gameTurn(state.checked + 1) << '\n';
    sealed::Key key;
    const QString path = QDir::toNativeSeparators(sealed::keyPath(keyFolder, state.game));
    switch (sealed::readKey(keyFolder, state.game, key, problem)) {
    case sealed::KeyRead::Found:
        s.out << "Key here:      " << describe(key.player) << ", " << terminalLine(path) << '\n';
        break;
    case sealed::KeyRead::Missing:
        s.out << "Key here:      none (it would be " << terminalLine(path) << ")\n";
        break;
    case sealed::KeyRead::Unreadable:
        s.out << "Key here:      unreadable, " << terminalLine(path) << '\n';
        break;
    }
    s.out.flush();
    return true;
}

int infoCommand(const QString& path, const QString& keyFolder, Streams& s)
{
    GameRecord record;
    record.FilePath = path;
    FileErrorInfo error;
    if (!getData(record, error)) {
        s.err << terminalText(fileErrorMessage(FileAction::Open, path, error.Description).text)
              << '\n';
        s.err.flush();
        return kExitFailed;
    }
    const GameRecord& r = record;
    if (r.SecurityMode == SecurityMode::Sealed) {
        // Its turn counter and ending turn are worked out from its values, never read.
        s.out << "Game:          " << terminalLine(r.GameName) << '\n'
              << "Version:       " << terminalLine(r.Version) << '\n'
              << "Type:          " << gameTypeText(r.GameType) << '\n'
              << "Mode:          " << securityModeText(r.SecurityMode) << '\n'
              << "Player #1:     " << terminalLine(r.Player1Name) << '\n'
              << "Player #2:     " << terminalLine(r.Player2Name) << '\n'
              << "Turns:         " << r.TotalTurns << '\n'
              << "Modifier:      " << r.TurnVariance << '\n';
        return printSealedInfo(r, keyFolder, s) ? kExitGoesOn : kExitFailed;
    }
    const int firstCheck = r.TotalTurns - r.TurnVariance;
    s.out << "Game:          " << terminalLine(r.GameName) << '\n'
          << "Version:       " << terminalLine(r.Version)
          << (supportedVersions().contains(r.Version) ? "" : " (not supported by this program)")
          << '\n'
          << "Type:          " << gameTypeText(r.GameType) << '\n'
          << "Mode:          " << securityModeText(r.SecurityMode) << '\n'
          << "Player #1:     " << terminalLine(r.Player1Name) << '\n'
          << "Player #2:     " << terminalLine(r.Player2Name) << '\n'
          << "Turns:         " << r.TotalTurns << '\n'
          << "Modifier:      " << r.TurnVariance << '\n'
          << "Last checked:  "
          << (r.CurrentTurn >= firstCheck ? QString::number(r.CurrentTurn) : QStringLiteral("none"))
          << '\n'
          << "Next to check: "
          << (isBattleOver(r) && r.EndingTurn != -1 ? QStringLiteral("none, the battle is over")
                                                    : QString::number(r.CurrentTurn + 1))
          << '\n';
    if (r.SecurityMode == SecurityMode::Secure) {
        const auto describe = [&r](int player) {
            return QStringLiteral("player #%1 (%2)")
                .arg(player)
                .arg(terminalLine(playerName(r, player)));
        };
        if (r.CurrentPlayer == 1 || r.CurrentPlayer == 2)
            s.out << "Held by:       " << describe(r.CurrentPlayer) << '\n';
        if (r.DestinationPlayer == 1 || r.DestinationPlayer == 2)
            s.out << "Goes next to:  " << describe(r.DestinationPlayer) << '\n';
    }
    s.out.flush();
    return kExitGoesOn;
}

} // namespace

int run(const QStringList& arguments, Streams s)
{
    if (arguments.isEmpty())
        return usageError(s, QStringLiteral("No command given."));
    const QString command = arguments.first();
    const auto isHelp = [](const QString& a) {
        return a == QLatin1String("--help") || a == QLatin1String("-h");
    };
    // "--help" first, or right after the command, asks for the usage.
    if (isHelp(command) || (arguments.size() == 2 && isHelp(arguments.at(1)))) {
        s.out << kUsage;
        s.out.flush();
        return kExitGoesOn;
    }
    if (command == QLatin1String("--version") || command == QLatin1String("-v")) {
        s.out << "turnpicker-cli " << appinfo::kVersionText << " (" << appinfo::kProductName
              << ")\n";
        s.out.flush();
        return kExitGoesOn;
    }
    if (command == QLatin1String("new"))
        return newCommand(arguments, s);
    const bool check = command == QLatin1String("check");
    if (check || command == QLatin1String("info") || command == QLatin1String("join")) {
        QStringList rest = arguments.sliced(1);
        const bool passwordFromStdin = check && rest.removeAll(QLatin1String(kPasswordStdin)) > 0;
        QString keyFolder = sealed::defaultKeyFolder();
        if (const qsizetype at = rest.indexOf(QLatin1String(kKeys)); at >= 0) {
            if (at + 1 >= rest.size())
                return usageError(s, QStringLiteral("--keys needs a folder."));
            keyFolder = rest.takeAt(at + 1);
            rest.removeAt(at);
        }
        if (rest.size() != 1)
            return usageError(s, QStringLiteral("'%1' takes exactly one FILE.").arg(command));
        if (check)
            return checkCommand(rest.at(0), passwordFromStdin, keyFolder, s);
        if (command == QLatin1String("join"))
            return joinCommand(rest.at(0), keyFolder, s);
        return infoCommand(rest.at(0), keyFolder, s);
    }
    return usageError(s, QStringLiteral("Unknown command '%1'.").arg(command));
}

} // namespace tfp::cli
