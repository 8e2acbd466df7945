// Sealed play as a cheating player would try it: the ending turn's exact distribution, the
// decision at its edges, many simulated games, a whole game between two computers' key
// folders, and every tampering, replay and second join refused with its reason.
#include "game/draw.h"
#include "game/sealedplay.h"
#include "testsupport.h"

#include <functional>
#include <numeric>
#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>

using namespace tfp;
using namespace tfp::sealed;
using namespace tfp::test;

namespace {

constexpr quint64 kMax = ~quint64(0);
constexpr quint32 kGoesOnAtFirstCheck = 3; // the sample game from this seed goes on at turn 17

struct DrawRow
{
    quint64 u;
    quint64 sum;
    quint64 weight;
    std::optional<bool> ends;
};

// Two players, each with a key folder of their own, and the game as it travels.
struct Table
{
    QTemporaryDir dir;
    QString folder1 = dir.filePath("anna");
    QString folder2 = dir.filePath("ben");
    GameRecord game = basicGame(0, 0);

    // The sample game's setup, with ids and seeds drawn from `seed`.
    explicit Table(quint32 seed)
    {
        QRandomGenerator random(seed);
        QString problem;
        if (!createGame(game, folder1, problem, random) ||
            !joinGame(game, folder2, problem, random))
            qWarning("could not begin: %s", qPrintable(problem));
    }

    // The folder of the player who checks next.
    [[nodiscard]] QString nextFolder() const
    {
        State state;
        QString problem;
        return readState(game, state, problem) && state.nextPlayer() == 1 ? folder1 : folder2;
    }

    // One check by the player whose turn it is; false when it could not be made.
    bool check()
    {
        Standing standing;
        QString problem;
        const QString folder = nextFolder();
        if (!verifyGame(game, folder, standing, problem) || standing.role != Role::Check) {
            qWarning("cannot check: %s", qPrintable(problem));
            return false;
        }
        (void)sealed::checkTurn(game, standing);
        noteChecked(folder, standing, game);
        return true;
    }

    // v[k] of a player's chain, from their key.
    [[nodiscard]] QByteArray chainOf(int player, int k) const
    {
        Key key;
        QString problem;
        State state;
        if (!readState(game, state, problem) ||
            readKey(player == 1 ? folder1 : folder2, state.game, key, problem) != KeyRead::Found)
            return {};
        return chainValue(key.seed, k, state.window.width);
    }
};

QString verifyProblem(const GameRecord& record, const QString& folder)
{
    Standing standing;
    QString problem;
    return verifyGame(record, folder, standing, problem) ? QString() : problem;
}

// Changes the last hex digit of a value.
void flipLastDigit(QString& text)
{
    text.back() = QChar(text.back() == u'0' ? u'1' : u'0');
}

using Change = std::function<void(Table&)>;
struct TamperRow
{
    Change change;
    QString problem;
};

} // namespace

class SealedTest : public QObject
{
    Q_OBJECT

private slots:
    // Deciding each window turn in order with probability w_k / S_k ends the battle on turn k
    // with probability w_k / S_1: the draw's 1 : 2 : ... : 2 : 1 over the range it describes.
    void endingWindow_everySetup_matchesTheDraw()
    {
        for (const GameType type : {GameType::Scenario, GameType::QuickBattle}) {
            for (qint16 turns = 1; turns <= 99; ++turns) {
                for (qint16 m = 0; m < turns; ++m) {
                    const std::optional<Window> w = endingWindow(turns, m, type);
                    QVERIFY(w);
                    const int last = w->lowest + w->width - 1;
                    QVERIFY(describeEndingRange(turns, m, type)
                                .startsWith(QString("%1 and %2 ").arg(w->lowest).arg(last)));
                    const int total = weightFrom(1, w->width);
                    QCOMPARE(total, m == 0 ? 1 : (type == GameType::Scenario ? 2 * m : 4 * m));
                    // Reaching turn k has probability S_k / S_1; ending there w_k / S_1.
                    qint64 reachNumerator = 1, reachDenominator = 1;
                    for (int k = 1; k <= w->width; ++k) {
                        const int weight = turnWeight(k, w->width);
                        const int sum = weightFrom(k, w->width);
                        QCOMPARE(reachNumerator * total, reachDenominator * sum);
                        QCOMPARE(weight, k == 1 || k == w->width ? 1 : 2);
                        reachNumerator *= sum - weight;
                        reachDenominator *= sum;
                        const qint64 divisor = std::gcd(reachNumerator, reachDenominator);
                        reachNumerator /= divisor;
                        reachDenominator /= divisor;
                    }
                    QCOMPARE(reachNumerator, 0);
                }
            }
        }
        QCOMPARE(endingWindow(20, 20, GameType::Scenario), std::nullopt);
        QCOMPARE(endingWindow(100, 0, GameType::Scenario), std::nullopt);
        QCOMPARE(endingWindow(20, 3, GameType(2)), std::nullopt);
    }

    void decideDraw_edges_data()
    {
        addRowColumn<DrawRow>();
        // 2^64 mod 3 = 1, so L = 2^64 - 1: only the largest u is drawn again.
        addRow<DrawRow>("sum 3, u = L - 1", kMax - 1, 3u, 1u, false); // (2^64 - 2) mod 3 = 2
        addRow<DrawRow>("sum 3, u = L", kMax, 3u, 1u, std::nullopt);
        addRow<DrawRow>("sum 3, u = 0", quint64(0), 3u, 1u, true);
        // 2^64 mod 6 = 4: L = 2^64 - 4.
        addRow<DrawRow>("sum 6, u = L - 1", kMax - 4, 6u, 2u, false); // (2^64 - 5) mod 6 = 5
        addRow<DrawRow>("sum 6, u = L", kMax - 3, 6u, 2u, std::nullopt);
        addRow<DrawRow>("sum 6, u = 2^64 - 1", kMax, 6u, 2u, std::nullopt);
        addRow<DrawRow>("sum 6, u = 7", quint64(7), 6u, 2u, true);
        // A power of two divides 2^64: nothing is drawn again.
        addRow<DrawRow>("sum 4, u = 2^64 - 1", kMax, 4u, 2u, false);
        addRow<DrawRow>("sum 4, u = 2^64 - 3", kMax - 2, 4u, 2u, true);
        addRow<DrawRow>("sum 1 always ends", kMax, 1u, 1u, true);
    }

    void decideDraw_edges()
    {
        QFETCH(DrawRow, row);
        QCOMPARE(decideDraw(row.u, row.sum, row.weight), row.ends);
    }

    // A turn value whose first 8 bytes are drawn again is hashed, and the hash decides.
    void turnEnds_rejectedValue_decidedByItsHash()
    {
        QByteArray value(32, '\xff'); // u = 2^64 - 1, at L for a sum of 3
        const QByteArray next = hash(value);
        const quint64 u = qFromBigEndian<quint64>(next.constData());
        // Window of 3 turns, turn 2: weight 2 of a sum of 3.
        QCOMPARE(turnEnds(value, 2, 3), u % 3 < 2);
        QCOMPARE(turnEnds(value, 3, 3), true);
    }

    void chainValue_revealsProveThemselves()
    {
        const QByteArray seed(kSeedBytes, 'x');
        const QByteArray commit = chainValue(seed, 0, 5);
        QCOMPARE(chainValue(seed, 5, 5), hash(seed));
        for (int k = 1; k <= 5; ++k)
            QCOMPARE(hashTimes(chainValue(seed, k, 5), k), commit);
        QVERIFY(hashTimes(chainValue(seed, 3, 5), 2) != commit);
    }

    void readReveal_onlyCanonicalForms_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("index"); // 0: refused
        const QString value(64, u'a');
        QTest::newRow("one digit") << "7:" + value << 7;
        QTest::newRow("three digits") << "199:" + value << 199;
        QTest::newRow("leading zero") << "07:" + value << 0;
        QTest::newRow("zero") << "0:" + value << 0;
        QTest::newRow("four digits") << "1000:" + value << 0;
        QTest::newRow("sign") << "+7:" + value << 0;
        QTest::newRow("upper-case hex") << "7:" + value.toUpper() << 0;
        QTest::newRow("short value") << "7:" + value.left(63) << 0;
        QTest::newRow("no colon") << "7" + value << 0;
    }

    void readReveal_onlyCanonicalForms()
    {
        QFETCH(QString, text);
        QFETCH(int, index);
        const std::optional<Reveal> reveal = readReveal(text);
        QCOMPARE(reveal ? reveal->index : 0, index);
        if (reveal)
            QCOMPARE(revealText(*reveal), text);
    }

    // Many games from fixed seeds: the ending turns follow the weights (chi-square, at the
    // 0.1 % level for the degrees of freedom of each window).
    void simulatedGames_endingTurnsFollowTheWeights_data()
    {
        QTest::addColumn<int>("modifier");
        QTest::addColumn<GameType>("type");
        QTest::addColumn<double>("critical"); // chi-square at 0.1 % for width - 1 degrees
        QTest::newRow("scenario, modifier 1") << 1 << GameType::Scenario << 10.83;
        QTest::newRow("scenario, modifier 3") << 3 << GameType::Scenario << 16.27;
        QTest::newRow("quick battle, modifier 3") << 3 << GameType::QuickBattle << 24.32;
        QTest::newRow("scenario, modifier 8") << 8 << GameType::Scenario << 26.12;
    }

    void simulatedGames_endingTurnsFollowTheWeights()
    {
        QFETCH(int, modifier);
        QFETCH(GameType, type);
        QFETCH(double, critical);
        const Window w = endingWindow(20, qint16(modifier), type).value();
        QRandomGenerator random(quint32(1000 + modifier * 10 + int(type)));
        constexpr int kGames = 6000;
        QList<int> ends(w.width + 1, 0);
        for (int game = 0; game < kGames; ++game) {
            QByteArray bytes(16 + 2 * kSeedBytes, '\0');
            random.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
            const QByteArray id = bytes.left(16);
            const QByteArray seed1 = bytes.mid(16, kSeedBytes), seed2 = bytes.right(kSeedBytes);
            QList<QByteArray> chain1(w.width + 1), chain2(w.width + 1);
            chain1[w.width] = hash(seed1);
            chain2[w.width] = hash(seed2);
            for (int k = w.width; k > 0; --k) {
                chain1[k - 1] = hash(chain1[k]);
                chain2[k - 1] = hash(chain2[k]);
            }
            int k = 1;
            while (
                !turnEnds(turnValue(id, chain1[0], chain2[0], k, chain1[k], chain2[k]), k, w.width))
                ++k;
            ++ends[k];
        }
        double chiSquare = 0;
        for (int k = 1; k <= w.width; ++k) {
            const double expected =
                kGames * double(turnWeight(k, w.width)) / double(weightFrom(1, w.width));
            chiSquare += (ends[k] - expected) * (ends[k] - expected) / expected;
        }
        qInfo("chi-square %.2f for %d turns (0.1 %% critical value %.2f)", chiSquare, w.width,
              critical);
        QVERIFY2(chiSquare < critical, qPrintable(QString::number(chiSquare)));
    }

    // Two computers play a game to its end; every file on the way is verified from scratch,
    // and no seed ever appears in it.
    void wholeGame_twoKeyFolders_playsToTheEnd()
    {
        Table table(1);
        Key key1, key2;
        QString problem;
        State state;
        QVERIFY(readState(table.game, state, problem));
        QCOMPARE(readKey(table.folder1, state.game, key1, problem), KeyRead::Found);
        QCOMPARE(readKey(table.folder2, state.game, key2, problem), KeyRead::Found);
        QCOMPARE(QList<int>({key1.player, key2.player}), QList<int>({1, 2}));
        QCOMPARE(state.stage, Stage::GoingOn);
        QCOMPARE(table.game.CurrentTurn, 16);
        for (int checks = 1; state.stage == Stage::GoingOn; ++checks) {
            QVERIFY(checks <= 4);
            QVERIFY(table.check());
            QTemporaryDir files;
            QVERIFY(saveGame(table.game, files.filePath("game.tfp")));
            const GameRecord read = loadGame(table.game.FilePath);
            QVERIFY2(readState(read, state, problem), qPrintable(problem));
            const QString plain = plainDataLine(read);
            for (const Key& key : {key1, key2})
                QVERIFY(!plain.contains(QString::fromLatin1(key.seed.toHex())));
            QCOMPARE(read.CurrentTurn, 16 + checks);
            QCOMPARE(state.checked, checks);
        }
        QCOMPARE(table.game.EndingTurn, table.game.CurrentTurn);
        QVERIFY(table.game.EndingTurn >= 17 && table.game.EndingTurn <= 20);
        for (const QString& folder : {table.folder1, table.folder2}) {
            Standing standing;
            QVERIFY(verifyGame(table.game, folder, standing, problem));
            QCOMPARE(standing.role, Role::Over);
        }
    }

    // What a player who reads this source might change in a game in progress, where player #1
    // has checked turn 17 and player #2 is to check turn 18: each is found by player #1's
    // computer, with its reason.
    void verifyGame_tamperedFile_refusedWithReason_data()
    {
        addRowColumn<TamperRow>();
        const QString tampered = "The sealed game was tampered with: ";
        const QString setup = tampered + "its name, players, turns, modifier or type";
        const auto row = [](const char* name, Change change, const QString& problem) {
            addRow<TamperRow>(name, std::move(change), problem);
        };
        row(
            "player #1's commitment", [](Table& t) { flipLastDigit(t.game.SealedCommit1); },
            tampered + "player #1's commitment");
        row(
            "player #2's commitment", [](Table& t) { flipLastDigit(t.game.SealedCommit2); },
            tampered + "player #2's commitment");
        row(
            "a bit of a reveal", [](Table& t) { flipLastDigit(t.game.SealedReveal2); },
            tampered + "the value revealed for player #2 does not belong");
        row(
            "a reveal's index", [](Table& t) { t.game.SealedReveal2.replace(0, 1, "2"); },
            tampered + "the value revealed for player #2 does not belong");
        row(
            "player #1 reveals turn 19's value early",
            [](Table& t) {
                t.game.SealedReveal1 = revealText({3, t.chainOf(1, 3)});
            },
            tampered + "player #1 has revealed 3 values and player #2 1");
        row(
            "CurrentTurn", [](Table& t) { t.game.CurrentTurn = 18; },
            tampered + "the value 'CurrentTurn' does not agree");
        row(
            "EndingTurn", [](Table& t) { t.game.EndingTurn = 17; },
            tampered + "the value 'EndingTurn' does not agree");
        row(
            "a marker", [](Table& t) { t.game.Player1LastTurn = 0; },
            tampered + "the value 'Player1LastTurn' does not agree");
        row(
            "turns", [](Table& t) { t.game.TotalTurns = 21; }, setup);
        row(
            "modifier", [](Table& t) { t.game.TurnVariance = 2; }, setup);
        row(
            "type", [](Table& t) { t.game.GameType = GameType::QuickBattle; }, setup);
        row(
            "a name", [](Table& t) { t.game.Player2Name = "Bert"; }, setup);
        row(
            "mode Basic", [](Table& t) { t.game.SecurityMode = SecurityMode::Basic; },
            "The game's security mode was changed: it holds the values of a sealed game, but "
            "is marked Basic.");
        row(
            "mode Secure", [](Table& t) { t.game.SecurityMode = SecurityMode::Secure; },
            "The game's security mode was changed: it holds the values of a sealed game, but "
            "is marked Secure.");
        row(
            "another game's values under this game's id",
            [](Table& t) {
                Table other(2);
                const QString id = t.game.SealedGame;
                t.game = other.game;
                t.game.SealedGame = id;
            },
            tampered + "player #1's commitment");
        row(
            "player #2 swaps their whole chain for one where turn 17 still goes on",
            [](Table& t) {
                const GameRecord honest = t.game;
                QString problem;
                State state;
                quint32 seed = 100;
                do { // the cheat a player who reads code would grind for
                    Table fresh(++seed);
                    t.game = honest;
                    t.game.SealedCommit2 = fresh.game.SealedCommit2;
                    t.game.SealedReveal2 = fresh.game.SealedReveal2;
                } while (!readState(t.game, state, problem));
            },
            tampered + "player #2's commitment");
        row(
            "malformed id", [](Table& t) { t.game.SealedGame = t.game.SealedGame.toUpper(); },
            "The sealed game is damaged: the value 'SealedGame' is malformed.");
    }

    void verifyGame_tamperedFile_refusedWithReason()
    {
        QFETCH(TamperRow, row);
        Table table(kGoesOnAtFirstCheck);
        QVERIFY(table.check());
        QCOMPARE(table.game.EndingTurn, -1);
        QCOMPARE(verifyProblem(table.game, table.folder1), QString());
        row.change(table);
        QCOMPARE(verifyProblem(table.game, table.folder1).left(row.problem.size()), row.problem);
    }
};

QTEST_GUILESS_MAIN(SealedTest)
#include "tst_sealed.moc"
