// The main window driven through its controls, dialogs answered through their seams: each box,
// button, key, drop and mouse gesture reaches its handler. The rules are the library's tests.
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

// clang-format off
namespace {
const char* const kBoxes[] = {"txtGameName", "txtAllied", "txtAxis", "txtGameTurns", "txtVariance"};
struct Link { int button; bool pressed; QPoint releasedAt; bool opened; };
// A game opened, a file refused (none: no file; "-": the file dialog cancelled), a check.
struct Check { qint16 ending; QByteArray refused; QString shown; };
} // namespace
// clang-format on

class tst_frmMain : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::WindowSeams> seams;
    std::unique_ptr<frmMain> window;

    template <typename T = QLineEdit> T* get(const QString& name)
    {
        return window->findChild<T*>(name);
    }
    void click(const QString& name) { QTest::mouseClick(get<QWidget>(name), Qt::LeftButton); }
    void click(int i) { click(QStringLiteral("cmdCommand_%1").arg(i)); }
    static QString focused() { return QApplication::focusWidget()->objectName(); }
    static void key(int k) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(k)); }
    static QString lastMessage()
    {
        const QList<Message> shown = shell::MessageBox::testSeam().requests();
        return shown.isEmpty() ? QString()
                               : shown.constLast().title + u'|' + shown.constLast().text;
    }
    // The window as the player sees it: mode, status title, message and colour; whether Save,
    // New, Check, Open and the setup boxes are enabled and Quick Battle and Secure chosen;
    // the check button's caption; the setup boxes.
    QString shown()
    {
        QString s = QString::number(int(window->mode())) + u'|' + get("txtGameStatus_0")->text() +
                    u'|' + window->statusMessage() + u'|' +
                    get("txtGameStatus_0")->palette().color(QPalette::Text).name() + u'|';
        for (int i = 0; i < 4; ++i)
            s += get<QWidget>(QStringLiteral("cmdCommand_%1").arg(i))->isEnabled() ? u'1' : u'0';
        s += get("txtGameName")->isEnabled() ? u'1' : u'0';
        for (const char* name : {"optType_1", "optMode_1"})
            s += get<QAbstractButton>(name)->isChecked() ? u'1' : u'0';
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
    // Save or Open pressed, with answers for the dialogs that may come: confirmation,
    // password, file (none: the file dialog is cancelled).
    void press(int command, const QString& path, bool confirmed = true, const QString& pw = {})
    {
        if (command == 0)
            frmConfirmSave::testSeam().queueAnswer(confirmed);
        if (!pw.isEmpty())
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

    void welcome_titleLinkAndQuit()
    {
        QCOMPARE(window->windowHandle()->title(), u"Torva Fogline Turnpicker v1.5.24");
        QCOMPARE(shown(), u"0|Welcome|Please create a new game file\r\nor open an existing one.|"
                          "#00c000|0101000|Check Turn|,,,0,0");
        auto* link = get<QLabel>("lblMoreInfo");
        QCOMPARE(link->text().count(u'\n'), 2);
        QTest::mouseMove(link); // lit under the pointer, put out over the background
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(255, 255, 0));
        QTest::mouseMove(window.get(), {5, 100});
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(255, 255, 255));
        // Escape asks whether to quit; No keeps the window, Yes closes it.
        for (const auto answer : {shell::MessageBox::Answer::No, shell::MessageBox::Answer::Yes}) {
            shell::MessageBox::testSeam().queueAnswer(answer);
            key(Qt::Key_Escape);
            QCOMPARE(lastMessage().section(u'|', 0, 0), u"Quit Torva Fogline Turnpicker");
            QCOMPARE(window->isVisible(), answer == shell::MessageBox::Answer::No);
        }
    }

    void donationLink_data()
    {
        test::addRowColumn<Link>();
        test::addRow<Link>("left click", int(Qt::LeftButton), true, QPoint(), true);
        test::addRow<Link>("right click", int(Qt::RightButton), true, QPoint(), false);
        test::addRow<Link>("released elsewhere", int(Qt::LeftButton), true, QPoint(0, 40), false);
        test::addRow<Link>("released, not pressed", int(Qt::LeftButton), false, QPoint(), false);
    }
    void donationLink()
    {
        QFETCH(Link, row);
        auto* link = get<QLabel>("lblMoreInfo");
        if (row.pressed)
            QTest::mousePress(link, Qt::MouseButton(row.button), {}, link->rect().center());
        QTest::mouseRelease(link, Qt::MouseButton(row.button), {},
                            link->rect().center() + row.releasedAt);
        QCOMPARE(seams->opened.size(), row.opened ? 1 : 0);
    }

    void setup_boxesArrowsAndKeys()
    {
        get<QWidget>("cmdCommand_1")->setFocus();
        key(Qt::Key_Return); // Enter presses the button that has the focus
        QTest::keyClicks(get("txtVariance"), QStringLiteral("5"));
        key(Qt::Key_Escape); // nothing entered but the modifier: back without a question
        QVERIFY(shown().startsWith(u"0|") && lastMessage().isEmpty());
        setup({"a<b>c", "", "<Ben>"});
        numbers("txtAllied", "  A ");
        QVERIFY(shown().endsWith(u"|abc,A,Ben,0,0"));
        // Digits only, two at most; the modifier is held below the turns once they are known.
        QCOMPARE((QStringList{numbers("txtVariance", "123"), numbers("txtGameTurns", "a-. 1x2"),
                              numbers("txtGameTurns", "20"), numbers("txtVariance", "25")}),
                 QStringList({"0/12/60", "12/11/11", "20/11/19", "20/19/19"}));
        // The arrows step the turns and keep the modifier below them.
        QLineEdit* turns = get("txtGameTurns");
        get("txtVariance")->setText(QStringLiteral("9"));
        turns->setText(QStringLiteral("5"));
        QTest::mouseClick(get<UpDown>("UpDown1")->findChild<QWidget*>("up"), Qt::LeftButton);
        const QString stepped = numbers();
        turns->setText(QStringLiteral("60"));
        QTest::keyClick(turns, Qt::Key_Up);
        QCOMPARE(stepped + u' ' + numbers(), u"6/5/5 60/5/59");
        turns->setText(QStringLiteral("2"));
        QTest::keyClick(turns, Qt::Key_Down);
        QTest::keyClick(turns, Qt::Key_Down);
        QTest::keyClick(get("txtVariance"), Qt::Key_Up);
        QCOMPARE(numbers(), u"1/0/0");
        // Tab and Backtab enter an option pair at its selected button.
        get("txtAllied")->setFocus();
        QTest::keyClick(get("txtAllied"), Qt::Key_Backtab);
        const QString entered = focused();
        click("optType_1");
        get("txtGameName")->setFocus();
        QTest::keyClick(get("txtGameName"), Qt::Key_Tab);
        QCOMPARE(entered + u' ' + focused(), u"optMode_0 optType_1");
        // Enter in a box does nothing; Escape asks before the entries are discarded.
        get("txtAxis")->setFocus();
        key(Qt::Key_Enter);
        QVERIFY(!frmConfirmSave::testSeam().lastRequest());
        for (const auto answer : {shell::MessageBox::Answer::No, shell::MessageBox::Answer::Yes}) {
            shell::MessageBox::testSeam().queueAnswer(answer);
            key(Qt::Key_Escape);
            QCOMPARE(lastMessage().section(u'|', 0, 0), u"Discard Changes");
            QCOMPARE(shown().left(1), answer == shell::MessageBox::Answer::No ? u"2" : u"0");
        }
    }

    void createGame_retriedUntilSaved()
    {
        shell::settingsFlags() = {true, true, true, false, {}};
        const QString path = seams->path(QStringLiteral("ridge.tfp"));
        setup({"Ridge", "Anna", "Ben", "20", ""}, QStringLiteral("optType_1"));
        click(0);
        QVERIFY(lastMessage().contains(u"|Errors encountered:"));
        QTest::keyClicks(get("txtVariance"), QStringLiteral("3"));
        QStringList focus; // declined, the file dialog cancelled, the save failed
        for (const auto& [file, confirmed] :
             {std::pair(QString(), false), std::pair(QString(), true),
              std::pair(seams->path("gone/g.tfp"), true)}) {
            press(0, file, confirmed);
            focus << shown().left(2) + focused();
        }
        QCOMPARE(focus, QStringList({"2|txtGameName", "2|txtGameName", "2|cmdCommand_0"}));
        QVERIFY(lastMessage().contains(u"|Could not save the file '"));
        QVERIFY(QDir(seams->dir.path()).entryList({QStringLiteral("*.tfp")}).isEmpty());
        press(0, path);
        QCOMPARE(shown() + focused(),
                 u"3|Game File Saved|Press 'Check Turn' starting on turn 17|"
                 "#ffff00|0111010|Check Turn 17|Ridge,Anna,Ben,20,3cmdCommand_2");
        QCOMPARE(test::loadGame(path).GameType, GameType::QuickBattle);
        const FileDialogRequest asked = *FileDialog::testSeam().lastRequest();
        QVERIFY(asked.save && asked.title == u"Save Torva Fogline File" &&
                asked.fileName == u"Ridge");
        QCOMPARE(seams->played, QStringList(6, shell::soundFilePath(SoundCue::Event)));
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
        const QByteArray none;
        // clang-format off
        test::addRow<Check>("not the end", 20, none, next);
        test::addRow<Check>("the end", 17, none, "BATTLE OVER - CEASE FIRE!|#ff0000|0101000|Battle Over");
        test::addRow<Check>("damaged file refused first", 20, QByteArray("zz\r\n"), next);
        test::addRow<Check>("other version refused first", 20, test::gameFileBytes({"1.5.21"}), next);
        test::addRow<Check>("file dialog cancelled first", 20, QByteArray("-"), next);
        // clang-format on
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
            QCOMPARE(FileDialog::testSeam().lastRequest()->fileName, game.FilePath);
            QCOMPARE(lastMessage().isEmpty(), row.refused == "-");
            QVERIFY(window->gameRecord() == inHand && shown() == loaded);
            get<QWidget>("cmdCommand_2")->setFocus();
        }
        seams->played.clear();
        key(Qt::Key_Return);
        QCOMPARE(shown(), QStringLiteral("3|Turn #17|%1|Ridge,Anna,Ben,20,3").arg(row.shown));
        QVERIFY(seams->played.value(1).endsWith(row.ending == 17 ? "EndGame.wav" : "NextTurn.wav"));
        QCOMPARE(test::loadGame(game.FilePath).CurrentTurn, qint16(17));
    }

    void openPath_commandLineAndDrops()
    {
        GameRecord first = test::basicGame(), second = test::basicGame();
        test::saveGame(first, seams->path(QStringLiteral("first.tfp")));
        test::saveGame(second, seams->path(QStringLiteral("second.tfp")));
        frmMain other;
        other.load(u'"' + second.FilePath + u'"');
        QCOMPARE(other.gameRecord().FilePath, second.FilePath);
        const auto drop = [this](const QMimeData& data, QPoint at) {
            QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(window->windowHandle(), &enter);
            if (enter.isAccepted())
                QApplication::sendEvent(window->windowHandle(), &dropped);
            return enter.isAccepted() && dropped.isAccepted();
        };
        QMimeData text, files;
        text.setText(QStringLiteral("just words"));
        files.setUrls({QUrl::fromLocalFile(first.FilePath), QUrl::fromLocalFile(second.FilePath)});
        QVERIFY(drop(text, {60, 190}));
        QVERIFY(window->mode() == WindowMode::Welcome && shell::isFlashing(window.get()));
        click(1);
        QVERIFY(drop(text, get("txtGameName")->geometry().center()));
        QVERIFY(get("txtGameName")->text().isEmpty());
        QVERIFY(drop(files, {60, 190}));
        QCOMPARE(window->gameRecord().FilePath, first.FilePath);
    }

    void secure_roundBetweenTwoPlayers()
    {
        auto& password = frmPassword::testSeam();
        const QString path = seams->path(QStringLiteral("ridge.tfp"));
        setup({"Ridge", "Anna", "Ben", "20", "3"}, QStringLiteral("optMode_1"));
        press(0, {}, true, QStringLiteral("   "));
        QCOMPARE(lastMessage().section(u'|', 1),
                 u"No password was chosen, so the game was not saved.");
        QVERIFY(!QFile::exists(path) && focused() == u"txtGameName");
        press(0, path, true, QStringLiteral("anna-pw"));
        QCOMPARE(shown(), u"3|Game File Saved|Anna, send this file to player #2.|#ffff00|"
                          "0101001|Send File|Ridge,Anna,Ben,20,3");
        // Ben opens it: he chooses his password and the ending is drawn; he checks turn 17.
        press(3, path, true, QStringLiteral("ben-pw"));
        QCOMPARE(window->statusMessage(), u"Ben, press 'Check Turn' starting on turn 17");
        key(Qt::Key_Return);
        const QString handedOver = shown();
        QVERIFY(handedOver.contains(u"\r\nBen, send this file to player #1.|#"));
        key(Qt::Key_Return);
        QCOMPARE(shown(), handedOver);
        QVERIFY(handedOver.contains(u"|0101001|Send File|"));
        if (test::loadGame(path).EndingTurn > 17) { // Anna holds it next; Ben lacks her password
            const QByteArray saved = test::fileBytes(path);
            press(3, path, true, QStringLiteral("ANNA-PW"));
            QCOMPARE(password.lastRequest()->caption, u"Enter Password for Player #1");
            QVERIFY(lastMessage().contains(u"|The password entered does not match"));
            QVERIFY(shown().startsWith(u"0|Welcome|") && test::fileBytes(path) == saved);
            press(3, path, true, QStringLiteral("anna-pw"));
            QCOMPARE(window->statusMessage(), u"Anna, press 'Check Turn' starting on turn 18");
        }
        const QList<frmPassword::Request> asked = password.requests();
        QCOMPARE(asked[1].caption + u'/' + asked[1].name + u'|' + asked[2].caption + u'/' +
                     asked[2].name,
                 u"Set Password for Player #1/Anna|Set Password for Player #2/Ben");
    }
};

QTEST_MAIN(tst_frmMain)
#include "tst_frmmain.moc"
