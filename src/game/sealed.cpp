#include "game/sealed.h"

#include "game/setup.h"
#include "game/shown.h"
#include "game/versions.h"

#include <QCryptographicHash>
#include <QtEndian>

namespace tfp::sealed {
namespace {

bool fail(QString& problem, const QString& text)
{
    problem = text;
    return false;
}

bool isLowerHex(const QString& text)
{
    for (const QChar c : text) {
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f')))
            return false;
    }
    return true;
}

// The player markers a game shows after `checked` window turns: each player's last checked
// game turn, 0 for none.
qint16 lastTurnOf(const State& state, int player)
{
    int k = state.checked;
    if (k > 0 && checkerOf(k) != player)
        --k;
    return k > 0 ? state.gameTurn(k) : qint16(0);
}

QString malformed(const QString& element)
{
    return QStringLiteral("The sealed game is damaged: the value '%1' is malformed.").arg(element);
}

} // namespace

std::optional<Window> endingWindow(qint16 turns, qint16 modifier, GameType type)
{
    if (turns < kMinTurns || turns > kMaxTurns || modifier < 0 || modifier > turns - 1)
        return std::nullopt;
    switch (type) {
    case GameType::Scenario:
        return Window{turns - modifier, modifier + 1};
    case GameType::QuickBattle:
        return Window{turns - modifier, 2 * modifier + 1};
    }
    return std::nullopt;
}

int turnWeight(int k, int width)
{
    return k == 1 || k == width ? 1 : 2;
}

int weightFrom(int k, int width)
{
    int sum = 0;
    for (int i = k; i <= width; ++i)
        sum += turnWeight(i, width);
    return sum;
}

QByteArray hash(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

QByteArray hashTimes(QByteArray value, int times)
{
    for (int i = 0; i < times; ++i)
        value = hash(value);
    return value;
}

QByteArray chainValue(const QByteArray& seed, int index, int width)
{
    return hashTimes(seed, width - index + 1);
}

QByteArray turnValue(const QByteArray& game, const QByteArray& commit1, const QByteArray& commit2,
                     int k, const QByteArray& value1, const QByteArray& value2)
{
    uchar turn[2];
    qToBigEndian(quint16(k), turn);
    QCryptographicHash h(QCryptographicHash::Sha256);
    h.addData(QByteArrayView(kTurnLabel));
    h.addData(game);
    h.addData(commit1);
    h.addData(commit2);
    h.addData(QByteArrayView(turn, 2));
    h.addData(value1);
    h.addData(value2);
    return h.result();
}

std::optional<bool> decideDraw(quint64 u, quint64 sum, quint64 weight)
{
    // 2^64 mod sum, computed in 64 bits as (2^64 - sum) mod sum; when it is 0 every u is
    // below the limit L = 2^64 - (2^64 mod sum).
    const quint64 excess = (quint64(0) - sum) % sum;
    if (excess != 0 && u >= quint64(0) - excess)
        return std::nullopt;
    return u % sum < weight;
}

bool turnEnds(QByteArray value, int k, int width)
{
    const auto sum = quint64(weightFrom(k, width));
    const auto weight = quint64(turnWeight(k, width));
    for (;;) {
        const quint64 u = qFromBigEndian<quint64>(value.constData());
        if (const std::optional<bool> ends = decideDraw(u, sum, weight))
            return *ends;
        value = hash(value);
    }
}

QString hexText(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex());
}

std::optional<QByteArray> readHex(const QString& text, int bytes)
{
    if (text.size() != 2 * bytes || !isLowerHex(text))
        return std::nullopt;
    return QByteArray::fromHex(text.toLatin1());
}

QString revealText(const Reveal& reveal)
{
    return QString::number(reveal.index) + u':' + hexText(reveal.value);
}

std::optional<Reveal> readReveal(const QString& text)
{
    // One to three decimal digits without a leading zero, a colon and the value.
    const qsizetype colon = text.indexOf(u':');
    if (colon < 1 || colon > 3 || text.startsWith(u'0'))
        return std::nullopt;
    int index = 0;
    for (const QChar c : text.left(colon)) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        index = index * 10 + (c.unicode() - u'0');
    }
    const std::optional<QByteArray> value = readHex(text.mid(colon + 1), kValueBytes);
    if (!value)
        return std::nullopt;
    return Reveal{index, *value};
}

int State::nextPlayer() const
{
    switch (stage) {
    case Stage::Created:
        return 2;
    case Stage::GoingOn:
        return checkerOf(checked + 1);
    case Stage::Over:
        break;
    }
    return kNoPlayer;
}

int State::lastPlayer() const
{
    // Player #2's join counts as the save before window turn 1.
    return stage == Stage::Created ? 1 : checkerOf(checked);
}

bool hasSealedElements(const GameRecord& r)
{
    return !r.SealedGame.isEmpty() || !r.SealedCommit1.isEmpty() || !r.SealedCommit2.isEmpty() ||
           !r.SealedReveal1.isEmpty() || !r.SealedReveal2.isEmpty();
}

bool readState(const GameRecord& r, State& state, QString& problem)
{
    State s;
    if (r.SecurityMode != SecurityMode::Sealed)
        return fail(problem, QStringLiteral("The game's security mode was changed: it holds the "
                                            "values of a sealed game, but is marked %1.")
                                 .arg(securityModeText(r.SecurityMode)));
    if (r.Version != QLatin1String(kSealedGameVersion))
        return fail(problem, QStringLiteral("The sealed game is damaged: it is marked as "
                                            "version %1, where sealed games are %2.")
                                 .arg(shownText(r.Version), QLatin1String(kSealedGameVersion)));
    if (!r.Player1Pwd.isEmpty() || !r.Player2Pwd.isEmpty())
        return fail(problem, QStringLiteral("The sealed game is damaged: it holds a password, "
                                            "which sealed games never have."));
    const std::optional<Window> window = endingWindow(r.TotalTurns, r.TurnVariance, r.GameType);
    if (!window)
        return fail(problem, QStringLiteral("The sealed game's setup was changed: %1 turns with "
                                            "a modifier of %2 are no game's setup.")
                                 .arg(r.TotalTurns)
                                 .arg(r.TurnVariance));
    s.window = *window;

    const std::optional<QByteArray> game = readHex(r.SealedGame, kGameIdBytes);
    const std::optional<QByteArray> commit1 = readHex(r.SealedCommit1, kValueBytes);
    if (!game)
        return fail(problem, malformed(QStringLiteral("SealedGame")));
    if (!commit1)
        return fail(problem, malformed(QStringLiteral("SealedCommit1")));
    s.game = *game;
    s.commit1 = *commit1;
    s.reveal1 = Reveal{0, s.commit1};

    if (r.SealedCommit2.isEmpty()) {
        if (!r.SealedReveal1.isEmpty() || !r.SealedReveal2.isEmpty())
            return fail(problem, QStringLiteral("The sealed game is damaged: it holds revealed "
                                                "values before player #2 joined."));
        s.stage = Stage::Created;
    } else {
        const std::optional<QByteArray> commit2 = readHex(r.SealedCommit2, kValueBytes);
        if (!commit2)
            return fail(problem, malformed(QStringLiteral("SealedCommit2")));
        s.commit2 = *commit2;
        const std::optional<Reveal> reveal2 = readReveal(r.SealedReveal2);
        if (!reveal2)
            return fail(problem, malformed(QStringLiteral("SealedReveal2")));
        s.reveal2 = *reveal2;
        if (!r.SealedReveal1.isEmpty()) {
            const std::optional<Reveal> reveal1 = readReveal(r.SealedReveal1);
            if (!reveal1)
                return fail(problem, malformed(QStringLiteral("SealedReveal1")));
            s.reveal1 = *reveal1;
        }
        const Reveal* reveals[] = {&s.reveal1, &s.reveal2};
        const QByteArray* commits[] = {&s.commit1, &s.commit2};
        for (int player = 1; player <= 2; ++player) {
            const Reveal& reveal = *reveals[player - 1];
            if (reveal.index > s.window.width ||
                hashTimes(reveal.value, reveal.index) != *commits[player - 1])
                return fail(problem, QStringLiteral("The sealed game was tampered with: the "
                                                    "value revealed for player #%1 does not "
                                                    "belong to player #%1's commitment.")
                                         .arg(player));
        }
        // The last checker (player #2 for the join) is one value ahead of the other, or, once
        // the battle is over, level with them.
        const int a = s.reveal1.index;
        const int b = s.reveal2.index;
        if (a == b) {
            s.stage = Stage::Over;
            s.checked = a;
        } else if (std::abs(a - b) == 1 && checkerOf(std::min(a, b)) == (a > b ? 1 : 2)) {
            s.stage = Stage::GoingOn;
            s.checked = std::min(a, b);
        } else {
            return fail(problem, QStringLiteral("The sealed game was tampered with: player #1 "
                                                "has revealed %1 values and player #2 %2, which "
                                                "no game in play can hold.")
                                     .arg(a)
                                     .arg(b));
        }
        for (int k = 1; k <= s.checked; ++k) {
            const QByteArray value1 = hashTimes(s.reveal1.value, a - k);
            const QByteArray value2 = hashTimes(s.reveal2.value, b - k);
            const bool ends = turnEnds(turnValue(s.game, s.commit1, s.commit2, k, value1, value2),
                                       k, s.window.width);
            const bool last = k == s.checked && s.stage == Stage::Over;
            if (ends != last)
                return fail(problem,
                            QStringLiteral("The sealed game was tampered with: turn %1 %2 the "
                                           "ending turn, but the file says otherwise.")
                                .arg(s.gameTurn(k))
                                .arg(ends ? QStringLiteral("is") : QStringLiteral("is not")));
        }
    }

    GameRecord expected = r;
    applyState(s, expected);
    // The values that follow from the turns checked.
    const std::pair<const char*, std::pair<int, int>> derived[] = {
        {"CurrentTurn", {expected.CurrentTurn, r.CurrentTurn}},
        {"EndingTurn", {expected.EndingTurn, r.EndingTurn}},
        {"Player1LastTurn", {expected.Player1LastTurn, r.Player1LastTurn}},
        {"Player2LastTurn", {expected.Player2LastTurn, r.Player2LastTurn}},
        {"CurrentPlayer", {expected.CurrentPlayer, r.CurrentPlayer}},
        {"DestinationPlayer", {expected.DestinationPlayer, r.DestinationPlayer}},
    };
    for (const auto& [element, values] : derived) {
        if (values.first != values.second)
            return fail(problem, QStringLiteral("The sealed game was tampered with: the value "
                                                "'%1' does not agree with the turns checked.")
                                     .arg(QLatin1String(element)));
    }
    state = s;
    return true;
}

void applyState(const State& s, GameRecord& r)
{
    r.CurrentTurn = qint16(s.window.lowest - 1 + s.checked);
    r.EndingTurn = s.stage == Stage::Over ? r.CurrentTurn : qint16(-1);
    r.Player1LastTurn = lastTurnOf(s, 1);
    r.Player2LastTurn = lastTurnOf(s, 2);
    r.CurrentPlayer = s.lastPlayer();
    r.DestinationPlayer = otherPlayer(r.CurrentPlayer);
    r.SealedGame = hexText(s.game);
    r.SealedCommit1 = hexText(s.commit1);
    r.SealedCommit2 = s.commit2.isEmpty() ? QString() : hexText(s.commit2);
    r.SealedReveal1 = s.reveal1.index == 0 ? QString() : revealText(s.reveal1);
    r.SealedReveal2 = s.reveal2.index == 0 ? QString() : revealText(s.reveal2);
}

} // namespace tfp::sealed
