// Sealed play as a cheating player would try it: the ending turn's exact distribution, the
// decision at its edges, many simulated games, a whole game between two computers' key
// folders, and every tampering, replay and second join refused with its reason.
#include "game/draw.h"
#include "game/opening.h"
#include "game/turncheck.h"
#include "recorder.h"
#include "testsupport.h"

#include <functional>
#include <numeric>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QtEndian>

using namespace tfp;
using namespace tfp::sealed;
using namespace tfp::test;

namespace {

constexpr quint64 kMax = ~quint64(0);
constexpr quint32 kGoesOnAtFirstCheck = 3; // the sample game from this seed goes on at turn 17

// clang-format off
struct DrawRow { quint64 u, sum, weight; std::optional<bool> ends; };
struct ChiRow { qint16 modifier; GameType type; double critical; };
// clang-format on

// The sample game between two computers, each with a key folder of its own, in one file.
struct Table
{
    QTemporaryDir dir;
    QString path = dir.filePath("ridge.tfp");
    QString folder1 = dir.filePath("anna");
    QString folder2 = dir.filePath("ben");
    Recorder recorder;

    // Created and joined, with ids and seeds drawn from `seed`; not joined when asked.
    explicit Table(quint32 seed, bool join = true)
    {
        QRandomGenerator random(seed);
        GameRecord game = basicGame(0, 0);
        QString problem;
        if (!createGame(game, folder1, problem, random) || !saveGame(game, path) ||
            (join && (!joinGame(game, folder2, problem, random) || !saveGame(game, path))))
            qWarning("could not begin: %s", qPrintable(problem));
    }

    [[nodiscard]] GameRecord game() const { return loadGame(path); }
    [[nodiscard]] QString folder(int computer) const
    {
        return computer == 1 ? folder1 : computer == 2 ? folder2 : dir.filePath("third");
    }

    OpenOutcome open(const QString& folder, JoinOffer join = JoinOffer::Never)
    {
        recorder = Recorder();
        return openGameFile(path, recorder, *QRandomGenerator::system(),
                            QDateTime::currentDateTime(), {folder, join});
    }

    // One check by the player whose turn it is, through the opening and the Check Turn command.
    CheckOutcome check()
    {
        State state;
        QString problem;
        const QString folder =
            readState(game(), state, problem) && state.nextPlayer() == 1 ? folder1 : folder2;
        OpenOutcome opened = open(folder);
        if (!opened.checkAllowed)
            return {};
        return checkTurnCommand(opened.record, recorder, QDateTime::currentDateTime(), folder);
    }

    // v[k] of a player's chain, from their key.
    [[nodiscard]] QByteArray chainOf(int player, int k) const
    {
        Key key;
        QString problem;
        State state;
        if (!readState(game(), state, problem) ||
            readKey(player == 1 ? folder1 : folder2, state.game, key, problem) != KeyRead::Found)
            return {};
        return chainValue(key.seed, k, state.window.width);
    }
};

// Changes the last hex digit of a value.
void flip(QString& text)
{
    text.back() = QChar(text.back() == u'0' ? u'1' : u'0');
}

// clang-format off
struct TamperRow { std::function<void(GameRecord&, Table&)> change; QString problem; };
// Who opens (1 Anna's computer, 2 Ben's, 3 a third) which game (joined or not) how; the
// refusal's first words, or the status message of an opened game.
struct CustodyRow { bool joined; int computer; JoinOffer join; OpenStatus status; QString shown; };
// clang-format on

} // namespace

class SealedTest : public QObject
{
    Q_OBJECT

private slots:
    // The window and the weights against the draw: its range, and 1 : 2 : ... : 2 : 1 over it
    // (the draw's chances, out of 2m in a scenario and 4m in a quick battle).
    void endingWindow_everySetup_matchesTheDraw()
    {
        for (const GameType type : {GameType::Scenario, GameType::QuickBattle}) {
            for (qint16 turns = 1; turns <= 99; ++turns) {
                for (qint16 m = 0; m < turns; ++m) {
                    const Window w = endingWindow(turns, m, type).value();
                    const QString range =
                        QString("%1 and %2 ").arg(w.lowest).arg(w.lowest + w.width - 1);
                    QVERIFY(describeEndingRange(turns, m, type).startsWith(range));
                    QCOMPARE(weightFrom(1, w.width),
                             m == 0 ? 1 : (type == GameType::Scenario ? 2 * m : 4 * m));
                    for (int k = 1; k <= w.width; ++k)
                        QCOMPARE(turnWeight(k, w.width), k == 1 || k == w.width ? 1 : 2);
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

    // Known answers, worked out apart from this code (with Python's hashlib) for seeds of 32
    // bytes 0x11 and 0x22, the id 00 01 .. 0f and a window of 4 turns: the commitments, the
    // turn values and the decisions (turn 19 ends the battle).
    void turnValue_knownAnswers()
    {
        const int width = 4;
        const QByteArray seed1(32, '\x11'), seed2(32, '\x22');
        const QByteArray id = QByteArray::fromHex("000102030405060708090a0b0c0d0e0f");
        const QByteArray c1 = chainValue(seed1, 0, width), c2 = chainValue(seed2, 0, width);
        QCOMPARE(c1.toHex(), "4a7e548f67548996f647098178b2a2a24fa92c91dcefac91b3ad1506c582a114");
        QCOMPARE(c2.toHex(), "d9ac78a6b6c9651dc7e921f3f9e0c829afe23bd87843732be4eadca07a041519");
        const QByteArrayList values = {
            "d8404b4051f80e4084a0859294f590b30aa15b64bbb8633d389470f60d4edad2",
            "5688a4dff296746e4ba98bffd25b3aa01a769155732f702f34b1aa3d4d54e544",
            "44bb0f07a063919008a193aab2ff7a744f35a2b1ec1fe64e176f8a987fdfda32"};
        for (int k = 1; k <= 3; ++k) {
            const QByteArray v1 = chainValue(seed1, k, width), v2 = chainValue(seed2, k, width);
            QCOMPARE(hashTimes(v1, k), c1);
            const QByteArray r = turnValue(id, c1, c2, k, v1, v2);
            QCOMPARE(r.toHex(), values[k - 1]);
            QCOMPARE(turnEnds(r, k, width), k == 3);
        }
    }

    void readReveal_onlyCanonicalForms()
    {
        const QString value(64, u'a');
        QCOMPARE(readReveal("199:" + value), (Reveal{199, QByteArray(32, '\xaa')}));
        for (const QString& refused : {"07:" + value, "0:" + value, "1000:" + value, "+7:" + value,
                                       "7:" + value.toUpper(), "7:" + value.left(63), "7" + value})
            QVERIFY2(!readReveal(refused), qPrintable(refused));
    }

    // Many games from fixed seeds: the ending turns follow the weights (chi-square, at the
    // 0.1 % level for the degrees of freedom of each window).
    void simulatedGames_endingTurnsFollowTheWeights_data()
    {
        addRowColumn<ChiRow>();
        addRow<ChiRow>("scenario, modifier 1", 1, GameType::Scenario, 10.83);
        addRow<ChiRow>("scenario, modifier 3", 3, GameType::Scenario, 16.27);
        addRow<ChiRow>("quick battle, modifier 3", 3, GameType::QuickBattle, 24.32);
        addRow<ChiRow>("scenario, modifier 8", 8, GameType::Scenario, 26.12);
    }

    void simulatedGames_endingTurnsFollowTheWeights()
    {
        QFETCH(ChiRow, row);
        const auto [modifier, type, critical] = row;
        const Window w = endingWindow(20, modifier, type).value();
        QRandomGenerator random(quint32(1000 + modifier * 10 + int(type)));
        constexpr int kGames = 6000;
        QList<int> ends(w.width + 1, 0);
        for (int game = 0; game < kGames; ++game) {
            QByteArray bytes(16 + 2 * kSeedBytes, '\0');
            random.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
            const QByteArray id = bytes.left(16), seed1 = bytes.mid(16, 32),
                             seed2 = bytes.right(32);
            const QByteArray c1 = chainValue(seed1, 0, w.width), c2 = chainValue(seed2, 0, w.width);
            int k = 1;
            while (!turnEnds(turnValue(id, c1, c2, k, chainValue(seed1, k, w.width),
                                       chainValue(seed2, k, w.width)),
                             k, w.width))
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

    // What a player who reads this source might change in a game where player #1 has checked
    // turn 17: each is refused at player #1's opening with its reason, and nothing is written.
    void openGameFile_tamperedFile_refusedWithReason_data()
    {
        addRowColumn<TamperRow>();
        const QString tampered = "The sealed game was tampered with: ",
                      setup = tampered + "its name, players, turns, modifier or type",
                      mode = "The game's security mode was changed: it holds the values of a "
                             "sealed game, but is marked ";
        using G = GameRecord&;
        // clang-format off
        addRow<TamperRow>("player #1's commitment", [](G g, Table&) { flip(g.SealedCommit1); }, tampered + "player #1's commitment");
        addRow<TamperRow>("player #2's commitment", [](G g, Table&) { flip(g.SealedCommit2); }, tampered + "player #2's commitment");
        addRow<TamperRow>("a bit of a reveal", [](G g, Table&) { flip(g.SealedReveal2); }, tampered + "the value revealed for player #2 does not belong");
        addRow<TamperRow>("a reveal's index", [](G g, Table&) { g.SealedReveal2[0] = u'2'; }, tampered + "the value revealed for player #2 does not belong");
        addRow<TamperRow>("CurrentTurn", [](G g, Table&) { g.CurrentTurn = 18; }, tampered + "the value 'CurrentTurn' does not agree");
        addRow<TamperRow>("EndingTurn", [](G g, Table&) { g.EndingTurn = 17; }, tampered + "the value 'EndingTurn' does not agree");
        addRow<TamperRow>("a marker", [](G g, Table&) { g.Player1LastTurn = 0; }, tampered + "the value 'Player1LastTurn' does not agree");
        addRow<TamperRow>("turns", [](G g, Table&) { g.TotalTurns = 21; }, setup);
        addRow<TamperRow>("modifier", [](G g, Table&) { g.TurnVariance = 2; }, setup);
        addRow<TamperRow>("type", [](G g, Table&) { g.GameType = GameType::QuickBattle; }, setup);
        addRow<TamperRow>("a name", [](G g, Table&) { g.Player2Name = "Bert"; }, setup);
        addRow<TamperRow>("mode Basic", [](G g, Table&) { g.SecurityMode = SecurityMode::Basic; }, mode + "Basic.");
        addRow<TamperRow>("mode Secure", [](G g, Table&) { g.SecurityMode = SecurityMode::Secure; }, mode + "Secure.");
        addRow<TamperRow>("malformed id", [](G g, Table&) { g.SealedGame = g.SealedGame.toUpper(); }, "The sealed game is damaged: the value 'SealedGame' is malformed.");
        addRow<TamperRow>("player #1 reveals turn 19's value early", [](G g, Table& t) { g.SealedReveal1 = revealText({3, t.chainOf(1, 3)}); }, tampered + "player #1 has revealed 3 values and player #2 1");
        addRow<TamperRow>("another game's values under this game's id", [](G g, Table&) {
            const GameRecord other = Table(2).game();
            g.SealedCommit1 = other.SealedCommit1, g.SealedCommit2 = other.SealedCommit2, g.SealedReveal2 = other.SealedReveal2;
            g.SealedReveal1.clear();
        }, tampered + "player #1's commitment");
        addRow<TamperRow>("player #2 swaps their chain for one where turn 17 still goes on", [](G g, Table&) {
            const GameRecord honest = g;
            QString problem;
            State state;
            for (quint32 seed = 100; seed == 100 || !readState(g, state, problem); ++seed) {
                const GameRecord fresh = Table(seed).game(); // ground for, as a cheat would
                g = honest;
                g.SealedCommit2 = fresh.SealedCommit2, g.SealedReveal2 = fresh.SealedReveal2;
            }
        }, tampered + "player #2's commitment");
        // clang-format on
    }

    void openGameFile_tamperedFile_refusedWithReason()
    {
        QFETCH(TamperRow, row);
        Table table(kGoesOnAtFirstCheck);
        QCOMPARE(table.check().result, CheckResult::NotEnding);
        GameRecord game = table.game();
        row.change(game, table);
        QVERIFY(saveGame(game, table.path));
        const QMap<QString, QByteArray> before = snapshot(table.dir.path());
        QCOMPARE(table.open(table.folder1).status, OpenStatus::Refused);
        QCOMPARE(table.recorder.messages.size(), 1);
        QCOMPARE(table.recorder.messages[0].text.left(row.problem.size()), row.problem);
        QVERIFY(table.recorder.messages[0].text.endsWith("The game file was not changed."));
        QCOMPARE(snapshot(table.dir.path()), before);
    }

    // Who may open, join and replay what: a player's own file, an older copy, a second join,
    // a join beside player #1's key.
    void openGameFile_custody_data()
    {
        addRowColumn<CustodyRow>();
        const auto opened = OpenStatus::Opened, refused = OpenStatus::Refused;
        // clang-format off
        addRow<CustodyRow>("player #1 reopens the created game", false, 1, JoinOffer::Ask, opened, "Anna, send this file to player #2.");
        addRow<CustodyRow>("player #2 joins", false, 2, JoinOffer::Ask, opened, "Ben, send this file to player #1.");
        addRow<CustodyRow>("player #2 reopens the joined game", true, 2, JoinOffer::Ask, opened, "Ben, player #1 needs to check turn 17");
        addRow<CustodyRow>("player #1 opens the joined game", true, 1, JoinOffer::Never, opened, "Anna, press 'Check Turn' starting on turn 17");
        addRow<CustodyRow>("a computer without a key", true, 3, JoinOffer::Ask, opened, "This computer holds no player's key");
        addRow<CustodyRow>("a join beside player #1's key", false, 1, JoinOffer::Join, refused, "Player #1's key for this game is on this");
        addRow<CustodyRow>("a second join", true, 3, JoinOffer::Join, refused, "This game does not wait for player #2 to join");
        // clang-format on
    }

    void openGameFile_custody()
    {
        QFETCH(CustodyRow, row);
        Table table(4, row.joined);
        const QMap<QString, QByteArray> before = snapshot(table.dir.path());
        const OpenOutcome opened = table.open(table.folder(row.computer), row.join);
        QCOMPARE(opened.status, row.status);
        const bool refused = row.status != OpenStatus::Opened;
        const QString shown =
            refused ? table.recorder.messages.value(0).text : opened.view.status.message;
        QVERIFY2(shown.startsWith(row.shown), qPrintable(shown));
        QVERIFY(!refused || snapshot(table.dir.path()) == before);
    }

    // A security mode this version does not know is refused, never played as Basic.
    void openGameFile_unknownMode_refused()
    {
        const QList<std::pair<int, QString>> modes = {
            {3, "its security mode (3) is not one this version of the program knows."},
            {2, "it is marked as a sealed game but holds none of a sealed game's values."}};
        for (const auto& [mode, reason] : modes) {
            QTemporaryDir dir;
            GameRecord game = basicGame();
            game.SecurityMode = SecurityMode(mode);
            Recorder recorder;
            QVERIFY(saveGame(game, dir.filePath("game.tfp")));
            QCOMPARE(openGameFile(game.FilePath, recorder).status, OpenStatus::Refused);
            QCOMPARE(recorder.messages.value(0).text, "The game file cannot be opened: " + reason);
        }
    }

    // A copy from before a check this computer has seen is refused, and a join whose save
    // failed takes the same seed again, so that no retry can choose another.
    void openGameFile_replay_refusedAndRetriedJoinKeepsSeed()
    {
        Table table(kGoesOnAtFirstCheck);
        const QByteArray joined = fileBytes(table.path);
        QCOMPARE(table.check().result, CheckResult::NotEnding);
        QVERIFY(writeFile(table.path, joined));
        QCOMPARE(table.open(table.folder1).status, OpenStatus::Refused);
        QVERIFY(table.recorder.messages.value(0).text.startsWith(
            "This is an older copy of the game: this computer has already seen turn 17 checked."));

        Table created(5, false);
        GameRecord lost = created.game();
        QString problem;
        QVERIFY(joinGame(lost, created.folder2, problem)); // the key is written, the file not
        QCOMPARE(created.open(created.folder2, JoinOffer::Join).status, OpenStatus::Opened);
        QCOMPARE(created.game().SealedCommit2, lost.SealedCommit2);
        QCOMPARE(created.game().SealedReveal2, lost.SealedReveal2);
    }

    // The key file: private, unreadable when damaged, and good on another computer's folder.
    void keyFile_privateDamagedAndMoved()
    {
        Table table(6);
        const QByteArray id = QByteArray::fromHex(table.game().SealedGame.toLatin1());
        const QString key = keyPath(table.folder1, id);
#ifdef Q_OS_UNIX
        // Owner, group and other bits: the folder rwx------, the file rw-------.
        QCOMPARE(int(QFile::permissions(table.folder1) & 0x7077), 0x7000);
        QCOMPARE(int(QFile::permissions(key) & 0x7077), 0x6000);
#endif
        const QString moved = table.dir.filePath("new computer");
        QVERIFY(QDir().mkpath(moved) && QFile::copy(key, keyPath(moved, id)));
        QCOMPARE(table.open(moved).sealedRole, Role::Check);
        QVERIFY(writeFile(key, fileBytes(key).replace("player 1", "player 3")));
        QCOMPARE(table.open(table.folder1).status, OpenStatus::Refused);
        QVERIFY(table.recorder.messages.value(0).text.startsWith(
            "This computer's key file for the game cannot be read (it is damaged)"));
    }
};

QTEST_GUILESS_MAIN(SealedTest)
#include "tst_sealed.moc"
