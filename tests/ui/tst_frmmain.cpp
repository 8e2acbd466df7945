// The main window driven through its controls (other dialogs answered through their seams), then
// the password and confirm-save dialogs through theirs. The rules are the game library's tests.
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
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <QWindow>

using namespace tfp;
using namespace tfp::ui;

// clang-format off
namespace {
const char* const kBoxes[] = {"txtGameName", "txtAllied", "txtAxis", "txtGameTurns", "txtVariance"};
// The password typed, then 0 the first button (OK, Yes), 1 the second, 2 Escape or 3 closed;
// `result`: the password handed back, or 1 for settings accepted; `stays`: open, one message.
struct Answer { bool password; QString text; int action; QString result; bool stays = false; };
// A game opened, a file refused (none: no file; "-": the file dialog cancelled), a check.
struct Check { qint16 ending; QByteArray refused; QString shown; };
} // namespace
// clang-format on

class tst_frmMain : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::WindowSeams> seams;
    std::unique_ptr<frmMain> window;

    template <typename T = QLineEdit> T* get(const QString& n) { return window->findChild<T*>(n); }
    void click(const QString& name) { QTest::mouseClick(get<QWidget>(name), Qt::LeftButton); }
    void click(int i) { click(QStringLiteral("cmdCommand_%1").arg(i)); }
    static QString focused() { return QApplication::focusWidget()->objectName(); }
    static void key(int k) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(k)); }
    static QString lastMessage()
    {
        const std::optional<Message> shown = shell::MessageBox::testSeam().lastRequest();
        return shown ? shown->title + u'|' + shown->text : QString();
    }
    // The window as the player sees it: mode, status title, message and colour; whether Save,
    // New, Check, Open and the setup boxes are enabled and Quick Battle and Secure chosen;
    // the check button's caption; the setup boxes.
    QString shown()
    {
        QString s = QString::number(int(window->mode())) + u'|' + get("txtGameStatus_0")->text() +
                    u'|' + window->statusMessage() + u'|' +
                    get("txtGameStatus_0")->palette().color(QPalette::Text).name() + u'|';
        for (const char* name : {"cmdCommand_0", "cmdCommand_1", "cmdCommand_2", "cmdCommand_3",
                                 "txtGameName", "optType_1", "optMode_1"}) {
            const auto* option = qobject_cast<QRadioButton*>(get<QWidget>(name));
            s += (option ? option->isChecked() : get<QWidget>(name)->isEnabled()) ? u'1' : u'0';
        }
        s += u'|' + get<QToolButton>("cmdCommand_2")->text();
        for (const char* box : kBoxes)
            s += (box == kBoxes[0] ? u'|' : u',') + get(box)->text();
        return s;
    }
    // New, then the entries typed (game name, players, turns, modifier) and an option chosen.
    void setup(const QStringList& entries, const QString& option = {})
    {
        click(1);
        for (int i = 0; i < entries.size(); ++i) {
            get(kBoxes[i])->clear();
            QTest::keyClicks(get(kBoxes[i]), entries[i]);
        }
        if (!option.isEmpty())
            click(option);
    }
    // Save or Open pressed, with answers to the confirmation, password and file dialogs (no
    // path: the file dialog is cancelled).
    void press(int command, const QString& path, bool confirmed = true, const QString& pw = {})
    {
        frmConfirmSave::testSeam().queueAnswer(confirmed);
        frmPassword::testSeam().queueAnswer(pw);
        if (!path.isEmpty())
            FileDialog::testSeam().queueAnswer(path);
        click(command);
    }
    // The turns, the modifier and the highest the modifier's arrows reach, once `text` is
    // typed into box `name` and Tab pressed to leave it (no box: as they are).
    QString numbers(const QString& name = {}, const QString& text = {})
    {
        if (!name.isEmpty()) {
            get(name)->setFocus();
            get(name)->clear();
            QTest::keyClicks(get(name), text);
            QTest::keyClick(get(name), Qt::Key_Tab);
        }
        return get("txtGameTurns")->text() + u'/' + get("txtVariance")->text() + u'/' +
               QString::number(get<UpDown>("UpDown2")->highest());
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

    void welcome_titleDonationLinkAndQuit()
    {
        QCOMPARE(window->windowHandle()->title(), u"Torva Fogline Turnpicker v1.5.24");
        QCOMPARE(shown(), u"0|Welcome|Please create a new game file\r\nor open an existing one.|"
                          "#00c000|0101000|Check Turn|,,,0,0");
        auto* link = get<QLabel>("lblMoreInfo");
        QTest::mouseClick(link, Qt::LeftButton); // opens the page; nothing else does
        QCOMPARE(seams->opened.size(), 1);
        QTest::mouseClick(link, Qt::RightButton);
        QTest::mousePress(link, Qt::LeftButton);
        QTest::mouseRelease(link, Qt::LeftButton, {}, {5, -5});
        QCOMPARE(seams->opened.size(), 1);
        shell::MessageBox::testSeam().queueAnswer(shell::MessageBox::Answer::Yes);
        key(Qt::Key_Escape); // asks whether to quit
        QVERIFY(lastMessage().startsWith(u"Quit Torva Fogline Turnpicker|") &&
                !window->isVisible());
    }

    void setup_boxesArrowsAndKeys()
    {
        get<QWidget>("cmdCommand_1")->setFocus();
        key(Qt::Key_Return); // Enter presses the button that has the focus
        QTest::keyClicks(get("txtVariance"), QStringLiteral("5"));
        key(Qt::Key_Escape); // nothing entered but the modifier: back without a question
        QVERIFY(shown().startsWith(u"0|") && lastMessage().isEmpty());
        click(1);
        for (const char* box : {"txtGameName", "txtAxis"}) { // Escape asks first; No keeps it
            QTest::keyClicks(get(box), QStringLiteral("5"));
            shell::MessageBox::testSeam().queueAnswer(shell::MessageBox::Answer::No);
            key(Qt::Key_Escape);
            QVERIFY(lastMessage().startsWith(u"Discard Changes|") && shown().startsWith(u"2|"));
            get(box)->clear();
        }
        setup({"a<b>c", "", "<Ben>"});
        numbers("txtAllied", "  A ");
        QVERIFY(shown().endsWith(u"|0000100|Check Turn|abc,A,Ben,0,0")); // Save needs turns
        // Digits only, two at most; the modifier is held below the turns once they are known.
        QCOMPARE((QStringList{numbers("txtVariance", "123"), numbers("txtGameTurns", "a-. 1x2"),
                              numbers("txtGameTurns", "20"), numbers("txtVariance", "29")}),
                 QStringList({"0/12/60", "12/11/11", "20/11/19", "20/19/19"}));
        // The arrows step the turns and keep the modifier below them.
        QLineEdit* turns = get("txtGameTurns");
        get("txtVariance")->setText(QStringLiteral("9"));
        turns->setText(QStringLiteral("5"));
        QTest::mouseClick(get<UpDown>("UpDown1")->findChild<QWidget*>("up"), Qt::LeftButton);
        QCOMPARE(numbers(), u"6/5/5");
        turns->setText(QStringLiteral("2"));
        QTest::keyClick(turns, Qt::Key_Down);
        QTest::keyClick(turns, Qt::Key_Down);
        QTest::keyClick(get("txtVariance"), Qt::Key_Up);
        QCOMPARE(numbers(), u"1/0/0");
        click("optType_1"); // Tab enters an option pair at its selected button
        get("txtGameName")->setFocus();
        QTest::keyClick(get("txtGameName"), Qt::Key_Tab);
        QCOMPARE(focused(), u"optType_1");
    }

    void createGame_savedOnceConfirmed()
    {
        shell::settingsFlags() = {true, true, true, false, {}};
        const QString path = seams->path(QStringLiteral("ridge.tfp"));
        setup({"Ridge", "Anna", "Ben", "20", "3"});
        press(0, {}, false); // declined: back to the game name
        QCOMPARE(focused(), u"txtGameName");
        press(0, path);
        QCOMPARE(shown() + focused(),
                 u"3|Game File Saved|Press 'Check Turn' starting on turn 17|"
                 "#ffff00|0111000|Check Turn 17|Ridge,Anna,Ben,20,3cmdCommand_2");
        QCOMPARE(test::loadGame(path).GameType, GameType::Scenario);
        const FileDialogRequest asked = *FileDialog::testSeam().lastRequest();
        QVERIFY(asked.save && asked.title == u"Save Torva Fogline File" &&
                asked.fileName == u"Ridge");
        QCOMPARE(seams->played, QStringList(3, shell::soundFilePath(SoundCue::Event)));
        // New suggests the stored names, and Save the stored folder; one turn is enough.
        click(1);
        QVERIFY(shown().endsWith(u"|,Anna,Ben,0,0"));
        get("txtGameTurns")->setText(QStringLiteral("1"));
        QTest::keyClicks(get("txtGameName"), QStringLiteral("Other"));
        press(0, {});
        QCOMPARE(FileDialog::testSeam().lastRequest()->directory,
                 QDir::toNativeSeparators(seams->dir.path() + u'/'));
    }

    void checkTurn_data()
    {
        test::addRowColumn<Check>();
        const QString next =
            QStringLiteral("This is NOT the ending turn.|#00c000|0111000|Check Turn 18");
        test::addRow<Check>("not the end", 20, QByteArray(), next);
        test::addRow<Check>("the end", 17, QByteArray(),
                            "BATTLE OVER - CEASE FIRE!|#ff0000|0101000|Battle Over");
        test::addRow<Check>("damaged file refused first", 20, QByteArray("zz\r\n"), next);
        test::addRow<Check>("file dialog cancelled first", 20, QByteArray("-"), next);
    }
    void checkTurn()
    {
        QFETCH(Check, row);
        GameRecord game = test::basicGame(16, row.ending);
        test::saveGame(game, seams->path(QStringLiteral("game.tfp")));
        press(3, game.FilePath);
        const QString loaded = shown();
        const GameRecord inHand = window->gameRecord();
        QCOMPARE(loaded, u"3|Game File Loaded|Press 'Check Turn' starting on turn 17|#ffff00|"
                         "0111000|Check Turn 17|Ridge,Anna,Ben,20,3");
        if (!row.refused.isEmpty()) { // the game in hand stays as it was
            test::writeFile(seams->path(QStringLiteral("refused.tfp")), row.refused);
            press(3, row.refused == "-" ? QString() : seams->path(QStringLiteral("refused.tfp")));
            QCOMPARE(lastMessage().isEmpty(), row.refused == "-");
            QVERIFY(window->gameRecord() == inHand && shown() == loaded);
            get<QWidget>("cmdCommand_2")->setFocus();
        }
        key(Qt::Key_Return);
        QCOMPARE(shown(), QStringLiteral("3|Turn #17|%1|Ridge,Anna,Ben,20,3").arg(row.shown));
        QVERIFY(
            seams->played.constLast().endsWith(row.ending == 17 ? "EndGame.wav" : "NextTurn.wav"));
        QCOMPARE(test::loadGame(game.FilePath).CurrentTurn, qint16(17));
    }

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
        QMimeData text, files; // dropped text only flashes the window, even over a box
        text.setText(QStringLiteral("just words"));
        files.setUrls(
            {QUrl(QStringLiteral("https://a.example/b.tfp")), QUrl::fromLocalFile(game.FilePath)});
        click(1);
        QVERIFY(drop(text, get("txtGameName")->geometry().center()) &&
                shell::isFlashing(window.get()));
        QVERIFY(drop(files, {60, 190}));
        QCOMPARE(window->gameRecord().FilePath, game.FilePath);
    }

    void secure_roundBetweenTwoPlayers()
    {
        const QString path = seams->path(QStringLiteral("ridge.tfp"));
        setup({"Ridge", "Anna", "Ben", "20", "3"}, QStringLiteral("optMode_1"));
        press(0, path, true, QStringLiteral("anna-pw"));
        QCOMPARE(shown(), u"3|Game File Saved|Anna, send this file to player #2.|#ffff00|"
                          "0101001|Send File|Ridge,Anna,Ben,20,3");
        click(1); // New, then Escape: the welcome, as Ben's copy of the program shows it
        key(Qt::Key_Escape);
        QVERIFY(shown().endsWith(u"|0101000|Check Turn|,,,0,0"));
        // Ben opens it: he chooses his password and the ending is drawn; he checks turn 17.
        press(3, path, true, QStringLiteral("ben-pw"));
        QCOMPARE(window->statusMessage(), u"Ben, press 'Check Turn' starting on turn 17");
        key(Qt::Key_Return);
        const QString handedOver = shown();
        QVERIFY(handedOver.contains(u"\r\nBen, send this file to player #1.|#"));
        key(Qt::Key_Return);
        QCOMPARE(shown(), handedOver);
        QVERIFY(handedOver.contains(u"|0101001|Send File|"));
    }

    void dialogs_answer_data()
    {
        test::addRowColumn<Answer>();
        test::addRow<Answer>("password, OK trims", true, "  pass word  ", 0, "pass word");
        test::addRow<Answer>("password, OK with blanks: none", true, "   ", 0, "");
        test::addRow<Answer>("password, OK, U+043F", true, QStringLiteral("\u043f"), 0, "", true);
        test::addRow<Answer>("password, Cancel hands back the text", true, "pw", 1, "pw");
        test::addRow<Answer>("password, Cancel while empty", true, "", 1, "", true);
        test::addRow<Answer>("password, Escape hands back the text", true, "pw", 2, "pw");
        test::addRow<Answer>("password, closed: none", true, "typed", 3, "");
        test::addRow<Answer>("password, closed while empty", true, "", 3, "", true);
        test::addRow<Answer>("confirm, Yes", false, "", 0, "1");
        test::addRow<Answer>("confirm, No", false, "", 1, "0");
    }
    void dialogs_answer()
    {
        QFETCH(Answer, row);
        frmPassword password;
        frmConfirmSave confirm;
        QDialog& dialog = row.password ? static_cast<QDialog&>(password) : confirm;
        dialog.open();
        if (row.password)
            dialog.findChild<QLineEdit*>(QStringLiteral("txtPassword"))->setText(row.text);
        const QList<QPushButton*> buttons = dialog.findChildren<QPushButton*>(); // OK, Cancel
        QCOMPARE(buttons[0]->isEnabled(), !row.password || !row.text.isEmpty()); // OK needs text
        if (row.action < 2)
            buttons[row.action]->click();
        else if (row.action == 2)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.close();
        const QString result = row.password ? password.sValidatedPassword
                                            : QString::number(confirm.bAcceptGameParameters);
        QCOMPARE(result + u'|' + lastMessage().section(u'|', 0, 0),
                 row.result + (row.stays ? "|Torva Fogline Turnpicker" : "|"));
        QCOMPARE(dialog.isVisible(), row.stays);
    }
};

QTEST_MAIN(tst_frmMain)
#include "tst_frmmain.moc"
