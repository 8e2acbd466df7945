#include "game/sealedplay.h"

#include "appversion.h"
#include "game/versions.h"

#include <QList>

namespace tfp::sealed {
namespace {

bool fail(QString& problem, const QString& text)
{
    problem = text;
    return false;
}

QByteArray randomBytes(QRandomGenerator& random, int count)
{
    QList<quint32> words(count / 4);
    random.fillRange(words.data(), words.size());
    return QByteArray(reinterpret_cast<const char*>(words.constData()), count);
}

QString commitmentChanged(int player)
{
    return QStringLiteral("The sealed game was tampered with: player #%1's commitment is not the "
                          "one this computer saw when the game began.")
        .arg(player);
}

} // namespace

QString messageTitle()
{
    return QLatin1String(appinfo::kProductName) + QStringLiteral(" - Sealed Game");
}

Message refusalMessage(const QString& problem)
{
    return {messageTitle(), problem + QStringLiteral("\r\n\r\nThe game file was not changed.")};
}

bool verifyGame(const GameRecord& record, const QString& keyFolder, Standing& standing,
                QString& problem)
{
    // What this computer pinned is compared first, so that a changed setup or a swapped chain
    // is named as such rather than by what follows from it.
    Key key;
    KeyRead found = KeyRead::Missing;
    if (const std::optional<QByteArray> game = readHex(record.SealedGame, kGameIdBytes)) {
        found = readKey(keyFolder, *game, key, problem);
        if (found == KeyRead::Unreadable)
            return false;
    }
    if (found == KeyRead::Found) {
        const std::optional<QByteArray> commit1 = readHex(record.SealedCommit1, kValueBytes);
        const std::optional<QByteArray> commit2 = readHex(record.SealedCommit2, kValueBytes);
        if (commit1 != key.commit1)
            return fail(problem, commitmentChanged(1));
        if (!key.commit2.isEmpty() && commit2 && *commit2 != key.commit2)
            return fail(problem, commitmentChanged(2));
        if (key.setup != setupDigest(record, key.game, key.commit1))
            return fail(problem, QStringLiteral("The sealed game was tampered with: its name, "
                                                "players, turns, modifier or type are not those "
                                                "this computer saw when the game began."));
    }
    Standing s;
    if (!readState(record, s.state, problem))
        return false;
    const State& state = s.state;
    s.keyPath = keyPath(keyFolder, state.game);
    if (found == KeyRead::Missing) {
        s.role = state.stage == Stage::Over      ? Role::Over
                 : state.stage == Stage::Created ? Role::OfferJoin
                                                 : Role::NoKey;
        standing = s;
        return true;
    }
    const QByteArray& own = key.player == 1 ? state.commit1 : state.commit2;
    if (!own.isEmpty() && chainValue(key.seed, 0, state.window.width) != own)
        return fail(problem, commitmentChanged(key.player));
    const bool joinLost = !key.commit2.isEmpty() && state.commit2.isEmpty() && key.player == 1;
    if (state.checked < key.checked || joinLost)
        return fail(
            problem,
            QStringLiteral("This is an older copy of the game: this computer has "
                           "already seen %1. Open the latest file.")
                .arg(key.checked > 0
                         ? QStringLiteral("turn %1 checked").arg(state.gameTurn(key.checked))
                         : QStringLiteral("player #2 join")));
    Key pinned = key;
    if (pinned.commit2.isEmpty() && !state.commit2.isEmpty())
        pinned.commit2 = state.commit2;
    pinned.checked = std::max(key.checked, state.checked);
    s.keyChanged = pinned != key;
    s.key = pinned;
    switch (state.stage) {
    case Stage::Over:
        s.role = Role::Over;
        break;
    case Stage::Created:
        // Player #2's key before a join is left from a join whose save failed: it is taken again.
        s.role = key.player == 2 ? Role::OfferJoin : Role::WaitForOther;
        break;
    case Stage::GoingOn:
        s.role = state.nextPlayer() == key.player ? Role::Check : Role::WaitForOther;
        break;
    }
    standing = s;
    return true;
}

bool pinKey(const QString& keyFolder, const Standing& standing, QString& problem)
{
    return !standing.keyChanged || !standing.key || writeKey(keyFolder, *standing.key, problem);
}

bool createGame(GameRecord& record, const QString& keyFolder, QString& problem,
                QRandomGenerator& random)
{
    const std::optional<Window> window =
        endingWindow(record.TotalTurns, record.TurnVariance, record.GameType);
    if (!window)
        return fail(problem, QStringLiteral("A sealed game needs 1 to 99 turns and a modifier "
                                            "below the turns."));
    State state;
    state.window = *window;
    state.game = randomBytes(random, kGameIdBytes);
    Key key;
    key.game = state.game;
    key.player = 1;
    key.seed = randomBytes(random, kSeedBytes);
    state.commit1 = chainValue(key.seed, 0, window->width);
    state.reveal1 = Reveal{0, state.commit1};
    key.commit1 = state.commit1;
    key.setup = setupDigest(record, state.game, state.commit1);
    if (!writeKey(keyFolder, key, problem))
        return false;
    record.SecurityMode = SecurityMode::Sealed;
    record.Version = QLatin1String(kSealedGameVersion);
    record.Player1Pwd.clear();
    record.Player2Pwd.clear();
    applyState(state, record);
    return true;
}

bool joinGame(GameRecord& record, const QString& keyFolder, QString& problem,
              QRandomGenerator& random)
{
    State state;
    if (!readState(record, state, problem))
        return false;
    if (state.stage != Stage::Created)
        return fail(problem, QStringLiteral("This game does not wait for player #2 to join: "
                                            "player #2 has joined it already."));
    const QByteArray setup = setupDigest(record, state.game, state.commit1);
    Key key;
    switch (readKey(keyFolder, state.game, key, problem)) {
    case KeyRead::Unreadable:
        return false;
    case KeyRead::Found:
        if (key.player == 1)
            return fail(problem, QStringLiteral("Player #1's key for this game is on this "
                                                "computer. Player #2 must join on their own "
                                                "computer: nobody may hold both players' keys."));
        if (key.setup != setup || key.commit1 != state.commit1)
            return fail(problem, commitmentChanged(1));
        break; // a join whose save failed: the same seed again
    case KeyRead::Missing:
        key = Key{state.game, 2, randomBytes(random, kSeedBytes), setup, state.commit1, {}, 0};
        key.commit2 = chainValue(key.seed, 0, state.window.width);
        if (!writeKey(keyFolder, key, problem))
            return false;
        break;
    }
    state.commit2 = key.commit2;
    state.reveal2 = Reveal{1, chainValue(key.seed, 1, state.window.width)};
    state.stage = Stage::GoingOn;
    state.checked = 0;
    applyState(state, record);
    return true;
}

bool checkTurn(GameRecord& record, const Standing& standing)
{
    State state = standing.state;
    const Key& key = *standing.key;
    const int width = state.window.width;
    const int k = state.checked + 1;
    Reveal& own = key.player == 1 ? state.reveal1 : state.reveal2;
    const Reveal& other = key.player == 1 ? state.reveal2 : state.reveal1;
    const QByteArray value = chainValue(key.seed, k, width);
    const QByteArray& value1 = key.player == 1 ? value : other.value;
    const QByteArray& value2 = key.player == 1 ? other.value : value;
    const bool ends =
        turnEnds(turnValue(state.game, state.commit1, state.commit2, k, value1, value2), k, width);
    own = ends ? Reveal{k, value} : Reveal{k + 1, chainValue(key.seed, k + 1, width)};
    state.checked = k;
    state.stage = ends ? Stage::Over : Stage::GoingOn;
    applyState(state, record);
    return ends;
}

void noteChecked(const QString& keyFolder, Standing& standing, const GameRecord& record)
{
    QString problem;
    if (!standing.key || !readState(record, standing.state, problem))
        return;
    standing.key->checked = std::max(standing.key->checked, standing.state.checked);
    // The count only guards against older copies: the game file, saved already, is the
    // record of the check, so a key that cannot be updated now is updated at the next opening.
    (void)writeKey(keyFolder, *standing.key, problem);
}

} // namespace tfp::sealed
