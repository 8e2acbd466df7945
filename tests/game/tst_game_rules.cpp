// The game rules: the draw, the setup check, creation, the turn check, the passwords and
// the opening of a game file with its Secure hand-over.
#include "game/creation.h"
#include "game/draw.h"
#include "game/gamefile.h"
#include "game/numbers.h"
#include "game/opening.h"
#include "game/passwords.h"
#include "game/turncheck.h"
#include "recorder.h"
#include "testsupport.h"

#include <map>
#include <QTemporaryDir>

using namespace tfp;
using namespace tfp::test;

namespace {

const QString kBullet = QStringLiteral("  \u2022 ");
const GameType kScenario = GameType::Scenario;
const GameType kQuick = GameType::QuickBattle;
const GameType kUnknownType = static_cast<GameType>(2);
const SecurityMode kBasic = SecurityMode::Basic;
const SecurityMode kSecure = SecurityMode::Secure;

QString password(int player)
{
    return player == 1 ? QStringLiteral("Alpha") : QStringLiteral("Bravo");
}

struct DrawRow
{
    qint16 turns, modifier;
    GameType type;
    int earliest, latest;
    QString tail; // of "Your game will end between turn ..."; null: not asked
};
struct TextRow
{
    QString text, expected;
};
struct SetupRow
{
    QString name, player, turns, modifier, refusal;
    QString player2 = {}; // when player #2 is not named as player #1 is
};
// How the file stands when Check Turn is pressed.
enum class FileState
{
    Saved,
    FolderGone,
    ChangedElsewhere
};
struct CheckRow
{
    SecurityMode mode;
    GameType type;
    qint16 current; // the ending turn is 19
    FileState file;
    CheckResult result;
    QString title, message, caption; // empty: no status, no button
    SoundCue sound;
};
struct OpenRow
{
    QString name;
    GameRecord game; // saved, when it has a name
    QString answer;  // to the password prompt
    OpenStatus status;
    QString shown; // the opened game's status message, or a part of the message shown
    bool allowed = false;
    QByteArray content = {}; // written as it is instead of the game
};

} // namespace

Q_DECLARE_METATYPE(DrawRow)
Q_DECLARE_METATYPE(TextRow)
Q_DECLARE_METATYPE(SetupRow)
Q_DECLARE_METATYPE(CheckRow)
Q_DECLARE_METATYPE(OpenRow)

class TestGameRules : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    [[nodiscard]] QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    // --- the draw and the setup check -----------------------------------------------------

    void drawEndingTurn_range_data()
    {
        addRowColumn<DrawRow>();
        addRow<DrawRow>("scenario", 20, 3, kScenario, 17, 20, "17 and 20 (inclusive).");
        addRow<DrawRow>(
            "quick battle", 20, 3, kQuick, 17, 23,
            "17 and 23 (inclusive).  When setting up your quick battle, be sure to set the "
            "maximun number of turns to 23.");
        addRow<DrawRow>("scenario, no modifier", 20, 0, kScenario, 20, 20,
                        "20 and 20 (inclusive).");
        addRow<DrawRow>("quick, no modifier", 20, 0, kQuick, 20, 20, QString());
        addRow<DrawRow>("two turns", 2, 1, kScenario, 1, 2, "1 and 2 (inclusive).");
        addRow<DrawRow>("modifier above turns", 5, 8, kScenario, -3, 5, "-3 and 5 (inclusive).");
        addRow<DrawRow>("unknown type", 20, 3, kUnknownType, 0, 0, "");
    }
    void drawEndingTurn_range()
    {
        QFETCH(DrawRow, row);
        QRandomGenerator random(20261207);
        std::map<int, int> seen;
        constexpr int kDraws = 40000;
        for (int i = 0; i < kDraws; ++i)
            ++seen[drawEndingTurn(row.turns, row.modifier, row.type, random)];
        QCOMPARE(seen.begin()->first, row.earliest);
        QCOMPARE(seen.rbegin()->first, row.latest);
        QCOMPARE(int(seen.size()), row.latest - row.earliest + 1);
        // Inner turns are equally likely; each end of the window about half as likely.
        const double inner = double(kDraws) / std::max(1, row.latest - row.earliest);
        for (const auto& [turn, count] : seen) {
            const bool end = turn == row.earliest || turn == row.latest;
            const double expected = row.earliest == row.latest ? kDraws : end ? inner / 2 : inner;
            QVERIFY2(qAbs(count - expected) <= expected * 0.1, qPrintable(QString::number(turn)));
        }
        if (!row.tail.isNull())
            QCOMPARE(describeEndingRange(row.turns, row.modifier, row.type), row.tail);
    }

    void drawEndingTurn_systemSource_drawsIndependently()
    {
        // Two games created at the same moment must not share a draw (as with a clock seed).
        int differing = 0;
        for (int i = 0; i < 50; ++i)
            differing += drawEndingTurn(99, 98, kScenario) != drawEndingTurn(99, 98, kScenario);
        QVERIFY(differing > 25);
    }

    void confirmationText()
    {
        QCOMPARE(tfp::confirmationText(sampleEntries("20", "3", kSecure, kQuick)),
                 "You are about to create a game file with the following parameters:\r\n"
                 "     Game Name:   \tRidge\r\n     Type:        \tQuick Battle\r\n"
                 "     Mode:        \tSecure\r\n     Player 1:    \tAnna\r\n"
                 "     Player 2:    \tBen\r\n     Game Turns:  \t20 with modifier of \u00b13\r\n"
                 "\r\nYour game will end between turn 17 and 23 (inclusive).  When setting up "
                 "your quick battle, be sure to set the maximun number of turns to 23.\r\n");
        const QString basic = tfp::confirmationText(sampleEntries());
        QVERIFY(basic.contains("Scenario\r\n     Mode:        \tBasic\r\n"));
        QVERIFY(basic.contains("modifier of 3\r\n\r\nYour game will end between turn 17 and 20"));
    }

    // Every way entries can fail to become a game, in the order the rule looks: the
    // validation's box (one line per problem, whatever the others found), then the limits.
    // An empty refusal means the game may be made.
    void setupRefusal_data()
    {
        const auto box = [](const QStringList& lines) {
            return "Errors encountered:\r\n" + kBullet + lines.join("\r\n" + kBullet) +
                   "\r\n\r\n\r\nPlease check your entries and try again.";
        };
        const QString name = QStringLiteral("Please enter a name for the game");
        const QString p1 = QStringLiteral("Please enter a name for 'Player #1'");
        const QString p2 = QStringLiteral("Please enter a name for 'Player #2'");
        const QString turns = QStringLiteral("Please enter the number of turns for your game");
        const QString modifier = QStringLiteral("Please enter the modifier for the game");
        const QString range = QStringLiteral("The number of turns must be a whole number from 1 "
                                             "to 99.");
        const QString below = QStringLiteral("The modifier must be a whole number from 0 to 19 "
                                             "(one less than the number of turns).");
        const QString unkept = QStringLiteral("%1 holds the character '%2' (U+%3), which a game "
                                              "file cannot keep. Please use another.");
        addRowColumn<SetupRow>();
        addRow<SetupRow>("all empty", "", "", "", "", box({name, p1, p2, turns, modifier}));
        addRow<SetupRow>("turns 0, modifier empty", "x", "x", "0", "", box({turns, modifier}));
        addRow<SetupRow>("turns 0, modifier 0", "x", "x", "0", "0", box({turns}));
        addRow<SetupRow>("pasted letters", "x", "x", "1a", "x",
                         box({"Please enter a number for 'Game Turns'",
                              "Please enter a number for 'Modifier'"}));
        addRow<SetupRow>("validation first", "", "Anna", "20", "-1", box({name}));
        addRow<SetupRow>("longest", QString(100, u'g'), QString(50, u'p'), "99", "98", "");
        addRow<SetupRow>("game name too long", QString(101, u'g'), "Anna", "20", "3",
                         "The game name can have at most 100 characters.");
        addRow<SetupRow>("player #1's name too long", "Ridge", QString(51, u'p'), "20", "3",
                         "A player name can have at most 50 characters.", "Ben");
        addRow<SetupRow>("player #2's name too long", "Ridge", "Anna", "20", "3",
                         "A player name can have at most 50 characters.", QString(51, u'p'));
        addRow<SetupRow>("tag in a name", "</GameName>", "Anna", "20", "3",
                         "Names cannot contain the characters < and >.");
        addRow<SetupRow>("turns 00", "Ridge", "Anna", "00", "0", range);
        addRow<SetupRow>("turns 1", "Ridge", "Anna", "1", "0", "");
        addRow<SetupRow>("turns 99", "Ridge", "Anna", "99", "0", "");
        addRow<SetupRow>("turns 100", "Ridge", "Anna", "100", "0", range);
        addRow<SetupRow>("turns with a sign and blanks", "Ridge", "Anna", " +12 ", "0", range);
        addRow<SetupRow>("negative modifier", "Ridge", "Anna", "20", "-1", below);
        addRow<SetupRow>("modifier equal to turns", "Ridge", "Anna", "20", "20", below);
        addRow<SetupRow>("modifier one below turns", "Ridge", "Anna", "20", "19", "");
        addRow<SetupRow>("Western European letters", "Caf\u00e9 \u00c6sir \u20ac", "J\u00fcrgen",
                         "20", "3", "");
        addRow<SetupRow>("Cyrillic player", "Ridge", "\u0418\u0432\u0430\u043d", "20", "3",
                         unkept.arg("The name of player #1", "\u0418", "0418"));
        addRow<SetupRow>("Cyrillic player #2", "Ridge", "Anna", "20", "3",
                         unkept.arg("The name of player #2", "\u0418", "0418"), "\u0418");
        addRow<SetupRow>("game name in Chinese script", "\u6218\u5f79", "Anna", "20", "3",
                         unkept.arg("The game name", "\u6218", "6218"));
        addRow<SetupRow>("emoji counted as one character", "Ridge \U0001F600", "Anna", "20", "3",
                         unkept.arg("The game name", "\U0001F600", "1F600"));
    }
    void setupRefusal()
    {
        QFETCH(SetupRow, row);
        const SetupEntries entries{
            row.name,  row.player,   row.player2.isNull() ? row.player : row.player2,
            row.turns, row.modifier, kScenario,
            kBasic};
        const std::optional<Message> refused = tfp::setupRefusal(entries);
        QCOMPARE(refused.value_or(Message{}).text, row.refusal);
        QVERIFY(!refused || refused->title == QLatin1String("Torva Fogline Turnpicker"));
        QCOMPARE(validateGameSetup(entries).valid, !row.refusal.startsWith("Errors"));
    }

    void passwordRefusal_data()
    {
        const QString length =
            QStringLiteral("Please enter a password between 1 and 20 characters.");
        const QString unkept = QStringLiteral("A password cannot contain the character %1, which "
                                              "a game file cannot keep.");
        addRowColumn<TextRow>();
        addRow<TextRow>("plain", "Secret1", "");
        addRow<TextRow>("empty", "", length);
        addRow<TextRow>("20 characters", QString(20, u'p'), "");
        addRow<TextRow>("21 characters", QString(21, u'p'), length);
        addRow<TextRow>("tag", "a<b>", "A password cannot contain the characters < and >.");
        addRow<TextRow>("Cyrillic", "\u043f\u0430\u0440\u043e\u043b\u044c",
                        unkept.arg("'\u043f' (U+043F)"));
        addRow<TextRow>("Chinese", "a\u5bc6", unkept.arg("'\u5bc6' (U+5BC6)"));
        addRow<TextRow>("y with diaeresis", "s\u00ffx", unkept.arg("'\u00ff' (U+00FF)"));
        addRow<TextRow>("twenty emoji: the emoji, not the length",
                        QString("\U0001F600").repeated(20), unkept.arg("'\U0001F600' (U+1F600)"));
        addRow<TextRow>("Western European letters", "\u00c6\u00f8\u20ac\u00e9", "");
    }
    void passwordRefusal()
    {
        QFETCH(TextRow, row);
        QCOMPARE(tfp::passwordRefusal(row.text), row.expected);
    }

    // Whole numbers, halves rounded to the even neighbour, within 16 bits ("!": out of
    // range, "?": not a number).
    void readWholeNumber_data()
    {
        addRowColumn<TextRow>();
        addRow<TextRow>("digits", "42", "42");
        addRow<TextRow>("blanks and sign", " -7 ", "-7");
        addRow<TextRow>("half down to even", "2.5", "2");
        addRow<TextRow>("half up to even", "3.5", "4");
        addRow<TextRow>("exponent", "1e2", "100");
        addRow<TextRow>("highest", "32767", "32767");
        addRow<TextRow>("lowest", "-32768", "-32768");
        addRow<TextRow>("above", "32768", "!");
        addRow<TextRow>("below", "-32769", "!");
        addRow<TextRow>("letters", "1a", "?");
        addRow<TextRow>("beyond a double", "1e400", "?");
        addRow<TextRow>("empty", "", "?");
    }
    void readWholeNumber()
    {
        QFETCH(TextRow, row);
        const WholeNumber n = tfp::readWholeNumber(row.text, -32768, 32767);
        const QString got = n.error == NumberError::OutOfRange  ? QStringLiteral("!")
                            : n.error == NumberError::NotNumber ? QStringLiteral("?")
                                                                : QString::number(n.value);
        QCOMPARE(got, row.expected);
        QVERIFY(n.error == NumberError::None || n.value == 0);
    }

    // --- creation -------------------------------------------------------------------------

    void prepareNewGame_data()
    {
        QTest::addColumn<SecurityMode>("mode");
        QTest::newRow("basic: drawn at once") << kBasic;
        QTest::newRow("secure: player #1's password, the draw left to player #2") << kSecure;
    }
    void prepareNewGame()
    {
        QFETCH(SecurityMode, mode);
        const bool secure = mode == kSecure;
        Recorder recorder({QStringLiteral("  Alpha  ")});
        QRandomGenerator random(7);
        const QDateTime now(QDate(2026, 12, 7), QTime(8, 0));
        const GameRecord r =
            tfp::prepareNewGame(sampleEntries("20", "3", mode), recorder, random, now);
        QCOMPARE(r.CurrentTurn, 16);
        QCOMPARE(r.Version, QStringLiteral("1.5.24"));
        QCOMPARE(r.LastSavedDateTime, now);
        QVERIFY(secure ? r.EndingTurn == -1 : r.EndingTurn >= 17 && r.EndingTurn <= 20);
        QCOMPARE(r.Player1Pwd, secure ? QStringLiteral("Alpha") : QString());
        QCOMPARE(r.CurrentPlayer, secure ? 1 : kNoPlayer);
        QCOMPARE(r.DestinationPlayer, secure ? 2 : kNoPlayer);
        QCOMPARE(recorder.prompts.size(), secure ? 1 : 0);
        QVERIFY(!secure || (recorder.prompts.first().caption == "Set Password for Player #1" &&
                            recorder.prompts.first().playerName == "Anna"));
        const CreatedView view = createdGameView(r);
        QCOMPARE(view.status.message, secure ? "Anna, send this file to player #2."
                                             : "Press 'Check Turn' starting on turn 17");
        QCOMPARE(view.status.title, QStringLiteral("Game File Saved"));
        QCOMPARE(view.button.caption, secure ? "Send File" : "Check Turn 17");
        QCOMPARE(view.button.enabled, !secure);
    }

    void saveNewGame_secureWithoutPassword_writesNothing()
    {
        Recorder recorder; // the prompt ends with no password
        GameRecord r = tfp::prepareNewGame(sampleEntries("20", "3", kSecure), recorder);
        r.FilePath = path(QStringLiteral("nopassword.tfp"));
        QVERIFY(!saveNewGame(r, recorder));
        QVERIFY(!QFile::exists(r.FilePath));
        QCOMPARE(recorder.messages.value(0).text,
                 QStringLiteral("No password was chosen, so the game was not saved."));
    }

    void suggestedFileName()
    {
        const QDate today(2026, 12, 7);
        QCOMPARE(tfp::suggestedFileName("Ridge", today), QStringLiteral("Ridge"));
        QCOMPARE(tfp::suggestedFileName("a/b\\c:d*e?f|g<h>i", today), "a-b-c-d-e-f-g-h-i");
        QCOMPARE(tfp::suggestedFileName("", today), QStringLiteral("Game 12-07-2026"));
    }

    // --- the turn check -------------------------------------------------------------------

    // What one press of Check Turn shows and saves. A check that could not be saved, or
    // found the file changed by another copy, does not count: the record and the file stay
    // as they were and nothing is revealed.
    void checkTurnCommand_outcomes_data()
    {
        const QString handOver = QStringLiteral("Ben, send this file to player #1.");
        const QString goesOn = QStringLiteral("This is NOT the ending turn.");
        const QString ends = QStringLiteral("BATTLE OVER - CEASE FIRE!");
        const QString over = QStringLiteral("BATTLE OVER!");
        const QString notSaved = QStringLiteral("The game file could not be saved, so turn 17 "
                                                "was not checked.");
        const QString t17 = QStringLiteral("Turn #17"), t19 = QStringLiteral("Turn #19");
        const QString send = QStringLiteral("Send File"),
                      battleOver = QStringLiteral("Battle Over");
        const auto saved = FileState::Saved, gone = FileState::FolderGone;
        const auto elsewhere = FileState::ChangedElsewhere;
        const auto next = SoundCue::NextTurn, end = SoundCue::EndGame, none = SoundCue::None;
        addRowColumn<CheckRow>();
        addRow<CheckRow>("basic, goes on", kBasic, kScenario, 16, saved, CheckResult::NotEnding,
                         t17, goesOn, "Check Turn 18", next);
        addRow<CheckRow>("quick battle, goes on", kBasic, kQuick, 16, saved, CheckResult::NotEnding,
                         t17, goesOn, "Check Turn 18", next);
        addRow<CheckRow>("basic, ends", kBasic, kScenario, 18, saved, CheckResult::EndingReached,
                         t19, ends, battleOver, end);
        addRow<CheckRow>("basic, over", kBasic, kScenario, 19, saved, CheckResult::AlreadyOver, t19,
                         over, battleOver, none);
        addRow<CheckRow>("secure, goes on", kSecure, kScenario, 16, saved, CheckResult::NotEnding,
                         t17, goesOn + "\r\n" + handOver, send, next);
        addRow<CheckRow>("secure, ends", kSecure, kScenario, 18, saved, CheckResult::EndingReached,
                         t19, ends + "\r\n" + handOver, send, end);
        addRow<CheckRow>("secure, over", kSecure, kScenario, 20, saved, CheckResult::AlreadyOver,
                         "Turn #20", over + "\r\n" + handOver, send, none);
        addRow<CheckRow>("basic, unknown type", kBasic, kUnknownType, 16, saved,
                         CheckResult::Skipped, "", "", "", none);
        addRow<CheckRow>("secure, unknown type", kSecure, kUnknownType, 16, saved,
                         CheckResult::Skipped, "", handOver, send, none);
        addRow<CheckRow>("basic, save fails", kBasic, kScenario, 16, gone, CheckResult::SaveFailed,
                         "Turn Not Checked", notSaved, "Check Turn 17", none);
        addRow<CheckRow>("secure, save fails", kSecure, kScenario, 16, gone,
                         CheckResult::SaveFailed, "Turn Not Checked", notSaved, "Check Turn 17",
                         none);
        addRow<CheckRow>("basic, changed elsewhere", kBasic, kScenario, 16, elsewhere,
                         CheckResult::ChangedElsewhere, "Game File Loaded",
                         "Press 'Check Turn' starting on turn 17", "Check Turn 17", none);
        addRow<CheckRow>("secure, changed elsewhere", kSecure, kScenario, 16, elsewhere,
                         CheckResult::ChangedElsewhere, "Game File Loaded",
                         "Ben, press 'Check Turn' starting on turn 17", "Check Turn 17", none);
    }
    void checkTurnCommand_outcomes()
    {
        QFETCH(CheckRow, row);
        const bool secure = row.mode == kSecure;
        GameRecord r = secure ? secureGame(row.current, 19, 2) : basicGame(row.current, 19);
        r.GameType = row.type;
        QVERIFY(saveGame(r, path(QStringLiteral("check.tfp"))));
        if (row.file == FileState::FolderGone)
            r.FilePath = path(QStringLiteral("gone/check.tfp"));
        GameRecord theirs = r;
        ++theirs.CurrentTurn;
        FileErrorInfo error;
        QVERIFY(row.file != FileState::ChangedElsewhere || saveData(theirs, error));
        const GameRecord before = r;
        const QByteArray file = fileBytes(r.FilePath);
        Recorder recorder;
        const CheckOutcome o = checkTurnCommand(r, recorder);
        QCOMPARE(o.result, row.result);
        QCOMPARE(o.status.value_or(StatusView{}).title, row.title);
        QCOMPARE(o.status ? messageWithHandOver(o.status->message, o.handOver) : o.handOver,
                 row.message);
        QCOMPARE(o.button.value_or(ButtonView{}).caption, row.caption);
        QCOMPARE(o.button.value_or(ButtonView{}).enabled, row.caption.startsWith("Check"));
        QCOMPARE(o.sound, row.sound);
        const bool counted =
            row.result == CheckResult::NotEnding || row.result == CheckResult::EndingReached;
        const bool red =
            row.result == CheckResult::EndingReached || row.result == CheckResult::AlreadyOver;
        if (o.status)
            QCOMPARE(o.status->colour, row.result == CheckResult::NotEnding ? StatusColour::Green
                                       : red                                ? StatusColour::Red
                                                                            : StatusColour::Yellow);
        QCOMPARE(o.saved, counted);
        const QString shown = recorder.messages.value(0).text.section("\r\n", 0, 0);
        QCOMPARE(shown, row.file == FileState::Saved ? QString()
                        : row.file == FileState::FolderGone
                            ? "Could not save the file '" + r.FilePath + "'."
                            : "The game file '" + r.FilePath +
                                  "' was changed by another copy of the program after this "
                                  "one read it, so nothing was saved.");
        QCOMPARE(recorder.messages.size(), row.file == FileState::Saved ? 0 : 1);
        if (!counted) {
            QCOMPARE(r, before);
            QCOMPARE(fileBytes(r.FilePath), file);
            return;
        }
        const GameRecord inFile = loadGame(r.FilePath);
        QCOMPARE(inFile.CurrentTurn, row.current + 1);
        QCOMPARE(inFile.FileDigest, r.FileDigest);
        // The holder's marker records the turn they checked; the other's is untouched.
        QCOMPARE(inFile.Player2LastTurn, secure ? row.current + 1 : 0);
        QCOMPARE(inFile.Player1LastTurn, 0);
    }

    // --- opening --------------------------------------------------------------------------

    // What opening a file gives. In a Secure game Anna opens the file Ben sent her (with her
    // password "Alpha"): she may check when she has never checked or last checked an
    // earlier turn than the one reached, so nobody checks twice in a row. Opening alone
    // never changes the file.
    void openGameFile_outcomes_data()
    {
        const auto sent = [](qint16 current, qint16 marker) {
            GameRecord r = secureGame(current, 20, 2);
            r.Player1LastTurn = marker;
            return r;
        };
        const auto withVersion = [](const char* version) {
            GameRecord r = basicGame();
            r.Version = QString::fromLatin1(version);
            return r;
        };
        const GameRecord old = withVersion("1.5.21");
        GameRecord noHolder = sent(17, 0);
        noHolder.CurrentPlayer = noHolder.DestinationPlayer = kNoPlayer;
        GameRecord undrawn = secureGame(16, -1, 1);
        undrawn.Player2Pwd.clear();
        const QString may = QStringLiteral("Anna, press 'Check Turn' starting on turn %1");
        const QString mayNot = QStringLiteral("Anna, player #2 needs to check turn 18");
        const QString mismatch =
            QStringLiteral("The password entered does not match the current user's password.");
        const auto opened = OpenStatus::Opened, refused = OpenStatus::PasswordRefused;
        const auto failed = OpenStatus::ReadFailed;
        addRowColumn<OpenRow>();
        addRow<OpenRow>("wrong extension", "game.txt", GameRecord(), "", failed,
                        "Could not open the file '" + path("game.txt") +
                            "'.\r\n\r\nCannot open a file that does not have the .tfp "
                            "extension.\r\n\r\nCheck to make sure the file exists and is not "
                            "being used by another process, and then please try again.",
                        false, "---\r\n");
        addRow<OpenRow>("missing", "absent.tfp", GameRecord(), "", failed,
                        "Could not open the file '" + path("absent.tfp") + "'.");
        addRow<OpenRow>("not a game", "junk.tfp", GameRecord(), "", failed,
                        "Could not open the file '" + path("junk.tfp") + "'.", false, "hello\r\n");
        addRow<OpenRow>("version 1.5.21", "old.tfp", old, "", OpenStatus::VersionRefused,
                        "Application Version: \t1.5.24\r\n   File Version:        \t\t1.5.21\r\n");
        addRow<OpenRow>("version 1.5.25", "new.tfp", withVersion("1.5.25"), "",
                        OpenStatus::VersionRefused, "File Version:        \t\t1.5.25\r\n");
        addRow<OpenRow>("no version", "none.tfp", withVersion(""), "", OpenStatus::VersionRefused,
                        "File Version:        \t\t(Missing Version Information)\r\n");
        addRow<OpenRow>("version 1.5.22", "22.tfp", withVersion("1.5.22"), "", opened,
                        "Press 'Check Turn' starting on turn 17", true);
        addRow<OpenRow>("version 1.5.23", "23.tfp", withVersion("1.5.23"), "", opened,
                        "Press 'Check Turn' starting on turn 17", true);
        addRow<OpenRow>("basic, goes on", "basic.TFP", basicGame(18, 19), "", opened,
                        "Press 'Check Turn' starting on turn 19", true);
        addRow<OpenRow>("basic, over", "basic.tfp", basicGame(19, 19), "", opened,
                        "The battle is already over!", false);
        addRow<OpenRow>("never checked, at turn 0", "sent.tfp", sent(0, 0), "Alpha", opened,
                        may.arg(1), true);
        addRow<OpenRow>("never checked", "sent.tfp", sent(17, 0), "Alpha", opened, may.arg(18),
                        true);
        addRow<OpenRow>("checked the turn before", "sent.tfp", sent(17, 16), "Alpha", opened,
                        may.arg(18), true);
        addRow<OpenRow>("checked the turn reached", "sent.tfp", sent(17, 17), "Alpha", opened,
                        mayNot, false);
        addRow<OpenRow>("checked a later turn", "sent.tfp", sent(17, 18), "Alpha", opened, mayNot,
                        false);
        addRow<OpenRow>("password with blanks around", "sent.tfp", sent(17, 0), " Alpha  ", opened,
                        may.arg(18), true);
        addRow<OpenRow>("password in other letter case", "sent.tfp", sent(17, 0), "alpha", refused,
                        mismatch);
        addRow<OpenRow>("no password typed", "sent.tfp", sent(17, 0), "", refused, mismatch);
        addRow<OpenRow>("nobody holds it", "sent.tfp", noHolder, "Alpha", refused, mismatch);
        addRow<OpenRow>("no password chosen", "undrawn.tfp", undrawn, "", refused,
                        "No password was chosen, so the game was not opened. The file is "
                        "unchanged.");
    }
    void openGameFile_outcomes()
    {
        QFETCH(OpenRow, row);
        const QString file = path(row.name);
        GameRecord game = row.game;
        QVERIFY(row.content.isEmpty() ? game.GameName.isEmpty() || saveGame(game, file)
                                      : writeFile(file, row.content));
        const QByteArray before = fileBytes(file);
        Recorder recorder({row.answer});
        const OpenOutcome o = openGameFile(file, recorder);
        QCOMPARE(o.status, row.status);
        QCOMPARE(fileBytes(file), before);
        const bool opened = row.status == OpenStatus::Opened;
        QCOMPARE(recorder.messages.size(), opened ? 0 : 1);
        if (!opened) {
            const QString text = recorder.messages.first().text;
            QVERIFY2(text.contains(row.shown), qPrintable(text));
            return;
        }
        const bool over = row.shown.contains("already over");
        QCOMPARE(o.view, (StatusView{over ? "Turn #19" : "Game File Loaded", row.shown,
                                     over ? StatusColour::Red : StatusColour::Yellow}));
        const QString caption = QStringLiteral("Check Turn %1").arg(game.CurrentTurn + 1);
        QCOMPARE(o.button, (ButtonView{over ? "Battle Over" : caption, row.allowed,
                                       over ? Light::Red : Light::Yellow}));
        QCOMPARE(o.checkAllowed, row.allowed);
        QCOMPARE(o.record.FilePath, file);
    }

    // Anna creates the game; Ben's first opening makes the draw (20 from this generator)
    // and the file then goes back and forth, each player checking one turn and refused a
    // second check in a row.
    void openGameFile_secureRound_betweenTwoPlayers()
    {
        Recorder anna({password(1)});
        QRandomGenerator random(8);
        GameRecord created = tfp::prepareNewGame(sampleEntries("20", "3", kSecure), anna);
        created.FilePath = path(QStringLiteral("secure.tfp"));
        QVERIFY(saveNewGame(created, anna));
        QCOMPARE(loadGame(created.FilePath).EndingTurn, -1);
        Recorder ben({password(2)});
        OpenOutcome o = openGameFile(created.FilePath, ben, random);
        QCOMPARE(ben.prompts.size(), 1);
        QCOMPARE(ben.prompts.first().caption, QStringLiteral("Set Password for Player #2"));
        QCOMPARE(ben.prompts.first().playerName, QStringLiteral("Ben"));
        const GameRecord drawn = loadGame(created.FilePath);
        QCOMPARE(drawn.EndingTurn, 20);
        QCOMPARE(drawn.Player2Pwd, password(2));
        QCOMPARE(drawn.CurrentPlayer, 2);
        QCOMPARE(o.record.FileDigest, drawn.FileDigest);
        const QStringList names = {QStringLiteral("Anna"), QStringLiteral("Ben")};
        for (int turn = 17, holder = 2; turn <= 20; ++turn, holder = otherPlayer(holder)) {
            QCOMPARE(o.status, OpenStatus::Opened);
            QCOMPARE(o.view.message, QStringLiteral("%1, press 'Check Turn' starting on turn %2")
                                         .arg(names.at(holder - 1))
                                         .arg(turn));
            const CheckOutcome c = checkTurnCommand(o.record, ben);
            QCOMPARE(c.result, turn < 20 ? CheckResult::NotEnding : CheckResult::EndingReached);
            QCOMPARE(playerLastTurn(loadGame(o.record.FilePath), holder), turn);
            QCOMPARE(c.handOver, QStringLiteral("%1, send this file to player #%2.")
                                     .arg(names.at(holder - 1))
                                     .arg(otherPlayer(holder)));
            // The same player cannot check again: opening asks for the other's password.
            const QByteArray before = fileBytes(o.record.FilePath);
            Recorder again({password(holder)});
            QCOMPARE(openGameFile(o.record.FilePath, again, random).status,
                     OpenStatus::PasswordRefused);
            QCOMPARE(again.prompts.first().caption,
                     QStringLiteral("Enter Password for Player #%1").arg(otherPlayer(holder)));
            Recorder next({password(otherPlayer(holder))});
            o = openGameFile(o.record.FilePath, next, random);
            QCOMPARE(fileBytes(o.record.FilePath), before); // opening alone changes nothing
        }
        QCOMPARE(o.view.message, QStringLiteral("The battle is already over!"));
        QCOMPARE(loadGame(o.record.FilePath).CurrentTurn, 20);
    }
};

QTEST_GUILESS_MAIN(TestGameRules)
#include "tst_game_rules.moc"
