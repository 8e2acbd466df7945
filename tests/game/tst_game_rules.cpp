// The game rules: the draw, the setup check, creation, the turn check, the passwords and
// the opening of a game file with its Secure hand-over.
#include "game/creation.h"
#include "game/draw.h"
#include "game/gamefile.h"
#include "game/numbers.h"
#include "game/opening.h"
#include "game/passwords.h"
#include "game/setup.h"
#include "game/turncheck.h"
#include "recorder.h"

#include <map>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tfp;
using tfp::test::Recorder;

Q_DECLARE_METATYPE(tfp::GameType)
Q_DECLARE_METATYPE(tfp::SecurityMode)
Q_DECLARE_METATYPE(tfp::CheckResult)

namespace {

const QString kBullet = QStringLiteral("  \u2022 ");

SetupEntries entries(const QString& turns, const QString& modifier,
                     SecurityMode mode = SecurityMode::Basic, GameType type = GameType::Scenario)
{
    SetupEntries e;
    e.gameName = QStringLiteral("Ridge");
    e.player1 = QStringLiteral("Anna");
    e.player2 = QStringLiteral("Ben");
    e.turns = turns;
    e.modifier = modifier;
    e.mode = mode;
    e.type = type;
    return e;
}

GameRecord basicGame(qint16 currentTurn, qint16 endingTurn)
{
    GameRecord r;
    resetGameRecord(r);
    r.GameName = QStringLiteral("Ridge");
    r.Version = QStringLiteral("1.5.24");
    r.Player1Name = QStringLiteral("Anna");
    r.Player2Name = QStringLiteral("Ben");
    r.TotalTurns = 20;
    r.TurnVariance = 3;
    r.CurrentTurn = currentTurn;
    r.EndingTurn = endingTurn;
    return r;
}

GameRecord secureGame(qint16 currentTurn, qint16 endingTurn, int holder)
{
    GameRecord r = basicGame(currentTurn, endingTurn);
    r.SecurityMode = SecurityMode::Secure;
    r.Player1Pwd = QStringLiteral("Alpha");
    r.Player2Pwd = QStringLiteral("Bravo");
    r.CurrentPlayer = holder;
    r.DestinationPlayer = holder == 1 ? 2 : 1;
    return r;
}

QByteArray fileContent(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

GameRecord load(const QString& path)
{
    GameRecord r;
    r.FilePath = path;
    FileErrorInfo error;
    if (!getData(r, error))
        qWarning("could not read %s: %s", qPrintable(path), qPrintable(error.Description));
    return r;
}

} // namespace

class TestGameRules : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // Writes the record to `name` and returns the path; the record is then the game as this
    // copy of the program holds it after saving it there.
    QString save(GameRecord& record, const QString& name = QStringLiteral("game.tfp"))
    {
        record.FilePath = m_dir.filePath(name);
        FileErrorInfo error;
        if (!saveData(record, error, QDateTime::currentDateTime(), &record.FileDigest))
            qWarning("could not save: %s", qPrintable(error.Description));
        return record.FilePath;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // --- the draw -------------------------------------------------------------------------

    void drawEndingTurn_range_data()
    {
        QTest::addColumn<int>("turns");
        QTest::addColumn<int>("modifier");
        QTest::addColumn<GameType>("type");
        QTest::addColumn<int>("earliest");
        QTest::addColumn<int>("latest");
        QTest::newRow("scenario") << 20 << 3 << GameType::Scenario << 17 << 20;
        QTest::newRow("quick battle") << 20 << 3 << GameType::QuickBattle << 17 << 23;
        QTest::newRow("scenario, no modifier") << 20 << 0 << GameType::Scenario << 20 << 20;
        QTest::newRow("quick, no modifier") << 20 << 0 << GameType::QuickBattle << 20 << 20;
        QTest::newRow("two turns") << 2 << 1 << GameType::Scenario << 1 << 2;
        QTest::newRow("modifier above turns") << 5 << 8 << GameType::Scenario << -3 << 5;
    }
    void drawEndingTurn_range()
    {
        QFETCH(int, turns);
        QFETCH(int, modifier);
        QFETCH(GameType, type);
        QFETCH(int, earliest);
        QFETCH(int, latest);
        QRandomGenerator random(20261207);
        std::map<int, int> seen;
        constexpr int kDraws = 40000;
        for (int i = 0; i < kDraws; ++i)
            ++seen[drawEndingTurn(qint16(turns), qint16(modifier), type, random)];
        QCOMPARE(seen.begin()->first, earliest);
        QCOMPARE(seen.rbegin()->first, latest);
        QCOMPARE(int(seen.size()), latest - earliest + 1);
        if (modifier == 0)
            return;
        // Inner turns are equally likely; each end of the window about half as likely.
        const int buckets = type == GameType::Scenario ? modifier : 2 * modifier;
        const double inner = double(kDraws) / buckets;
        for (const auto& [turn, count] : seen) {
            const bool end = turn == earliest || turn == latest;
            const double expected = end ? inner / 2 : inner;
            QVERIFY2(qAbs(count - expected) < expected * 0.1,
                     qPrintable(QStringLiteral("turn %1: %2 draws, about %3 expected")
                                    .arg(turn)
                                    .arg(count)
                                    .arg(expected)));
        }
    }

    void drawEndingTurn_unknownType_isZero()
    {
        QRandomGenerator random(1);
        QCOMPARE(drawEndingTurn(20, 3, static_cast<GameType>(2), random), 0);
        QCOMPARE(tfp::describeEndingRange(20, 3, static_cast<GameType>(2)), QString());
    }

    void drawEndingTurn_systemSource_drawsIndependently()
    {
        // Two games created at the same moment must not share a draw: over many pairs some
        // differ (a clock seed would give equal pairs).
        int differing = 0;
        for (int i = 0; i < 50; ++i)
            differing += drawEndingTurn(99, 98, GameType::Scenario) !=
                         drawEndingTurn(99, 98, GameType::Scenario);
        QVERIFY(differing > 25);
    }

    void describeEndingRange_data()
    {
        QTest::addColumn<int>("turns");
        QTest::addColumn<int>("modifier");
        QTest::addColumn<GameType>("type");
        QTest::addColumn<QString>("tail");
        QTest::newRow("scenario") << 20 << 3 << GameType::Scenario << "17 and 20 (inclusive).";
        QTest::newRow("quick")
            << 20 << 3 << GameType::QuickBattle
            << "17 and 23 (inclusive).  When setting up your quick battle, be sure to set the "
               "maximun number of turns to 23.";
        QTest::newRow("no modifier") << 20 << 0 << GameType::Scenario << "20 and 20 (inclusive).";
        QTest::newRow("negative") << 5 << 8 << GameType::Scenario << "-3 and 5 (inclusive).";
    }
    void describeEndingRange()
    {
        QFETCH(int, turns);
        QFETCH(int, modifier);
        QFETCH(GameType, type);
        QFETCH(QString, tail);
        QCOMPARE(tfp::describeEndingRange(qint16(turns), qint16(modifier), type), tail);
    }

    // --- the setup check ------------------------------------------------------------------

    void validateGameSetup_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("turns");
        QTest::addColumn<QString>("modifier");
        QTest::addColumn<QStringList>("lines");
        const QString name = QStringLiteral("Please enter a name for the game");
        const QString p1 = QStringLiteral("Please enter a name for 'Player #1'");
        const QString p2 = QStringLiteral("Please enter a name for 'Player #2'");
        const QString t = QStringLiteral("Please enter the number of turns for your game");
        const QString tn = QStringLiteral("Please enter a number for 'Game Turns'");
        const QString m = QStringLiteral("Please enter the modifier for the game");
        const QString mn = QStringLiteral("Please enter a number for 'Modifier'");
        QTest::newRow("all empty") << ""
                                   << ""
                                   << "" << QStringList{name, p1, p2, t, m};
        QTest::newRow("turns 0, modifier empty") << "x"
                                                 << "0"
                                                 << "" << QStringList{t, m};
        QTest::newRow("turns 0, modifier 0") << "x"
                                             << "0"
                                             << "0" << QStringList{t};
        QTest::newRow("turns 00 passes") << "x"
                                         << "00"
                                         << "0" << QStringList{};
        QTest::newRow("turns 1, modifier 0") << "x"
                                             << "1"
                                             << "0" << QStringList{};
        QTest::newRow("one blank is a name") << " "
                                             << "5"
                                             << "1" << QStringList{};
        QTest::newRow("pasted letters") << "x"
                                        << "1a"
                                        << "x" << QStringList{tn, mn};
        QTest::newRow("numbers with a sign and blanks") << "x"
                                                        << " +12 "
                                                        << "-1" << QStringList{};
    }
    void validateGameSetup()
    {
        QFETCH(QString, name);
        QFETCH(QString, turns);
        QFETCH(QString, modifier);
        QFETCH(QStringList, lines);
        SetupEntries e;
        e.gameName = e.player1 = e.player2 = name;
        e.turns = turns;
        e.modifier = modifier;
        const SetupValidation v = tfp::validateGameSetup(e);
        QCOMPARE(v.valid, lines.isEmpty());
        QString expected;
        for (const QString& line : lines)
            expected += kBullet + line + QStringLiteral("\r\n");
        QCOMPARE(v.errors, expected);
    }

    void setupErrorMessage_text()
    {
        const QString list = kBullet + QStringLiteral("a\r\n");
        const Message m = setupErrorMessage(list);
        QCOMPARE(m.title, QStringLiteral("Torva Fogline Turnpicker"));
        QCOMPARE(m.icon, MessageIcon::Exclamation);
        QCOMPARE(m.text, QStringLiteral("Errors encountered:\r\n") + list +
                             QStringLiteral("\r\n\r\nPlease check your entries and try again."));
    }

    void confirmationText_endsWithTheWindow_data()
    {
        QTest::addColumn<GameType>("type");
        QTest::addColumn<QString>("ending");
        QTest::newRow("scenario") << GameType::Scenario
                                  << "Your game will end between turn 17 and 20 (inclusive).";
        QTest::newRow("quick") << GameType::QuickBattle
                               << "Your game will end between turn 17 and 23 (inclusive).  When "
                                  "setting up your quick battle, be sure to set the maximun "
                                  "number of turns to 23.";
    }
    void confirmationText_endsWithTheWindow()
    {
        QFETCH(GameType, type);
        QFETCH(QString, ending);
        const QString text = confirmationText(
            entries(QStringLiteral("20"), QStringLiteral("3"), SecurityMode::Secure, type));
        QVERIFY2(text.endsWith(QStringLiteral("\r\n\r\n") + ending + QStringLiteral("\r\n")),
                 qPrintable(text));
        QVERIFY(text.contains(QLatin1String("Ridge")));
        QVERIFY(text.contains(QLatin1String("Anna")));
        QVERIFY(text.contains(QLatin1String("Secure")));
    }

    // Every way entries can fail to become a game, in the order the rule looks: the
    // validation's box first, then the limits. An empty refusal means the game may be made.
    void setupRefusal_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("player");
        QTest::addColumn<QString>("turns");
        QTest::addColumn<QString>("modifier");
        QTest::addColumn<QString>("refusal");
        const QString turnsRange =
            QStringLiteral("The number of turns must be a whole number from 1 to 99.");
        const auto below = [](int turns) {
            return QStringLiteral("The modifier must be a whole number from 0 to %1 (one less "
                                  "than the number of turns).")
                .arg(turns - 1);
        };
        const QString ridge = QStringLiteral("Ridge");
        const QString anna = QStringLiteral("Anna");
        QTest::newRow("plain") << ridge << anna << "20"
                               << "3" << QString();
        QTest::newRow("longest") << QString(100, u'g') << QString(50, u'p') << "99"
                                 << "98" << QString();
        QTest::newRow("validation first") << QString() << anna << "20"
                                          << "-1" << QStringLiteral("Errors encountered:");
        QTest::newRow("game name too long")
            << QString(101, u'g') << anna << "20"
            << "3" << QStringLiteral("The game name can have at most 100 characters.");
        QTest::newRow("player name too long")
            << ridge << QString(51, u'p') << "20"
            << "3" << QStringLiteral("A player name can have at most 50 characters.");
        QTest::newRow("tag in a name") << QStringLiteral("</GameName>") << anna << "20"
                                       << "3"
                                       << QStringLiteral("Names cannot contain the characters < "
                                                         "and >.");
        QTest::newRow("turns 00") << ridge << anna << "00"
                                  << "0" << turnsRange;
        QTest::newRow("turns 100") << ridge << anna << "100"
                                   << "0" << turnsRange;
        QTest::newRow("turns with a sign") << ridge << anna << "+5"
                                           << "0" << turnsRange;
        QTest::newRow("turns with a fraction") << ridge << anna << "1.5"
                                               << "0" << turnsRange;
        QTest::newRow("negative modifier") << ridge << anna << "20"
                                           << "-1" << below(20);
        QTest::newRow("modifier equal to turns") << ridge << anna << "20"
                                                 << "20" << below(20);
        QTest::newRow("modifier one below turns") << ridge << anna << "20"
                                                  << "19" << QString();
        QTest::newRow("one turn, modifier 0") << ridge << anna << "1"
                                              << "0" << QString();
        QTest::newRow("Western European letters")
            << QStringLiteral("Caf\u00e9 \u00c6sir \u20ac") << QStringLiteral("J\u00fcrgen") << "20"
            << "3" << QString();
        QTest::newRow("Cyrillic player")
            << ridge << QStringLiteral("\u0418\u0432\u0430\u043d") << "20"
            << "3" << QStringLiteral("The name of player #1 holds the character '\u0418' (U+0418)");
        QTest::newRow("game name in Chinese script")
            << QStringLiteral("\u6218\u5f79") << anna << "20"
            << "3" << QStringLiteral("The game name holds the character '\u6218' (U+6218)");
        QTest::newRow("emoji counted as one character")
            << QStringLiteral("Ridge \U0001F600") << anna << "20"
            << "3" << QStringLiteral("The game name holds the character '\U0001F600' (U+1F600)");
    }
    void setupRefusal()
    {
        QFETCH(QString, name);
        QFETCH(QString, player);
        QFETCH(QString, turns);
        QFETCH(QString, modifier);
        QFETCH(QString, refusal);
        SetupEntries e;
        e.gameName = name;
        e.player1 = e.player2 = player;
        e.turns = turns;
        e.modifier = modifier;
        const std::optional<Message> refused = tfp::setupRefusal(e);
        QCOMPARE(refused.has_value(), !refusal.isEmpty());
        if (refused) {
            QVERIFY2(refused->text.startsWith(refusal), qPrintable(refused->text));
            QCOMPARE(refused->icon, MessageIcon::Exclamation);
        }
    }

    void passwordRefusal_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("refusal");
        const QString length =
            QStringLiteral("Please enter a password between 1 and 20 characters.");
        QTest::newRow("plain") << "Secret1" << QString();
        QTest::newRow("empty") << "" << length;
        QTest::newRow("20 characters") << QString(20, u'p') << QString();
        QTest::newRow("21 characters") << QString(21, u'p') << length;
        QTest::newRow("tag") << "a<b>"
                             << "A password cannot contain the characters < and >.";
        const QString unkept = QStringLiteral("A password cannot contain the character %1, which "
                                              "a game file cannot keep.");
        QTest::newRow("Cyrillic") << QStringLiteral("\u043f\u0430\u0440\u043e\u043b\u044c")
                                  << unkept.arg(QStringLiteral("'\u043f' (U+043F)"));
        QTest::newRow("y with diaeresis")
            << QStringLiteral("s\u00ffx") << unkept.arg(QStringLiteral("'\u00ff' (U+00FF)"));
        QTest::newRow("twenty emoji name the emoji, not the length")
            << QString(QStringLiteral("\U0001F600")).repeated(20)
            << unkept.arg(QStringLiteral("'\U0001F600' (U+1F600)"));
        QTest::newRow("Western European letters")
            << QStringLiteral("\u00c6\u00f8\u20ac\u00e9") << QString();
    }
    void passwordRefusal()
    {
        QFETCH(QString, password);
        QFETCH(QString, refusal);
        QCOMPARE(tfp::passwordRefusal(password), refusal);
    }

    void readWholeNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("value");
        QTest::addColumn<int>("error");
        QTest::newRow("digits") << "42" << qint64(42) << int(NumberError::None);
        QTest::newRow("blanks and sign") << " -7 " << qint64(-7) << int(NumberError::None);
        QTest::newRow("half to even, down") << "2.5" << qint64(2) << int(NumberError::None);
        QTest::newRow("half to even, up") << "3.5" << qint64(4) << int(NumberError::None);
        QTest::newRow("exponent") << "1e2" << qint64(100) << int(NumberError::None);
        QTest::newRow("too big") << "40000" << qint64(0) << int(NumberError::OutOfRange);
        QTest::newRow("letters") << "1a" << qint64(0) << int(NumberError::NotNumber);
        QTest::newRow("empty") << "" << qint64(0) << int(NumberError::NotNumber);
    }
    void readWholeNumber()
    {
        QFETCH(QString, text);
        QFETCH(qint64, value);
        QFETCH(int, error);
        const WholeNumber n = tfp::readWholeNumber(text, -32768, 32767);
        QCOMPARE(int(n.error), error);
        if (n.error == NumberError::None)
            QCOMPARE(n.value, value);
    }

    // --- creation -------------------------------------------------------------------------

    void prepareNewGame_basic_drawsAtOnce()
    {
        Recorder recorder;
        QRandomGenerator random(7);
        const GameRecord r =
            prepareNewGame(entries(QStringLiteral("20"), QStringLiteral("3")), recorder, random);
        QCOMPARE(r.CurrentTurn, 16);
        QVERIFY(r.EndingTurn >= 17 && r.EndingTurn <= 20);
        QCOMPARE(r.CurrentPlayer, kNoPlayer);
        QCOMPARE(r.DestinationPlayer, kNoPlayer);
        QCOMPARE(r.Version, QStringLiteral("1.5.24"));
        QVERIFY(recorder.prompts.isEmpty());
        const CreatedView view = createdGameView(r);
        QCOMPARE(view.button.caption, QStringLiteral("Check Turn 17"));
        QVERIFY(view.button.enabled);
        QCOMPARE(view.status.message, QStringLiteral("Press 'Check Turn' starting on turn 17"));
    }

    void prepareNewGame_secure_asksPlayerOneAndDefersTheDraw()
    {
        Recorder recorder({QStringLiteral("  Alpha  ")});
        const GameRecord r = prepareNewGame(
            entries(QStringLiteral("20"), QStringLiteral("3"), SecurityMode::Secure), recorder);
        QCOMPARE(recorder.prompts.size(), 1);
        QCOMPARE(recorder.prompts.first().caption, QStringLiteral("Set Password for Player #1"));
        QCOMPARE(recorder.prompts.first().playerName, QStringLiteral("Anna"));
        QCOMPARE(r.Player1Pwd, QStringLiteral("Alpha"));
        QVERIFY(r.Player2Pwd.isEmpty());
        QCOMPARE(r.EndingTurn, -1);
        QCOMPARE(r.CurrentPlayer, 1);
        QCOMPARE(r.DestinationPlayer, 2);
        const CreatedView view = createdGameView(r);
        QCOMPARE(view.button.caption, QStringLiteral("Send File"));
        QVERIFY(!view.button.enabled);
        QCOMPARE(view.status.message, QStringLiteral("Anna, send this file to player #2."));
    }

    void saveNewGame_secureWithoutPassword_writesNothing()
    {
        Recorder recorder; // the prompt ends with no password
        GameRecord r = prepareNewGame(
            entries(QStringLiteral("20"), QStringLiteral("3"), SecurityMode::Secure), recorder);
        r.FilePath = m_dir.filePath(QStringLiteral("nopassword.tfp"));
        QVERIFY(!saveNewGame(r, recorder));
        QVERIFY(!QFile::exists(r.FilePath));
        QCOMPARE(recorder.messages.size(), 1);
        QCOMPARE(recorder.messages.first(), noPasswordChosenMessage(PasswordNeededFor::NewGame));
    }

    void suggestedFileName_data()
    {
        QTest::addColumn<QString>("gameName");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("plain") << "Ridge"
                               << "Ridge";
        QTest::newRow("forbidden characters") << "a/b\\c:d*e?f|g"
                                              << "a-b-c-d-e-f-g";
        QTest::newRow("empty") << ""
                               << "Game 12-07-2026";
    }
    void suggestedFileName()
    {
        QFETCH(QString, gameName);
        QFETCH(QString, fileName);
        QCOMPARE(tfp::suggestedFileName(gameName, QDate(2026, 12, 7)), fileName);
    }

    // --- the turn check -------------------------------------------------------------------

    void checkTurnCommand_outcomes_data()
    {
        QTest::addColumn<SecurityMode>("mode");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("ending");
        QTest::addColumn<CheckResult>("result");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("colour");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("saved");
        const int green = int(StatusColour::Green);
        const int red = int(StatusColour::Red);
        QTest::newRow("basic, goes on")
            << SecurityMode::Basic << 16 << 19 << CheckResult::NotEnding << "Turn #17"
            << "This is NOT the ending turn." << green << "Check Turn 18" << true << true;
        QTest::newRow("basic, ending reached")
            << SecurityMode::Basic << 18 << 19 << CheckResult::EndingReached << "Turn #19"
            << "BATTLE OVER - CEASE FIRE!" << red << "Battle Over" << false << true;
        QTest::newRow("basic, already over")
            << SecurityMode::Basic << 19 << 19 << CheckResult::AlreadyOver << "Turn #19"
            << "BATTLE OVER!" << red << "Battle Over" << false << false;
        QTest::newRow("secure, goes on")
            << SecurityMode::Secure << 16 << 19 << CheckResult::NotEnding << "Turn #17"
            << "This is NOT the ending turn.\r\nBen, send this file to player #1." << green
            << "Send File" << false << true;
        QTest::newRow("secure, ending reached")
            << SecurityMode::Secure << 18 << 19 << CheckResult::EndingReached << "Turn #19"
            << "BATTLE OVER - CEASE FIRE!\r\nBen, send this file to player #1." << red
            << "Send File" << false << true;
        QTest::newRow("secure, already over")
            << SecurityMode::Secure << 20 << 19 << CheckResult::AlreadyOver << "Turn #20"
            << "BATTLE OVER!\r\nBen, send this file to player #1." << red << "Send File" << false
            << false;
    }
    void checkTurnCommand_outcomes()
    {
        QFETCH(SecurityMode, mode);
        QFETCH(int, current);
        QFETCH(int, ending);
        QFETCH(CheckResult, result);
        QFETCH(QString, title);
        QFETCH(QString, message);
        QFETCH(int, colour);
        QFETCH(QString, caption);
        QFETCH(bool, enabled);
        QFETCH(bool, saved);

        GameRecord r = mode == SecurityMode::Secure ? secureGame(qint16(current), qint16(ending), 2)
                                                    : basicGame(qint16(current), qint16(ending));
        r.FilePath = save(r, QStringLiteral("check.tfp"));
        const QByteArray before = fileContent(r.FilePath);
        Recorder recorder;
        const CheckOutcome o = checkTurnCommand(r, recorder);
        QCOMPARE(o.result, result);
        QVERIFY(o.status && o.button);
        QCOMPARE(o.status->title, title);
        QCOMPARE(messageWithHandOver(o.status->message, o.handOver), message);
        QCOMPARE(int(o.status->colour), colour);
        QCOMPARE(o.button->caption, caption);
        QCOMPARE(o.button->enabled, enabled);
        QCOMPARE(o.saved, saved);
        QVERIFY(recorder.messages.isEmpty());
        const GameRecord inFile = load(r.FilePath);
        QCOMPARE(inFile.CurrentTurn, saved ? current + 1 : current);
        if (!saved)
            QCOMPARE(fileContent(r.FilePath), before);
        if (saved && mode == SecurityMode::Secure) {
            // The holder's marker records the turn they checked; the other's is untouched.
            QCOMPARE(inFile.Player2LastTurn, current + 1);
            QCOMPARE(inFile.Player1LastTurn, 0);
            QCOMPARE(inFile.CurrentPlayer, 2);
        }
    }

    void checkTurnCommand_sounds()
    {
        GameRecord r = basicGame(16, 18);
        r.FilePath = save(r, QStringLiteral("sounds.tfp"));
        Recorder recorder;
        QCOMPARE(checkTurnCommand(r, recorder).sound, SoundCue::NextTurn);
        QCOMPARE(checkTurnCommand(r, recorder).sound, SoundCue::EndGame);
        QCOMPARE(checkTurnCommand(r, recorder).sound, SoundCue::None);
    }

    void checkTurnCommand_unknownType_changesNothingButSecureHandsOver()
    {
        for (const SecurityMode mode : {SecurityMode::Basic, SecurityMode::Secure}) {
            GameRecord r = mode == SecurityMode::Secure ? secureGame(16, 19, 1) : basicGame(16, 19);
            r.GameType = static_cast<GameType>(2);
            r.FilePath = m_dir.filePath(QStringLiteral("never-written.tfp"));
            const GameRecord before = r;
            Recorder recorder;
            const CheckOutcome o = checkTurnCommand(r, recorder);
            QCOMPARE(o.result, CheckResult::Skipped);
            QCOMPARE(r, before);
            QVERIFY(!QFile::exists(r.FilePath));
            QCOMPARE(o.button.has_value(), mode == SecurityMode::Secure);
            if (mode == SecurityMode::Secure) {
                QCOMPARE(o.button->caption, QStringLiteral("Send File"));
                QCOMPARE(o.handOver, QStringLiteral("Anna, send this file to player #2."));
            }
        }
    }

    void checkTurnCommand_saveFails_doesNotCount_data()
    {
        QTest::addColumn<SecurityMode>("mode");
        QTest::newRow("basic") << SecurityMode::Basic;
        QTest::newRow("secure") << SecurityMode::Secure;
    }
    void checkTurnCommand_saveFails_doesNotCount()
    {
        QFETCH(SecurityMode, mode);
        GameRecord r = mode == SecurityMode::Secure ? secureGame(16, 17, 1) : basicGame(16, 17);
        r.FilePath = m_dir.filePath(QStringLiteral("missing/folder.tfp"));
        const GameRecord before = r;
        Recorder recorder;
        const CheckOutcome o = checkTurnCommand(r, recorder);
        QCOMPARE(o.result, CheckResult::SaveFailed);
        QCOMPARE(r, before);
        QVERIFY(!o.saved);
        QCOMPARE(o.sound, SoundCue::None);
        QVERIFY(o.handOver.isEmpty());
        // Nothing is revealed: the ending turn would have been this one.
        QVERIFY(!o.status->message.contains(QLatin1String("BATTLE OVER")));
        QCOMPARE(o.button->caption, QStringLiteral("Check Turn 17"));
        QVERIFY(o.button->enabled);
        QCOMPARE(recorder.messages.size(), 1);
        const Message& m = recorder.messages.first();
        QVERIFY(m.text.startsWith(QStringLiteral("Could not save the file '") + r.FilePath));
    }

    void checkTurn_firstPressOfNewGames_data()
    {
        QTest::addColumn<int>("turns");
        QTest::addColumn<int>("modifier");
        QTest::newRow("20 turns, modifier 3") << 20 << 3;
        QTest::newRow("modifier 0 always ends at once") << 20 << 0;
        QTest::newRow("2 turns, modifier 1") << 2 << 1;
    }
    void checkTurn_firstPressOfNewGames()
    {
        // Press until the battle is over: every press before the drawn turn goes on, the
        // press of the drawn turn ends it, whatever the draw gave.
        QFETCH(int, turns);
        QFETCH(int, modifier);
        for (quint32 seed = 0; seed < 20; ++seed) {
            QRandomGenerator random(seed);
            Recorder recorder;
            GameRecord r = prepareNewGame(
                entries(QString::number(turns), QString::number(modifier)), recorder, random);
            r.FilePath = m_dir.filePath(QStringLiteral("press.tfp"));
            QVERIFY(saveNewGame(r, recorder));
            int turn = turns - modifier;
            CheckOutcome o = checkTurnCommand(r, recorder);
            while (o.result == CheckResult::NotEnding) {
                QCOMPARE(o.status->title, QStringLiteral("Turn #%1").arg(turn));
                ++turn;
                o = checkTurnCommand(r, recorder);
            }
            QCOMPARE(o.result, CheckResult::EndingReached);
            QCOMPARE(turn, r.EndingTurn);
            QCOMPARE(load(r.FilePath).CurrentTurn, r.EndingTurn);
            if (modifier == 0)
                QCOMPARE(turn, turns);
        }
    }

    // --- passwords ------------------------------------------------------------------------

    void verifyPlayerPassword_data()
    {
        QTest::addColumn<int>("holder");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("matched");
        QTest::newRow("player 1, right") << 1 << "Alpha" << true;
        QTest::newRow("player 1, blanks around") << 1 << "  Alpha " << true;
        QTest::newRow("player 1, other's password") << 1 << "Bravo" << false;
        QTest::newRow("player 2, right") << 2 << "Bravo" << true;
        QTest::newRow("one letter's case") << 2 << "BravO" << false;
        QTest::newRow("nothing typed") << 2 << "" << false;
        QTest::newRow("longer") << 2 << "Bravo2" << false;
    }
    void verifyPlayerPassword()
    {
        QFETCH(int, holder);
        QFETCH(QString, typed);
        QFETCH(bool, matched);
        const GameRecord r = secureGame(16, 19, holder);
        Recorder recorder({typed});
        QCOMPARE(tfp::verifyPlayerPassword(r, recorder), matched);
        QCOMPARE(recorder.prompts.first().caption,
                 QStringLiteral("Enter Password for Player #%1").arg(holder));
        QCOMPARE(recorder.prompts.first().playerName, playerName(r, holder));
        QCOMPARE(recorder.messages.size(), matched ? 0 : 1);
        if (!matched)
            QCOMPARE(
                recorder.messages.first().text,
                QStringLiteral("The password entered does not match the current user's password."));
    }

    void ensurePlayerPassword_asksOnlyWhenMissing()
    {
        GameRecord r = secureGame(16, 19, 2);
        Recorder recorder({QStringLiteral("new one")});
        QVERIFY(!ensurePlayerPassword(r, recorder));
        QVERIFY(recorder.prompts.isEmpty());
        r.Player2Pwd.clear();
        QVERIFY(ensurePlayerPassword(r, recorder));
        QCOMPARE(recorder.prompts.first().caption, QStringLiteral("Set Password for Player #2"));
        QCOMPARE(r.Player2Pwd, QStringLiteral("new one"));
        GameRecord basic = basicGame(16, 19);
        QVERIFY(!ensurePlayerPassword(basic, recorder));
        QCOMPARE(recorder.prompts.size(), 1);
    }

    // --- opening --------------------------------------------------------------------------

    void openGameFile_refusals_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("shown");
        QTest::newRow("wrong extension")
            << "game.txt" << QByteArray("---\r\n") << int(OpenStatus::ReadFailed)
            << "Cannot open a file that does not have the .tfp extension.";
        QTest::newRow("missing") << "absent.tfp" << QByteArray() << int(OpenStatus::ReadFailed)
                                 << "Check to make sure the file exists";
        QTest::newRow("not a game") << "junk.tfp" << QByteArray("hello\r\n")
                                    << int(OpenStatus::ReadFailed) << "Could not open the file '";
        QTest::newRow("other version")
            << "old.tfp" << QByteArray() << int(OpenStatus::VersionRefused)
            << "File Version:        \t\t1.5.21";
    }
    void openGameFile_refusals()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(int, status);
        QFETCH(QString, shown);
        const QString path = m_dir.filePath(name);
        if (status == int(OpenStatus::VersionRefused)) {
            GameRecord old = basicGame(16, 19);
            old.Version = QStringLiteral("1.5.21");
            save(old, name);
        } else if (!content.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        Recorder recorder;
        const OpenOutcome o = openGameFile(path, recorder);
        QCOMPARE(int(o.status), status);
        QCOMPARE(recorder.messages.size(), 1);
        QVERIFY2(recorder.messages.first().text.contains(shown),
                 qPrintable(recorder.messages.first().text));
        QVERIFY(recorder.prompts.isEmpty());
    }

    void openGameFile_basic_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("ending");
        QTest::addColumn<bool>("allowed");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("caption");
        QTest::newRow("goes on") << 24 << 27 << true << "Game File Loaded"
                                 << "Press 'Check Turn' starting on turn 25"
                                 << "Check Turn 25";
        QTest::newRow("over") << 27 << 27 << false << "Turn #27"
                              << "The battle is already over!"
                              << "Battle Over";
    }
    void openGameFile_basic()
    {
        QFETCH(int, current);
        QFETCH(int, ending);
        QFETCH(bool, allowed);
        QFETCH(QString, title);
        QFETCH(QString, message);
        QFETCH(QString, caption);
        GameRecord game = basicGame(qint16(current), qint16(ending));
        const QString path = save(game, "basic.TFP");
        const QByteArray before = fileContent(path);
        Recorder recorder;
        const OpenOutcome o = openGameFile(path, recorder);
        QCOMPARE(o.status, OpenStatus::Opened);
        QCOMPARE(o.checkAllowed, allowed);
        QCOMPARE(o.button.enabled, allowed);
        QCOMPARE(o.view.title, title);
        QCOMPARE(o.view.message, message);
        QCOMPARE(o.button.caption, caption);
        QCOMPARE(o.record.FilePath, path);
        QVERIFY(recorder.prompts.isEmpty());
        QVERIFY(recorder.messages.isEmpty());
        QCOMPARE(fileContent(path), before);
    }

    void openGameFile_secureRound_betweenTwoPlayers()
    {
        // Anna creates the game; the file then goes to Ben, back to Anna, and so on.
        Recorder anna({QStringLiteral("Alpha")});
        QRandomGenerator random(99);
        GameRecord created = prepareNewGame(
            entries(QStringLiteral("20"), QStringLiteral("3"), SecurityMode::Secure), anna);
        const QString path = m_dir.filePath(QStringLiteral("secure.tfp"));
        created.FilePath = path;
        QVERIFY(saveNewGame(created, anna));
        QCOMPARE(load(path).EndingTurn, -1);

        // Ben's first opening: he chooses his password, the draw is made on his machine and
        // saved with him holding the file.
        Recorder ben({QStringLiteral("Bravo")});
        OpenOutcome o = openGameFile(path, ben, random);
        QCOMPARE(o.status, OpenStatus::Opened);
        QCOMPARE(ben.prompts.size(), 1);
        QCOMPARE(ben.prompts.first().caption, QStringLiteral("Set Password for Player #2"));
        QCOMPARE(ben.prompts.first().playerName, QStringLiteral("Ben"));
        GameRecord inFile = load(path);
        QVERIFY(inFile.EndingTurn >= 17 && inFile.EndingTurn <= 20);
        QCOMPARE(inFile.Player2Pwd, QStringLiteral("Bravo"));
        QCOMPARE(inFile.CurrentPlayer, 2);
        QVERIFY(o.checkAllowed);
        QCOMPARE(o.view.message, QStringLiteral("Ben, press 'Check Turn' starting on turn 17"));
        QCOMPARE(o.button.caption, QStringLiteral("Check Turn 17"));

        int turn = 17;
        QStringList holders = {QStringLiteral("Ben"), QStringLiteral("Anna")};
        for (;;) {
            const QString holder = holders.at((turn - 17) % 2);
            const QString other = holders.at((turn - 16) % 2);
            const CheckOutcome c = checkTurnCommand(o.record, ben);
            QCOMPARE(c.button->caption, QStringLiteral("Send File"));
            QCOMPARE(c.handOver, QStringLiteral("%1, send this file to player #%2.")
                                     .arg(holder)
                                     .arg(holder == QLatin1String("Ben") ? 1 : 2));
            if (c.result == CheckResult::EndingReached)
                break;
            QCOMPARE(c.result, CheckResult::NotEnding);

            // The same player cannot check again: reopening asks for the other's password.
            Recorder again({holder == QLatin1String("Ben") ? QStringLiteral("Bravo")
                                                           : QStringLiteral("Alpha")});
            const QByteArray before = fileContent(path);
            QCOMPARE(openGameFile(path, again, random).status, OpenStatus::PasswordRefused);
            QCOMPARE(again.prompts.first().caption,
                     QStringLiteral("Enter Password for Player #%1")
                         .arg(holder == QLatin1String("Ben") ? 1 : 2));
            QCOMPARE(fileContent(path), before);

            // The other player opens with their own password and may check the next turn.
            ++turn;
            Recorder next({other == QLatin1String("Ben") ? QStringLiteral("Bravo")
                                                         : QStringLiteral("Alpha")});
            o = openGameFile(path, next, random);
            QCOMPARE(o.status, OpenStatus::Opened);
            QVERIFY(o.checkAllowed);
            QCOMPARE(
                o.view.message,
                QStringLiteral("%1, press 'Check Turn' starting on turn %2").arg(other).arg(turn));
            QCOMPARE(fileContent(path), before); // opening alone changes nothing
            QVERIFY(turn <= 20);
        }
        inFile = load(path);
        QCOMPARE(inFile.CurrentTurn, inFile.EndingTurn);
        Recorder late({QStringLiteral("Alpha"), QStringLiteral("Bravo")});
        o = openGameFile(path, late, random);
        if (o.status == OpenStatus::Opened) {
            QCOMPARE(o.view.message, QStringLiteral("The battle is already over!"));
            QVERIFY(!o.button.enabled);
        }
    }

    void openGameFile_secure_checkRefusedForRepeatHolder()
    {
        // Anna holds the file after her own check of turn 17 (hand-edited or restored from
        // a copy): she may not check again.
        GameRecord r = secureGame(17, 20, 2);
        r.Player1LastTurn = 17;
        const QString path = save(r, QStringLiteral("repeat.tfp"));
        Recorder anna({QStringLiteral("Alpha")});
        const OpenOutcome o = openGameFile(path, anna);
        QCOMPARE(o.status, OpenStatus::Opened);
        QVERIFY(!o.checkAllowed);
        QVERIFY(!o.button.enabled);
        QCOMPARE(o.button.caption, QStringLiteral("Check Turn 18"));
        QCOMPARE(o.view.message, QStringLiteral("Anna, player #2 needs to check turn 18"));
    }

    void openGameFile_secure_modifierOneBelowTurns_isPlayable()
    {
        Recorder anna({QStringLiteral("Alpha")});
        GameRecord r = prepareNewGame(
            entries(QStringLiteral("5"), QStringLiteral("4"), SecurityMode::Secure), anna);
        QCOMPARE(r.CurrentTurn, 0);
        r.FilePath = m_dir.filePath(QStringLiteral("short.tfp"));
        QVERIFY(saveNewGame(r, anna));
        Recorder ben({QStringLiteral("Bravo")});
        const OpenOutcome o = openGameFile(r.FilePath, ben);
        QCOMPARE(o.status, OpenStatus::Opened);
        QVERIFY(o.checkAllowed);
        QCOMPARE(o.button.caption, QStringLiteral("Check Turn 1"));
    }

    void openGameFile_secure_noPasswordChosen_opensNothing()
    {
        Recorder anna({QStringLiteral("Alpha")});
        GameRecord r = prepareNewGame(
            entries(QStringLiteral("20"), QStringLiteral("3"), SecurityMode::Secure), anna);
        r.FilePath = m_dir.filePath(QStringLiteral("unanswered.tfp"));
        QVERIFY(saveNewGame(r, anna));
        const QByteArray before = fileContent(r.FilePath);
        Recorder ben; // the prompt ends without a password
        const OpenOutcome o = openGameFile(r.FilePath, ben);
        QCOMPARE(o.status, OpenStatus::PasswordRefused);
        QCOMPARE(ben.messages.size(), 1);
        QCOMPARE(ben.messages.first(), noPasswordChosenMessage(PasswordNeededFor::Opening));
        QCOMPARE(fileContent(r.FilePath), before);
    }

    void openGameFile_secure_ownNewFile_asksForPlayerTwo()
    {
        // Anna reopens the file she has just made: she is taken for player #2, who has no
        // password yet, so the draw is made now.
        Recorder anna({QStringLiteral("Alpha"), QStringLiteral("Second")});
        GameRecord r = prepareNewGame(
            entries(QStringLiteral("20"), QStringLiteral("3"), SecurityMode::Secure), anna);
        r.FilePath = m_dir.filePath(QStringLiteral("own.tfp"));
        QVERIFY(saveNewGame(r, anna));
        const OpenOutcome o = openGameFile(r.FilePath, anna);
        QCOMPARE(o.status, OpenStatus::Opened);
        QCOMPARE(anna.prompts.last().caption, QStringLiteral("Set Password for Player #2"));
        QVERIFY(load(r.FilePath).EndingTurn != -1);
    }
};

QTEST_GUILESS_MAIN(TestGameRules)
#include "tst_game_rules.moc"
