// The main window driven through its controls (other dialogs answered through their seams), then
// the password and confirm-save dialogs through theirs. The rules are the game library's tests.
#include "game/sealedplay.h"
#include "shell/attention.h"
#include "testsupport.h"
#include "ui/frmmain.h"
#include "ui/updown.h"
#include "windowseams.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <QWindow>

using namespace tfp;
using namespace tfp::ui;
using tfp::shell::MessageBox;
using tfp::test::addRow, tfp::test::addRowColumn;

// clang-format off
namespace {
const char* const kBoxes[] = {"txtGameName", "txtAllied", "txtAxis", "txtGameTurns", "txtVariance"};

// Which of the four command buttons are enabled.
struct Buttons { bool save, create, check, open;
    friend bool operator==(const Buttons&, const Buttons&) = default; };
constexpr Buttons kWelcomeButtons{false, true, false, true}, kCheckButtons{false, true, true, true},
    kNoCheckButtons{false, true, false, true};
// What the window shows: its mode, the status panel and the command buttons.
struct Shown { WindowMode mode; QString title, message; QColor colour; Buttons enabled;
    QString checkCaption; friend bool operator==(const Shown&, const Shown&) = default; };
char* toString(const Shown& s)
{
    return test::fieldsText(s.mode, s.title, s.message, s.colour.name(), s.enabled.save,
                            s.enabled.create, s.enabled.check, s.enabled.open, s.checkCaption);
}
const QColor kGreen(0, 192, 0), kYellow(255, 255, 0), kRed(255, 0, 0);
const auto kGamePlay = WindowMode::GamePlay;
const Shown kWelcome{WindowMode::Welcome, "Welcome",
                     "Please create a new game file\nor open an existing one.", kGreen,
                     kWelcomeButtons, "Check Turn"},
    kSetupToSave{WindowMode::Setup, "Setup the Game File", "Enter game parameters in each field.",
                 kGreen, {true, false, false, false}, "Check Turn"},
    kLoaded{kGamePlay, "Game File Loaded", "Press 'Check Turn' starting on turn 17", kYellow,
            kCheckButtons, "Check Turn 17"},
    kNotTheEnd{kGamePlay, "Turn #17", "This is NOT the ending turn.", kGreen, kCheckButtons,
               "Check Turn 18"},
    kTheEnd{kGamePlay, "Turn #17", "BATTLE OVER - CEASE FIRE!", kRed, kNoCheckButtons,
            "Battle Over"};
// The setup entries: the five boxes, whether they can be edited, Quick Battle and Secure chosen.
struct Entries { QStringList boxes; bool editable = false, quick = false, secure = false;
    friend bool operator==(const Entries&, const Entries&) = default; };
char* toString(const Entries& e)
{ return test::fieldsText(e.boxes.join(u','), e.editable, e.quick, e.secure); }
const QStringList kRidgeBoxes = {"Ridge", "Anna", "Ben", "20", "3"},
                  kNoBoxes = {"", "", "", "0", "0"};
// The turns, the modifier and the highest the modifier's arrows reach.
struct Numbers { QString turns, modifier; int highest;
    friend bool operator==(const Numbers&, const Numbers&) = default; };
char* toString(const Numbers& n) { return test::fieldsText(n.turns, n.modifier, n.highest); }

// What is done before a check: the game only opened, then a file refused or a dialog cancelled.
enum class Before { GameOpened, DamagedFileRefused, DialogCancelled, ChangedElsewhere };
struct CheckRow { qint16 ending; Before before; Shown shown; };

// How a dialog is answered: its first button (OK, Yes), its second, Escape, or closed.
enum class Press { First, Second, Escape, Close };
struct PasswordRow { QString typed; Press press; QString handedBack; bool stays; };
} // namespace
// clang-format on

class tst_frmMain : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::WindowSeams> seams;
    std::unique_ptr<frmMain> window;

    template <typename T = QLineEdit> T* get(const QString& n) { return window->findChild<T*>(n); }
    void click(const QString& name) { QTest::mouseClick(get<QWidget>(name), Qt::LeftButton); }
    auto* button(Command c) { return get<QToolButton>(QString("cmdCommand_%1").arg(int(c))); }
    void click(Command c) { QTest::mouseClick(button(c), Qt::LeftButton); }
    bool enabled(Command c) { return button(c)->isEnabled(); }
    static QString focused() { return QApplication::focusWidget()->objectName(); }
    static void key(int k) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(k)); }
    // What a screen reader says of the control with the focus: its name and its value.
    static QString spoken()
    {
        const auto* control = QAccessible::queryAccessibleInterface(QApplication::focusWidget());
        return control->text(QAccessible::Name) + u'|' + control->text(QAccessible::Value);
    }
    static Message message() { return MessageBox::testSeam().lastRequest().value_or(Message{}); }
    Shown shown()
    {
        const QLineEdit* title = get("txtGameStatus_0");
        const QString message = get<QTextEdit>("txtGameStatus_1")->toPlainText();
        const QColor colour = title->palette().color(QPalette::Text);
        const Buttons on{enabled(Command::Save), enabled(Command::New), enabled(Command::CheckTurn),
                         enabled(Command::Open)};
        return {
            window->mode(), title->text(), message, colour, on, button(Command::CheckTurn)->text()};
    }
    Entries entries()
    {
        Entries e{{}, get("txtGameName")->isEnabled(), false, false};
        e.quick = get<QRadioButton>("optType_1")->isChecked();
        e.secure = get<QRadioButton>("optMode_1")->isChecked();
        for (const char* box : kBoxes)
            e.boxes << get(box)->text();
        return e;
    }
    // New, then the entries typed (game name, players, turns, modifier) and an option chosen.
    void setup(const QStringList& typed, const QString& option = {})
    {
        click(Command::New);
        for (int i = 0; i < typed.size(); ++i) {
            get(kBoxes[i])->clear();
            QTest::keyClicks(get(kBoxes[i]), typed[i]);
        }
        if (!option.isEmpty())
            click(option);
    }
    // Save or Open pressed, the dialogs answered (no path: the file dialog is cancelled).
    void press(Command c, const QString& path, bool confirmed = true, const QString& pw = {})
    {
        frmConfirmSave::testSeam().queueAnswer(confirmed);
        frmPassword::testSeam().queueAnswer(pw);
        if (!path.isEmpty())
            FileDialog::testSeam().queueAnswer(path);
        click(c);
    }
    // The numbers once `text` is typed into box `name` and Tab pressed (no box: as they are).
    Numbers numbers(const QString& name = {}, const QString& text = {})
    {
        if (!name.isEmpty()) {
            get(name)->setFocus();
            get(name)->clear();
            QTest::keyClicks(get(name), text);
            QTest::keyClick(get(name), Qt::Key_Tab);
        }
        return {get("txtGameTurns")->text(), get("txtVariance")->text(),
                get<UpDown>("UpDown2")->highest()};
    }

private slots:
    void init()
    {
        seams = std::make_unique<test::WindowSeams>();
        window = std::make_unique<frmMain>();
        window->load();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void cleanup()
    {
        window.reset();
        seams.reset();
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    }

    // The window starts at its welcome, the version in its title, the status lines named; the
    // donation link opens on a left click pressed and released on it, nothing else; Escape asks
    // whether to quit.
    void welcome_titleLinkAndQuit()
    {
        QCOMPARE(window->windowHandle()->title(), u"Torva Fogline Turnpicker v1.6.0");
        QCOMPARE(shown(), kWelcome);
        QCOMPARE(entries(), (Entries{kNoBoxes}));
        for (const char* status : {"picStatusFrame", "txtGameStatus_0", "txtGameStatus_1"})
            QVERIFY(!get<QWidget>(status)->accessibleName().isEmpty());
        auto* link = get<QLabel>("lblMoreInfo");
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(seams->opened.size(), 1);
        QTest::mouseClick(link, Qt::RightButton);
        QTest::mousePress(link, Qt::LeftButton);
        QTest::mouseRelease(link, Qt::LeftButton, {}, {5, -5});
        QCOMPARE(seams->opened.size(), 1);
        MessageBox::testSeam().queueAnswer(MessageBox::Answer::Yes);
        key(Qt::Key_Escape);
        QCOMPARE(message().title, u"Quit Torva Fogline Turnpicker");
        QVERIFY(!window->isVisible());
    }

    // Enter presses the button that has the focus; Escape leaves Setup at once when nothing
    // is entered but the modifier, and asks first otherwise (No keeps the entries).
    void setup_escape_asksOnlyWhenSomethingIsEntered()
    {
        get<QWidget>("cmdCommand_1")->setFocus();
        key(Qt::Key_Return);
        QTest::keyClicks(get("txtVariance"), QStringLiteral("5"));
        key(Qt::Key_Escape);
        QCOMPARE(shown(), kWelcome);
        QCOMPARE(message(), Message{});
        for (const char* box : {"txtGameName", "txtAxis"}) {
            setup({});
            QTest::keyClicks(get(box), QStringLiteral("5"));
            MessageBox::testSeam().queueAnswer(MessageBox::Answer::No);
            key(Qt::Key_Escape);
            QCOMPARE(message().title, u"Discard Changes");
            QCOMPARE(shown().mode, WindowMode::Setup);
            get(box)->clear();
        }
    }

    // Shift+F10 and the Menu key open the program's menu wherever the focus is, over a box
    // after the box's own entries.
    void programMenu_fromTheKeyboard()
    {
        const auto menu = [] { // its entries, separators empty; it closes
            QStringList entries;
            auto* shown = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            for (const QAction* action : shown ? shown->actions() : QList<QAction*>())
                entries << action->text();
            return (shown && shown->close()) ? entries : QStringList();
        };
        const QStringList program = {"About Torva Fogline Turnpicker...", "Help Documentation...",
                                     "Program Options..."};
        click(Command::New);
        QTest::keyClick(get("txtAllied"), Qt::Key_F10, Qt::ShiftModifier);
        const QStringList overBox = menu(); // the box's own entries, a separator, the program's
        QCOMPARE(overBox.mid(overBox.size() - 4), QStringList{""} + program);
        QTest::keyClick(get<QWidget>("optMode_1"), Qt::Key_Menu);
        QCOMPARE(menu(), program);
    }

    // Names lose tag characters, control characters (pasted) and outer blanks; Save waits for
    // the turns. Numbers take two digits at most, and the modifier is held below the turns,
    // typed or stepped by the arrows. Tab enters an option pair at its selected button.
    void setup_editors_filterAndHoldTheNumbers()
    {
        setup({"a<b>c", "", "<Ben>"});
        get("txtAxis")->insert("\nBATTLE OVER");
        QCOMPARE(numbers("txtAllied", "  A "), (Numbers{"0", "0", 60}));
        QCOMPARE(entries(), (Entries{{"abc", "A", "Ben", "0", "0"}, true}));
        QVERIFY(!enabled(Command::Save));
        QCOMPARE(numbers("txtVariance", "123"), (Numbers{"0", "12", 60}));
        QCOMPARE(numbers("txtGameTurns", "a-. 1x2"), (Numbers{"12", "11", 11}));
        QCOMPARE(numbers("txtGameTurns", "20"), (Numbers{"20", "11", 19}));
        QCOMPARE(numbers("txtVariance", "29"), (Numbers{"20", "19", 19}));
        QVERIFY(enabled(Command::Save));
        QLineEdit* turns = get("txtGameTurns");
        get("txtVariance")->setText(QStringLiteral("9"));
        turns->setText(QStringLiteral("5"));
        QTest::mouseClick(get<UpDown>("UpDown1")->findChild<QWidget*>("up"), Qt::LeftButton);
        QCOMPARE(numbers(), (Numbers{"6", "5", 5}));
        turns->setText(QStringLiteral("2"));
        QTest::keyClick(turns, Qt::Key_Down);
        QTest::keyClick(turns, Qt::Key_Down);
        QTest::keyClick(get("txtVariance"), Qt::Key_Up);
        QCOMPARE(numbers(), (Numbers{"1", "0", 0}));
        click("optType_1");
        get("txtGameName")->setFocus();
        QTest::keyClick(get("txtGameName"), Qt::Key_Tab);
        QCOMPARE(focused(), u"optType_1");
    }

    // Declined, the focus goes back to the game name; confirmed, the game is saved and shown.
    // New then suggests the stored names, and Save the stored folder.
    void createGame_savedOnceConfirmed()
    {
        shell::settingsFlags() = {true, true, true, false, {}};
        const QString path = seams->path(QStringLiteral("ridge.tfp"));
        setup(kRidgeBoxes);
        press(Command::Save, {}, false);
        QCOMPARE(focused(), u"txtGameName");
        press(Command::Save, path);
        QCOMPARE(shown(),
                 (Shown{kGamePlay, "Game File Saved", "Press 'Check Turn' starting on turn 17",
                        kYellow, kCheckButtons, "Check Turn 17"}));
        QCOMPARE(entries(), (Entries{kRidgeBoxes}));
        QCOMPARE(focused(), u"cmdCommand_2");
        QCOMPARE(test::loadGame(path).GameType, GameType::Scenario);
        const FileDialogRequest asked = *FileDialog::testSeam().lastRequest();
        QVERIFY(asked.save && asked.title == u"Save Torva Fogline File" &&
                asked.fileName == u"Ridge");
        QCOMPARE(seams->played, QStringList(3, shell::soundFilePath(SoundCue::Event)));
        click(Command::New);
        QCOMPARE(entries(), (Entries{{"", "Anna", "Ben", "0", "0"}, true}));
        get("txtGameTurns")->setText(QStringLiteral("1"));
        QTest::keyClicks(get("txtGameName"), QStringLiteral("Other"));
        press(Command::Save, {});
        QCOMPARE(FileDialog::testSeam().lastRequest()->directory,
                 QDir::toNativeSeparators(seams->dir.path() + u'/'));
    }

    // A new game that cannot be saved (its folder has gone) says why, and the window stays in
    // Setup with the entries as they were; the folder is not offered again.
    void createGame_saveFails_staysInSetup()
    {
        shell::settingsFlags().UseLastSavePath = true;
        const QString path = seams->path(QStringLiteral("gone/ridge.tfp"));
        setup(kRidgeBoxes);
        press(Command::Save, path);
        QVERIFY2(message().text.startsWith("Could not save the file '" +
                                           QDir::toNativeSeparators(path) + "'."),
                 qPrintable(message().text));
        QCOMPARE(shown(), kSetupToSave);
        QCOMPARE(entries(), (Entries{kRidgeBoxes, true}));
        QVERIFY(!QFileInfo::exists(path) &&
                shell::ReadSetting(shell::Setting::LastSavePath).isEmpty());
#ifdef Q_OS_WIN // nor a program folder under Program Files, though its attributes allow writing
        const QByteArray programFiles = qgetenv("ProgramFiles");
        qputenv("ProgramFiles", QFile::encodeName(QFileInfo(seams->dir.path()).path()));
        QCOMPARE(defaultSaveFolder(seams->dir.path()),
                 QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        qputenv("ProgramFiles", programFiles);
#endif
    }

    // A Secure game whose player #1 chose no password is refused before the file dialog, and
    // nothing is written, not even a setting.
    void createGame_secureWithoutPassword_writesNothing()
    {
        shell::settingsFlags() = {true, true, true, false, {}};
        setup(kRidgeBoxes, QStringLiteral("optMode_1"));
        press(Command::Save, seams->path(QStringLiteral("ridge.tfp")), true, QString());
        QCOMPARE(message().text, "No password was chosen, so the game was not saved.");
        QCOMPARE(FileDialog::testSeam().requests().size(), 0);
        QCOMPARE(QDir(seams->dir.path()).entryList(QDir::Files), QStringList());
        QCOMPARE(shown().mode, WindowMode::Setup);
        QCOMPARE(entries(), (Entries{kRidgeBoxes, true, false, true}));
    }

    // A check of an opened game, the game in hand kept by a refused file or a cancelled dialog;
    // a file another copy checked (turn 17) leaves nothing stale on screen.
    void checkTurn_data()
    {
        addRowColumn<CheckRow>();
        addRow<CheckRow>("not the end", 20, Before::GameOpened, kNotTheEnd);
        addRow<CheckRow>("the end", 17, Before::GameOpened, kTheEnd);
        addRow<CheckRow>("damaged file refused first", 20, Before::DamagedFileRefused, kNotTheEnd);
        addRow<CheckRow>("file dialog cancelled first", 20, Before::DialogCancelled, kNotTheEnd);
        addRow<CheckRow>("changed by another copy", 20, Before::ChangedElsewhere, kWelcome);
    }
    void checkTurn()
    {
        QFETCH(CheckRow, row);
        GameRecord game = test::basicGame(16, row.ending);
        test::saveGame(game, seams->path(QStringLiteral("game.tfp")));
        press(Command::Open, game.FilePath);
        QCOMPARE(shown(), kLoaded);
        QCOMPARE(entries(), (Entries{kRidgeBoxes}));
        const GameRecord inHand = window->gameRecord();
        const QString refused = seams->path(QStringLiteral("refused.tfp"));
        QVERIFY(test::writeFile(refused, "zz\r\n"));
        if (row.before == Before::ChangedElsewhere)
            QVERIFY(test::saveGame(game = test::basicGame(17, 20), inHand.FilePath));
        else if (row.before != Before::GameOpened) {
            press(Command::Open, row.before == Before::DamagedFileRefused ? refused : QString());
            QCOMPARE(message().text.isEmpty(), row.before != Before::DamagedFileRefused);
            QCOMPARE(window->gameRecord(), inHand);
            QCOMPARE(shown(), kLoaded);
            get<QWidget>("cmdCommand_2")->setFocus();
        }
        key(Qt::Key_Return);
        QCOMPARE(shown(), row.shown);
        if (row.shown.mode == kGamePlay) // the result is spoken where the focus is
            QVERIFY2(spoken().contains(row.shown.message), qPrintable(spoken()));
        QCOMPARE(seams->played.constLast(),
                 shell::soundFilePath(row.ending == 17              ? SoundCue::EndGame
                                      : row.shown.mode == kGamePlay ? SoundCue::NextTurn
                                                                    : SoundCue::Event));
        const GameRecord inFile = test::loadGame(game.FilePath); // a Basic check marks no player
        QCOMPARE(QList<int>({inFile.CurrentTurn, inFile.Player1LastTurn, inFile.Player2LastTurn}),
                 QList<int>({17, 0, 0}));
    }

    // A file named on the command line (quoted) or dropped is opened; dropped text only flashes
    // the window, even over a box.
    void openPath_commandLineAndDrops()
    {
        GameRecord game = test::basicGame();
        test::saveGame(game, seams->path(QStringLiteral("game.tfp")));
        frmMain other;
        other.load(u'"' + game.FilePath + u'"');
        QCOMPARE(other.gameRecord().FilePath, game.FilePath);
        const auto drop = [this](const QMimeData& data, QPoint at) {
            QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(window->windowHandle(), &enter);
            QApplication::sendEvent(window->windowHandle(), &dropped);
            return enter.isAccepted() && dropped.isAccepted();
        };
        QMimeData text, files;
        text.setText(QStringLiteral("just words"));
        files.setUrls(
            {QUrl(QStringLiteral("https://a.example/b.tfp")), QUrl::fromLocalFile(game.FilePath)});
        click(Command::New);
        QVERIFY(drop(text, get("txtGameName")->geometry().center()));
        QVERIFY(shell::isFlashing(window.get()));
        QVERIFY(drop(files, {60, 190}));
        QCOMPARE(window->gameRecord().FilePath, game.FilePath);
    }

    // Anna creates a Secure game and sends it; Ben opens it (choosing his password, the ending
    // drawn), checks turn 17 and must send it back before he can check again.
    void secure_roundBetweenTwoPlayers()
    {
        const QString path = seams->path(QStringLiteral("ridge.tfp"));
        setup(kRidgeBoxes, QStringLiteral("optMode_1"));
        press(Command::Save, path, true, QStringLiteral("anna-pw"));
        const QString sendIt = "Anna, send this file to player #2.";
        QCOMPARE(shown(), (Shown{kGamePlay, "Game File Saved", sendIt, kYellow, kNoCheckButtons,
                                 "Send File"}));
        QCOMPARE(entries(), (Entries{kRidgeBoxes, false, false, true}));
        click(Command::New); // New, then Escape: the welcome, as Ben's copy of the program shows it
        key(Qt::Key_Escape);
        press(Command::Open, path, true, QStringLiteral("ben-pw"));
        QCOMPARE(shown().message, u"Ben, press 'Check Turn' starting on turn 17");
        key(Qt::Key_Return);
        const Shown handedOver = shown();
        QCOMPARE(handedOver.message.section(u'\n', 1), u"Ben, send this file to player #1.");
        QCOMPARE(handedOver.enabled, kNoCheckButtons);
        key(Qt::Key_Return);
        QCOMPARE(shown(), handedOver);
    }

    // Anna creates a Sealed game and sends it (her reopening says so); Ben, whose computer holds
    // no key, is asked whether to join, joins, and must send it back for Anna's check.
    void sealed_createdAndJoined()
    {
        const QString path = seams->path(QStringLiteral("ridge.tfp"));
        setup(kRidgeBoxes, QStringLiteral("optMode_2"));
        press(Command::Save, path);
        const Shown sent{kGamePlay, "Game File Saved", "Anna, send this file to player #2.",
                         kYellow,   kNoCheckButtons,   "Send File"};
        QCOMPARE(shown(), sent);
        press(Command::Open, path);
        QCOMPARE(shown(), (Shown{sent.mode, "Game File Loaded", sent.message, kYellow,
                                 kNoCheckButtons, "Send File"}));
        QVERIFY(get<QRadioButton>("optMode_2")->isChecked());

        // Ben's game: created on another computer, opened on this one without its key.
        GameRecord game = test::basicGame(0, 0);
        QString problem;
        QVERIFY(sealed::createGame(game, seams->path("anna-keys"), problem));
        QVERIFY(test::saveGame(game, seams->path("bens.tfp")));
        press(Command::Open, game.FilePath);
        QCOMPARE(message().text.section(u'\n', 0, 0),
                 u"'Ridge' is a sealed game waiting for player #2 to join.\r");
        QCOMPARE(shown(), (Shown{kGamePlay, "Game File Saved", "Ben, send this file to player #1.",
                                 kYellow, kNoCheckButtons, "Send File"}));
        press(Command::Open, game.FilePath);
        QCOMPARE(shown().message, u"Ben, player #1 needs to check turn 17");
    }

    // The password handed back, and whether the dialog stays open with a message; OK needs text.
    void password_answers_data()
    {
        addRowColumn<PasswordRow>();
        addRow<PasswordRow>("OK trims", "  pass word  ", Press::First, "pass word", false);
        addRow<PasswordRow>("OK with blanks: none", "   ", Press::First, "", false);
        addRow<PasswordRow>("OK, U+043F", "\u043f", Press::First, "", true);
        addRow<PasswordRow>("Cancel hands back the text", "pw", Press::Second, "pw", false);
        addRow<PasswordRow>("Cancel while empty", "", Press::Second, "", true);
        addRow<PasswordRow>("Escape hands back the text", "pw", Press::Escape, "pw", false);
        addRow<PasswordRow>("closed: none", "typed", Press::Close, "", false);
        addRow<PasswordRow>("closed while empty", "", Press::Close, "", true);
    }
    void password_answers()
    {
        QFETCH(PasswordRow, row);
        frmPassword dialog;
        dialog.open();
        auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("txtPassword"));
        box->setText(row.typed);
        QCOMPARE(QAccessible::queryAccessibleInterface(box)->text(QAccessible::Name), "Password:");
        const QList<QPushButton*> buttons = dialog.findChildren<QPushButton*>(); // OK, Cancel
        QCOMPARE(buttons[0]->isEnabled(), !row.typed.isEmpty());
        if (row.press == Press::Escape)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else if (row.press == Press::Close)
            dialog.close();
        else
            buttons[int(row.press)]->click();
        QCOMPARE(dialog.sValidatedPassword, row.handedBack);
        QCOMPARE(message().title, row.stays ? "Torva Fogline Turnpicker" : "");
        QCOMPARE(dialog.isVisible(), row.stays);
    }

    // Yes accepts the parameters and No does not; either closes the dialog.
    void confirmSave_answers()
    {
        for (const bool yes : {true, false}) {
            frmConfirmSave dialog;
            dialog.open();
            dialog.findChildren<QPushButton*>()[yes ? 0 : 1]->click();
            QCOMPARE(dialog.bAcceptGameParameters, yes);
            QVERIFY(!dialog.isVisible());
        }
    }
};

QTEST_MAIN(tst_frmMain)
#include "tst_frmmain.moc"
