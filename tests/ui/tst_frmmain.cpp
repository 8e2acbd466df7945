// The main window driven through its controls: setup entries, the new-game, open and
// check workflows, the keys, drops and the donation link; every dialog through its seam.
#include "shell/attention.h"
#include "testsupport.h"
#include "ui/frmmain.h"
#include "ui/updown.h"
#include "windowseams.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QToolButton>
#include <QWindow>

using namespace tfp;
using namespace tfp::ui;

// The rows of the tables below.
// clang-format off
namespace {
struct Entries { QStringList entries; bool saveEnabled; };
// Typed into a box, which is then left; the modifier box holds `modifier` before.
struct Typing { QString box, typed, kept, modifier = "0", modifierKept = "0"; int highest = 60; };
// Save pressed and stopped before a game exists; `message`: how the one shown starts.
struct Stop { QString modifier; bool confirmed; QString password, file, message; bool fileAsked; };
struct Check { qint16 ending; QString message, caption; QColor colour; QString sound, after; };
// A key in welcome or setup mode, with "5" typed into `typed` and an answer to the question.
struct Key { int key; bool inSetup; QString typed, question; bool yes, setupAfter, closed = false; };
struct Mouse { int button; QPoint releasedAt; int opened; bool pressed = true; };
} // namespace
// clang-format on

class tst_frmMain : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::WindowSeams> seams;
    std::unique_ptr<frmMain> window;

    template <typename T = QWidget> T* control(const QString& name)
    {
        T* widget = window->findChild<T*>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }
    QLineEdit* edit(const QString& name) { return control<QLineEdit>(name); }
    QToolButton* button(int i)
    {
        return control<QToolButton>(QStringLiteral("cmdCommand_%1").arg(i));
    }
    void click(int i) { QTest::mouseClick(button(i), Qt::LeftButton); }
    void click(const QString& name) { QTest::mouseClick(control(name), Qt::LeftButton); }
    QString title() { return edit("txtGameStatus_0")->text(); }
    QColor colour() { return edit("txtGameStatus_0")->palette().color(QPalette::Text); }
    QString message() { return window->statusMessage(); }
    static QList<Message> messages() { return shell::MessageBox::testSeam().requests(); }
    void key(int k)
    {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : window.get(), Qt::Key(k));
    }
    // New, then the entries typed: game name, player #1, player #2, turns, modifier.
    void setup(const QStringList& entries, bool secure = false)
    {
        click(1);
        for (int i = 0; i < 5; ++i) {
            QLineEdit* box = edit(QStringList{"txtGameName", "txtAllied", "txtAxis", "txtGameTurns",
                                              "txtVariance"}[i]);
            box->clear();
            QTest::keyClicks(box, entries.value(i));
        }
        if (secure)
            click("optMode_1");
    }
    QString create(bool secure = false, const QString& password = {})
    {
        setup({"Ridge", "Anna", "Ben", "20", "3"}, secure);
        frmConfirmSave::testSeam().queueAnswer(true);
        frmPassword::testSeam().queueAnswer(password);
        open(seams->path(QStringLiteral("ridge.tfp")), 0);
        return seams->path(QStringLiteral("ridge.tfp"));
    }
    void open(const QString& path, int command = 3)
    {
        FileDialog::testSeam().queueAnswer(path);
        click(command);
    }
    QString sample(qint16 ending)
    {
        GameRecord r = test::basicGame(16, ending);
        test::saveGame(r, seams->path(QStringLiteral("game.tfp")));
        open(r.FilePath);
        return r.FilePath;
    }
    bool drop(QMimeData& data, QPoint at = {60, 190})
    {
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window->windowHandle(), &enter);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        if (enter.isAccepted())
            QApplication::sendEvent(window->windowHandle(), &dropped);
        return enter.isAccepted() && dropped.isAccepted();
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

    void welcome()
    {
        QCOMPARE(window->windowTitle(), QStringLiteral("Torva Fogline Turnpicker v1.5.24"));
        QCOMPARE(window->windowHandle()->title(), window->windowTitle());
        QCOMPARE(title(), QStringLiteral("Welcome"));
        QCOMPARE(colour(), QColor(0, 192, 0));
        QVERIFY(button(1)->isEnabled() && button(3)->isEnabled());
        QVERIFY(!button(0)->isEnabled() && !button(2)->isEnabled());
        QVERIFY(!edit("txtGameName")->isEnabled());
    }

    void saveButton_followsEntries_data()
    {
        test::addRowColumn<Entries>();
        // clang-format off
        test::addRow<Entries>("all there", QStringList{"G", "A", "B", "1", "0"}, true);
        test::addRow<Entries>("no turns", QStringList{"G", "A", "B", "0", "0"}, false);
        test::addRow<Entries>("no game name", QStringList{"", "A", "B", "5", "0"}, false);
        test::addRow<Entries>("no player 1", QStringList{"G", "", "B", "5", "0"}, false);
        test::addRow<Entries>("no player 2", QStringList{"G", "A", "", "5", "0"}, false);
        test::addRow<Entries>("no modifier", QStringList{"G", "A", "B", "5", ""}, true);
        // clang-format on
    }
    void saveButton_followsEntries()
    {
        QFETCH(Entries, row);
        setup(row.entries);
        QCOMPARE(button(0)->isEnabled(), row.saveEnabled);
    }

    void typing_data()
    {
        test::addRowColumn<Typing>();
        // clang-format off
        test::addRow<Typing>("digits only", "txtGameTurns", "a-. 1x2", "12", "0", "0", 11);
        test::addRow<Typing>("two digits", "txtVariance", "123", "12", "0", "12");
        test::addRow<Typing>("game name: no tags", "txtGameName", "a<b>c", "abc");
        test::addRow<Typing>("player: no tags", "txtAxis", "<Ben>", "Ben");
        test::addRow<Typing>("blanks trimmed", "txtAllied", "  A ", "A");
        test::addRow<Typing>("modifier above turns", "txtGameTurns", "10", "10", "15", "9", 9);
        test::addRow<Typing>("modifier as turns", "txtGameTurns", "10", "10", "10", "9", 9);
        test::addRow<Typing>("modifier below", "txtGameTurns", "10", "10", "9", "9", 9);
        test::addRow<Typing>("no turns", "txtGameTurns", "0", "0", "5", "5");
        test::addRow<Typing>("no modifier", "txtGameTurns", "10", "10", "", "", 9);
        // clang-format on
    }
    void typing()
    {
        QFETCH(Typing, row);
        click(1);
        edit("txtVariance")->setText(row.modifier);
        QLineEdit* box = edit(row.box);
        box->setFocus();
        box->clear();
        QTest::keyClicks(box, row.typed);
        edit(row.box == u"txtGameName" ? "txtAxis" : "txtGameName")->setFocus();
        QCOMPARE(box->text(), row.kept);
        QCOMPARE(edit("txtVariance")->text(), row.modifierKept);
        QCOMPARE(control<UpDown>("UpDown2")->highest(), row.highest);
    }

    void digitBoxes_keysAndArrows()
    {
        click(1);
        QLineEdit* turns = edit("txtGameTurns");
        QLineEdit* modifier = edit("txtVariance");
        turns->setFocus();
        turns->setText(QStringLiteral("12"));
        QTest::keyClick(turns, Qt::Key_Home);
        // X11 gives Delete the text "\x7f", as QTest gives Tab "\t": both pass the filter.
        QTest::sendKeyEvent(QTest::Click, turns, Qt::Key_Delete, QStringLiteral("\x7f"), {});
        QCOMPARE(turns->text(), QStringLiteral("2"));
        QTest::keyClick(turns, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), modifier);
        // The turns arrow steps the turns and keeps the modifier below them.
        modifier->setText(QStringLiteral("9"));
        turns->setText(QStringLiteral("5"));
        QTest::mouseClick(control<UpDown>("UpDown1")->findChild<QToolButton*>("up"),
                          Qt::LeftButton);
        QCOMPARE(turns->text() + u'/' + modifier->text(), QStringLiteral("6/5"));
        turns->setText(QStringLiteral("60"));
        QTest::keyClick(turns, Qt::Key_Up);
        QCOMPARE(turns->text(), QStringLiteral("60"));
        turns->setText(QStringLiteral("2"));
        QTest::keyClick(turns, Qt::Key_Down);
        QTest::keyClick(turns, Qt::Key_Down);
        QTest::keyClick(modifier, Qt::Key_Up);
        QCOMPARE(turns->text() + u'/' + modifier->text(), QStringLiteral("1/0"));
    }

    void optionPairs_keyboardEntersAtSelected()
    {
        click(1);
        edit("txtAllied")->setFocus();
        QTest::keyClick(edit("txtAllied"), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("optMode_0"));
        click("optType_1");
        edit("txtGameName")->setFocus();
        QTest::keyClick(edit("txtGameName"), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("optType_1"));
    }

    void createGame_data()
    {
        QTest::addColumn<bool>("optionsOn"); // sounds, names suggested, last save folder used
        QTest::newRow("options on") << true;
        QTest::newRow("options off") << false;
    }
    void createGame()
    {
        QFETCH(bool, optionsOn);
        shell::WriteSetting(shell::Setting::Player1Name, QStringLiteral("Old"));
        shell::settingsFlags() = {optionsOn, optionsOn, optionsOn, false, {}};
        const QString path = create();
        QCOMPARE(title() + u'/' + message(),
                 QStringLiteral("Game File Saved/Press 'Check Turn' starting on turn 17"));
        QCOMPARE(colour(), QColor(255, 255, 0));
        QCOMPARE(button(2)->text(), QStringLiteral("Check Turn 17"));
        QVERIFY(button(2)->isEnabled() && !edit("txtGameName")->isEnabled());
        const GameRecord saved = test::loadGame(path);
        QCOMPARE(saved.CurrentTurn, qint16(16));
        QVERIFY(saved.EndingTurn >= 17 && saved.EndingTurn <= 20);
        QVERIFY(frmConfirmSave::testSeam().lastRequest()->contains(u"20 with modifier of 3"));
        const FileDialogRequest asked = *FileDialog::testSeam().lastRequest();
        QVERIFY(asked.save && asked.title == u"Save Torva Fogline File" &&
                asked.fileName == u"Ridge");
        QCOMPARE(seams->played, (optionsOn ? QStringList(2, shell::soundFilePath(SoundCue::Event))
                                           : QStringList()));
        const QString folder =
            optionsOn ? QDir::toNativeSeparators(seams->dir.path() + u'/') : QString();
        const QString names = optionsOn ? QStringLiteral("Anna/Ben") : QStringLiteral("/");
        QCOMPARE(shell::ReadSetting(shell::Setting::Player1Name) + u'/' +
                     shell::ReadSetting(shell::Setting::Player2Name),
                 names);
        QCOMPARE(shell::ReadSetting(shell::Setting::LastSavePath), folder);
        // New suggests the names, and Save the folder, that were stored.
        click(1);
        QCOMPARE(edit("txtAllied")->text() + u'/' + edit("txtAxis")->text(), names);
        QVERIFY(edit("txtGameName")->text().isEmpty());
        setup({"Other", "A", "B", "5", "1"});
        frmConfirmSave::testSeam().queueAnswer(true);
        click(0);
        QCOMPARE(FileDialog::testSeam().lastRequest()->directory == folder, optionsOn);
    }

    void createGame_stopped_data()
    {
        test::addRowColumn<Stop>();
        // clang-format off
        const QString basic;
        test::addRow<Stop>("refused entries", "", true, basic, "g.tfp", "Errors encountered:", false);
        test::addRow<Stop>("declined", "3", false, basic, "g.tfp", "", false);
        test::addRow<Stop>("blank password", "3", true, "   ", "g.tfp", "No password was chosen, so the game was not saved.", false);
        test::addRow<Stop>("file dialog cancelled", "3", true, basic, "", "", true);
        test::addRow<Stop>("save fails", "3", true, basic, "gone/g.tfp", "Could not save the file '", true);
        // clang-format on
    }
    void createGame_stopped()
    {
        QFETCH(Stop, row);
        setup({"Ridge", "Anna", "Ben", "20", row.modifier}, !row.password.isNull());
        frmConfirmSave::testSeam().queueAnswer(row.confirmed);
        frmPassword::testSeam().queueAnswer(row.password);
        open(row.file.isEmpty() ? QString() : seams->path(row.file), 0);
        QCOMPARE(window->mode(), WindowMode::Setup);
        QCOMPARE(edit("txtAllied")->text(), QStringLiteral("Anna"));
        QCOMPARE(messages().size(), row.message.isEmpty() ? 0 : 1);
        QVERIFY(row.message.isEmpty() || messages()[0].text.startsWith(row.message));
        QCOMPARE(FileDialog::testSeam().lastRequest().has_value(), row.fileAsked);
        QCOMPARE(shell::ReadSetting(shell::Setting::Player1Name).isEmpty(), !row.fileAsked);
        QVERIFY(QDir(seams->dir.path()).entryList({QStringLiteral("*.tfp")}).isEmpty());
    }

    void checkTurn_data()
    {
        test::addRowColumn<Check>();
        // clang-format off
        test::addRow<Check>("not the end", 20, "This is NOT the ending turn.", "Check Turn 18", QColor(0, 192, 0), "NextTurn.wav", "Turn #18");
        test::addRow<Check>("the end", 17, "BATTLE OVER - CEASE FIRE!", "Battle Over", QColor(255, 0, 0), "EndGame.wav", "Turn #17");
        // clang-format on
    }
    void checkTurn()
    {
        QFETCH(Check, row);
        const QString path = sample(row.ending);
        QCOMPARE(message(), QStringLiteral("Press 'Check Turn' starting on turn 17"));
        seams->played.clear();
        key(Qt::Key_Return);
        QCOMPARE(title() + u'/' + message(), QStringLiteral("Turn #17/") + row.message);
        QCOMPARE(colour(), row.colour);
        QCOMPARE(button(2)->text(), row.caption);
        QCOMPARE(button(2)->isEnabled(), row.ending == 20);
        QCOMPARE(seams->played.size(), 2);
        QVERIFY(seams->played[1].endsWith(row.sound));
        QCOMPARE(test::loadGame(path).CurrentTurn, qint16(17));
        // Enter again: the next check, or nothing at all once the battle is over.
        const QByteArray file = test::fileBytes(path);
        key(Qt::Key_Return);
        QCOMPARE(title(), row.after);
        QCOMPARE(test::fileBytes(path) == file, row.ending == 17);
    }

    void open_refused_keepsGameInHand_data()
    {
        QTest::addColumn<int>("kind");
        int kind = 0;
        for (const char* tag : {"damaged", "missing", "other version", "file dialog cancelled"})
            QTest::newRow(tag) << kind++;
    }
    void open_refused_keepsGameInHand()
    {
        QFETCH(int, kind);
        const QString path = sample(20);
        const GameRecord before = window->gameRecord();
        const QString refused = seams->path(QStringLiteral("refused.tfp"));
        GameRecord old = test::basicGame();
        old.Version = QStringLiteral("1.5.21");
        if (kind == 0)
            test::writeFile(refused, "zz\r\n");
        else if (kind == 2)
            test::saveGame(old, refused);
        open(kind == 3 ? QString() : refused);
        QCOMPARE(messages().size(), kind == 3 ? 0 : 1);
        QCOMPARE(window->gameRecord(), before);
        QCOMPARE(title(), QStringLiteral("Game File Loaded"));
        click(2);
        QCOMPARE(test::loadGame(path).CurrentTurn, qint16(17));
    }

    void load_commandLinePath_opensIt()
    {
        QVERIFY(QDir().mkpath(seams->path(QStringLiteral("a folder"))));
        GameRecord r = test::basicGame();
        test::saveGame(r, seams->path(QStringLiteral("a folder/game.tfp")));
        frmMain other;
        other.load(u'"' + r.FilePath + u'"');
        QCOMPARE(other.mode(), WindowMode::GamePlay);
        QCOMPARE(other.gameRecord().FilePath, r.FilePath);
    }

    void drop_textFlashes_firstFileOpens()
    {
        GameRecord first = test::basicGame(), second = test::basicGame();
        test::saveGame(first, seams->path(QStringLiteral("first.tfp")));
        test::saveGame(second, seams->path(QStringLiteral("second.tfp")));
        QMimeData text;
        text.setText(QStringLiteral("just words"));
        QVERIFY(drop(text));
        QCOMPARE(window->mode(), WindowMode::Welcome);
        QVERIFY(shell::isFlashing(window.get()));
        click(1);
        QVERIFY(drop(text, edit("txtGameName")->geometry().center()));
        QVERIFY(edit("txtGameName")->text().isEmpty());
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(first.FilePath), QUrl::fromLocalFile(second.FilePath)});
        QVERIFY(drop(files));
        QCOMPARE(window->gameRecord().FilePath, first.FilePath);
    }

    void donationLink_data()
    {
        test::addRowColumn<Mouse>();
        // clang-format off
        test::addRow<Mouse>("left click", int(Qt::LeftButton), QPoint(), 1);
        test::addRow<Mouse>("right click", int(Qt::RightButton), QPoint(), 0);
        test::addRow<Mouse>("released elsewhere", int(Qt::LeftButton), QPoint(0, 40), 0);
        test::addRow<Mouse>("released, not pressed", int(Qt::LeftButton), QPoint(), 0, false);
        // clang-format on
    }
    void donationLink()
    {
        QFETCH(Mouse, row);
        auto* link = control<QLabel>("lblMoreInfo");
        const QPoint on = link->rect().center();
        if (row.pressed)
            QTest::mousePress(link, Qt::MouseButton(row.button), {}, on);
        QTest::mouseRelease(link, Qt::MouseButton(row.button), {}, on + row.releasedAt);
        QCOMPARE(seams->opened.size(), row.opened);
    }

    void secure_roundBetweenTwoPlayers()
    {
        auto& password = frmPassword::testSeam();
        const QString path = create(true, QStringLiteral("anna-pw"));
        QCOMPARE(password.requests()[0].caption + u'/' + password.requests()[0].name,
                 QStringLiteral("Set Password for Player #1/Anna"));
        QCOMPARE(message(), QStringLiteral("Anna, send this file to player #2."));
        QVERIFY(!button(2)->isEnabled());
        QCOMPARE(test::loadGame(path).EndingTurn, qint16(-1));
        // Ben opens it: he chooses his password and the ending is drawn.
        password.queueAnswer(QStringLiteral("ben-pw"));
        open(path);
        QCOMPARE(password.lastRequest()->caption, QStringLiteral("Set Password for Player #2"));
        QCOMPARE(message(), QStringLiteral("Ben, press 'Check Turn' starting on turn 17"));
        const GameRecord drawn = test::loadGame(path);
        QVERIFY(drawn.EndingTurn >= 17 && drawn.EndingTurn <= 20);
        key(Qt::Key_Return);
        QVERIFY(message().endsWith(u"\r\nBen, send this file to player #1."));
        QCOMPARE(button(2)->text(), QStringLiteral("Send File"));
        const QString handedOver = message();
        key(Qt::Key_Return);
        QCOMPARE(message(), handedOver);
        if (drawn.EndingTurn == 17)
            return; // the battle ended on Ben's turn
        // Ben reopens it: Anna holds it next, and he does not know her password.
        const QByteArray saved = test::fileBytes(path);
        password.queueAnswer(QStringLiteral("ANNA-PW"));
        open(path);
        QCOMPARE(password.lastRequest()->caption, QStringLiteral("Enter Password for Player #1"));
        QVERIFY(messages().constLast().text.startsWith(u"The password entered does not match"));
        QCOMPARE(window->mode(), WindowMode::Welcome);
        QCOMPARE(test::fileBytes(path), saved);
        password.queueAnswer(QStringLiteral("anna-pw"));
        open(path);
        QCOMPARE(message(), QStringLiteral("Anna, press 'Check Turn' starting on turn 18"));
        click(2);
        QCOMPARE(title(), QStringLiteral("Turn #18"));
    }

    void keys_data()
    {
        test::addRowColumn<Key>();
        // clang-format off
        const QString discard = QStringLiteral("Discard Changes");
        const QString quit = QStringLiteral("Quit Torva Fogline Turnpicker");
        const int esc = Qt::Key_Escape;
        test::addRow<Key>("setup, nothing typed", esc, true, "", "", true, false);
        test::addRow<Key>("setup, modifier only", esc, true, "txtVariance", "", true, false);
        test::addRow<Key>("setup, typed, no", esc, true, "txtAxis", discard, false, true);
        test::addRow<Key>("setup, typed, yes", esc, true, "txtAxis", discard, true, false);
        test::addRow<Key>("setup, turns, yes", esc, true, "txtGameTurns", discard, true, false);
        test::addRow<Key>("welcome, no", esc, false, "", quit, false, false);
        test::addRow<Key>("welcome, yes", esc, false, "", quit, true, false, true);
        test::addRow<Key>("Enter on New", int(Qt::Key_Return), false, "cmdCommand_1", "", true, true);
        test::addRow<Key>("Enter in a box", int(Qt::Key_Enter), true, "txtAxis", "", true, true);
        // clang-format on
    }
    void keys()
    {
        QFETCH(Key, row);
        if (row.inSetup)
            click(1);
        if (!row.typed.isEmpty()) {
            control(row.typed)->setFocus();
            QTest::keyClicks(control(row.typed), QStringLiteral("5"));
        }
        shell::MessageBox::testSeam().queueAnswer(row.yes ? shell::MessageBox::Answer::Yes
                                                          : shell::MessageBox::Answer::No);
        key(row.key);
        QCOMPARE(messages().size(), row.question.isEmpty() ? 0 : 1);
        QVERIFY(row.question.isEmpty() || messages()[0].title == row.question);
        QCOMPARE(window->mode() == WindowMode::Setup, row.setupAfter);
        QCOMPARE(window->isVisible(), !row.closed);
        QVERIFY(!frmConfirmSave::testSeam().lastRequest());
    }
};

QTEST_MAIN(tst_frmMain)
#include "tst_frmmain.moc"
