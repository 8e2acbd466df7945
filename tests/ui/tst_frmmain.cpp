// The main window: modes, editors, the new-game and open workflows, the turn check and
// the Escape key, all answered through the dialog seams.
#include "ui/frmmain.h"
#include "ui/updown.h"
#include "uitestsupport.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QRadioButton>
#include <QTextEdit>
#include <QToolButton>

using namespace tfp;
using namespace tfp::ui;

class tst_frmMain : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::WindowSeams> seams;
    std::unique_ptr<frmMain> window;
    QFont desktopFont; // the application's font before any window was built

    template <typename T> T* control(const QString& name)
    {
        T* widget = window->findChild<T*>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }
    QLineEdit* edit(const char* name) { return control<QLineEdit>(QLatin1String(name)); }
    QToolButton* button(int index)
    {
        return control<QToolButton>(QStringLiteral("cmdCommand_%1").arg(index));
    }
    QString statusTitle() { return edit("txtGameStatus_0")->text(); }
    QString statusMessage() { return window->statusMessage(); }
    QColor statusColour() { return edit("txtGameStatus_0")->palette().color(QPalette::Text); }

    void typeSetup(const QString& name, const QString& p1, const QString& p2, const QString& turns,
                   const QString& modifier)
    {
        edit("txtGameName")->setText(name);
        edit("txtAllied")->setText(p1);
        edit("txtAxis")->setText(p2);
        edit("txtGameTurns")->setText(turns);
        edit("txtVariance")->setText(modifier);
    }
    // Creates a game through New and Save, answering every dialog.
    QString createThroughWindow(bool secure, const QString& password = {})
    {
        window->clickCommand(1);
        typeSetup(QStringLiteral("Ridge"), QStringLiteral("Anna"), QStringLiteral("Ben"),
                  QStringLiteral("20"), QStringLiteral("3"));
        if (secure)
            control<QRadioButton>(QStringLiteral("optMode_1"))->setChecked(true);
        frmConfirmSave::queueAnswer(true);
        if (secure)
            frmPassword::queueAnswer(password);
        const QString path = seams->path(QStringLiteral("ridge.tfp"));
        FileDialog::queueAnswer(path);
        window->clickCommand(0);
        return path;
    }
    // Drags the data over the window's background and drops it; true when it was taken.
    bool drop(QMimeData& data)
    {
        const QPoint at(60, 190);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &dropped);
        return dropped.isAccepted();
    }
    GameRecord readBack(const QString& path)
    {
        GameRecord r;
        r.FilePath = path;
        FileErrorInfo error;
        if (!getData(r, error))
            qWarning("cannot read back %s: %s", qPrintable(path), qPrintable(error.Description));
        return r;
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        desktopFont = QGuiApplication::font();
    }

    void init()
    {
        seams = std::make_unique<test::WindowSeams>();
        window = std::make_unique<frmMain>();
        window->load();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanup()
    {
        window.reset();
        seams.reset();
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget* w : windows)
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    }

    void load_showsWelcome()
    {
        QCOMPARE(window->windowTitle(), QStringLiteral("Torva Fogline Turnpicker v1.5.24"));
        QCOMPARE(window->mode(), WindowMode::Welcome);
        QCOMPARE(statusTitle(), QStringLiteral("Welcome"));
        QCOMPARE(statusMessage(),
                 QStringLiteral("Please create a new game file\r\nor open an existing one."));
        QCOMPARE(statusColour(), QColor(0, 192, 0));
        QVERIFY(button(1)->isEnabled());
        QVERIFY(button(3)->isEnabled());
        QVERIFY(!button(0)->isEnabled());
        QVERIFY(!button(2)->isEnabled());
        QCOMPARE(button(2)->text(), QStringLiteral("Check Turn"));
        QCOMPARE(edit("txtGameTurns")->text(), QStringLiteral("0"));
        QCOMPARE(edit("txtVariance")->text(), QStringLiteral("0"));
        QVERIFY(control<QRadioButton>(QStringLiteral("optType_0"))->isChecked());
        QVERIFY(control<QRadioButton>(QStringLiteral("optMode_0"))->isChecked());
        QVERIFY(!edit("txtGameName")->isEnabled());
        QCOMPARE(window->size(), QSize(408, 315));
    }

    void controls_atTheirPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("toolTip");
        QTest::newRow("game name")
            << "txtGameName" << QRect(132, 21, 185, 21) << " Enter game name ";
        QTest::newRow("player 1") << "txtAllied" << QRect(132, 108, 80, 21)
                                  << " Enter the name for player #1 ";
        QTest::newRow("player 2") << "txtAxis" << QRect(237, 108, 80, 21)
                                  << " Enter the name for player #2 ";
        QTest::newRow("turns") << "txtGameTurns" << QRect(131, 135, 29, 22)
                               << " Enter the number of turns in the game ";
        QTest::newRow("modifier") << "txtVariance" << QRect(274, 135, 29, 22)
                                  << " Enter the modifier/variance ";
        QTest::newRow("check") << "cmdCommand_2" << QRect(300, 203, 65, 62)
                               << " Check turn status ";
        QTest::newRow("new") << "cmdCommand_1" << QRect(372, 7, 32, 27)
                             << " Create a new game file ";
        QTest::newRow("open") << "cmdCommand_3" << QRect(372, 39, 32, 27)
                              << " Open saved game file ";
        QTest::newRow("save") << "cmdCommand_0" << QRect(372, 71, 32, 27)
                              << " Save current game file ";
        QTest::newRow("status") << "picStatusFrame" << QRect(18, 203, 278, 62) << "";
    }
    void controls_atTheirPlaces()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, toolTip);
        QWidget* widget = control<QWidget>(name);
        QCOMPARE(widget->geometry(), geometry);
        QCOMPARE(widget->toolTip(), toolTip);
    }

    void controls_haveTheWindowsFonts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qreal>("points");
        QTest::addColumn<bool>("bold");
        QTest::newRow("game name") << "txtGameName" << 8.25 << false;
        QTest::newRow("option") << "optType_0" << 8.25 << false;
        QTest::newRow("check") << "cmdCommand_2" << 8.25 << false;
        QTest::newRow("setup label") << "lblSetup" << 9.0 << true;
        QTest::newRow("status title") << "txtGameStatus_0" << 11.25 << true;
        QTest::newRow("status message") << "txtGameStatus_1" << 9.75 << false;
        QTest::newRow("more info") << "lblMoreInfo" << 8.0 << false;
    }
    void controls_haveTheWindowsFonts()
    {
        QFETCH(QString, name);
        QFETCH(qreal, points);
        QFETCH(bool, bold);
        const QFont font = control<QWidget>(name)->font();
        QCOMPARE(font.family(), QStringLiteral("Arial"));
        QCOMPARE(font.pointSizeF(), points);
        QCOMPARE(font.bold(), bold);
        // The window builds its controls under its own font but leaves the application's
        // as it found it, for the dialogs, message boxes and tool tips.
        QCOMPARE(QGuiApplication::font(), desktopFont);
    }

    void newGame_entersSetupAndClearsPreviousEntries()
    {
        window->clickCommand(1);
        control<QRadioButton>(QStringLiteral("optType_1"))->setChecked(true);
        control<QRadioButton>(QStringLiteral("optMode_1"))->setChecked(true);
        edit("txtGameName")->setText(QStringLiteral("Old"));
        window->setMode(WindowMode::Setup);
        QCOMPARE(window->mode(), WindowMode::Setup);
        QVERIFY(edit("txtGameName")->text().isEmpty());
        QVERIFY(control<QRadioButton>(QStringLiteral("optType_0"))->isChecked());
        QVERIFY(control<QRadioButton>(QStringLiteral("optMode_0"))->isChecked());
        QCOMPARE(statusTitle(), QStringLiteral("Setup the Game File"));
        QCOMPARE(statusMessage(), QStringLiteral("Enter game parameters in each field."));
        QVERIFY(!button(1)->isEnabled());
        QVERIFY(!button(3)->isEnabled());
        QVERIFY(edit("txtGameName")->isEnabled());
        QTRY_COMPARE(QApplication::focusWidget(), edit("txtGameName"));
    }

    void saveButton_followsEntries_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("player1");
        QTest::addColumn<QString>("player2");
        QTest::addColumn<QString>("turns");
        QTest::addColumn<QString>("modifier");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("all there") << "G"
                                   << "A"
                                   << "B"
                                   << "1"
                                   << "0" << true;
        QTest::newRow("no turns") << "G"
                                  << "A"
                                  << "B"
                                  << "0"
                                  << "0" << false;
        QTest::newRow("empty turns") << "G"
                                     << "A"
                                     << "B"
                                     << ""
                                     << "0" << false;
        QTest::newRow("pasted letters") << "G"
                                        << "A"
                                        << "B"
                                        << "1a"
                                        << "0" << false;
        QTest::newRow("no game name") << ""
                                      << "A"
                                      << "B"
                                      << "5"
                                      << "0" << false;
        QTest::newRow("no player 1") << "G"
                                     << ""
                                     << "B"
                                     << "5"
                                     << "0" << false;
        QTest::newRow("no player 2") << "G"
                                     << "A"
                                     << ""
                                     << "5"
                                     << "0" << false;
        QTest::newRow("modifier plays no part") << "G"
                                                << "A"
                                                << "B"
                                                << "5"
                                                << "" << true;
    }
    void saveButton_followsEntries()
    {
        QFETCH(QString, name);
        QFETCH(QString, player1);
        QFETCH(QString, player2);
        QFETCH(QString, turns);
        QFETCH(QString, modifier);
        QFETCH(bool, enabled);
        window->clickCommand(1);
        typeSetup(name, player1, player2, turns, modifier);
        QCOMPARE(button(0)->isEnabled(), enabled);
    }

    void hasEnteredData_countsNamesAndTurnsOnly()
    {
        window->clickCommand(1);
        QVERIFY(!window->hasEnteredData());
        edit("txtVariance")->setText(QStringLiteral("5"));
        control<QRadioButton>(QStringLiteral("optMode_1"))->setChecked(true);
        QVERIFY(!window->hasEnteredData());
        edit("txtAxis")->setText(QStringLiteral("B"));
        QVERIFY(window->hasEnteredData());
        edit("txtAxis")->clear();
        edit("txtGameTurns")->setText(QStringLiteral("1"));
        QVERIFY(window->hasEnteredData());
    }

    void turnsBox_takesDigitsOnly()
    {
        window->clickCommand(1);
        QLineEdit* turns = edit("txtGameTurns");
        turns->setFocus();
        turns->clear();
        QTest::keyClicks(turns, QStringLiteral("a-. 1x2"));
        QCOMPARE(turns->text(), QStringLiteral("12"));
        QTest::keyClick(turns, Qt::Key_3);
        QCOMPARE(turns->text(), QStringLiteral("12"));
        QTest::keyClick(turns, Qt::Key_Backspace);
        QCOMPARE(turns->text(), QStringLiteral("1"));
    }

    void nameBoxes_refuseTagCharacters()
    {
        window->clickCommand(1);
        QLineEdit* name = edit("txtGameName");
        name->setFocus();
        QTest::keyClicks(name, QStringLiteral("a<b>c"));
        QCOMPARE(name->text(), QStringLiteral("abc"));
    }

    void editors_trimAndColourOnFocus()
    {
        window->clickCommand(1);
        QLineEdit* player = edit("txtAllied");
        player->setText(QStringLiteral("  Anna Lee  "));
        player->setFocus();
        QTRY_VERIFY(player->hasFocus());
        QCOMPARE(player->selectedText(), QStringLiteral("  Anna Lee  "));
        QCOMPARE(player->palette().color(QPalette::Base),
                 QApplication::palette().color(QPalette::Active, QPalette::Base));
        edit("txtAxis")->setFocus();
        QTRY_VERIFY(!player->hasFocus());
        QCOMPARE(player->text(), QStringLiteral("Anna Lee"));
        QCOMPARE(player->palette().color(QPalette::Base), QColor(224, 224, 224));
    }

    void clampModifier_keepsModifierBelowTurns_data()
    {
        QTest::addColumn<QString>("turns");
        QTest::addColumn<QString>("modifier");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("highest");
        QTest::newRow("10 and 15") << "10"
                                   << "15"
                                   << "9" << 9;
        QTest::newRow("10 and 9") << "10"
                                  << "9"
                                  << "9" << 9;
        QTest::newRow("1 and 5") << "1"
                                 << "5"
                                 << "0" << 0;
        QTest::newRow("no turns") << "0"
                                  << "5"
                                  << "5" << 60;
        QTest::newRow("empty turns") << ""
                                     << "5"
                                     << "5" << 60;
        QTest::newRow("empty modifier") << "10"
                                        << ""
                                        << "" << 9;
    }
    void clampModifier_keepsModifierBelowTurns()
    {
        QFETCH(QString, turns);
        QFETCH(QString, modifier);
        QFETCH(QString, expected);
        QFETCH(int, highest);
        window->clickCommand(1);
        edit("txtGameTurns")->setText(turns);
        edit("txtVariance")->setText(modifier);
        edit("txtVariance")->setFocus();
        QTRY_VERIFY(edit("txtVariance")->hasFocus());
        edit("txtGameName")->setFocus();
        QTRY_VERIFY(!edit("txtVariance")->hasFocus());
        QCOMPARE(edit("txtVariance")->text(), expected);
        QCOMPARE(control<UpDown>(QStringLiteral("UpDown2"))->highest(), highest);
    }

    void upDown_writesItsValueAndClamps()
    {
        window->clickCommand(1);
        auto* turns = control<UpDown>(QStringLiteral("UpDown1"));
        edit("txtVariance")->setText(QStringLiteral("9"));
        edit("txtGameTurns")->setText(QStringLiteral("5"));
        turns->stepUp();
        QCOMPARE(edit("txtGameTurns")->text(), QStringLiteral("6"));
        QCOMPARE(edit("txtVariance")->text(), QStringLiteral("5"));
        edit("txtGameTurns")->setText(QStringLiteral("60"));
        turns->stepUp();
        QCOMPARE(edit("txtGameTurns")->text(), QStringLiteral("60"));
        edit("txtGameTurns")->setText(QStringLiteral("1"));
        turns->stepDown();
        QCOMPARE(edit("txtGameTurns")->text(), QStringLiteral("1"));
    }

    void createGame_basic_savesAndShowsFirstCheck()
    {
        const QString path = createThroughWindow(false);
        QCOMPARE(window->mode(), WindowMode::GamePlay);
        QVERIFY(QFile::exists(path));
        QCOMPARE(statusTitle(), QStringLiteral("Game File Saved"));
        QCOMPARE(statusMessage(), QStringLiteral("Press 'Check Turn' starting on turn 17"));
        QCOMPARE(statusColour(), QColor(255, 255, 0));
        QCOMPARE(button(2)->text(), QStringLiteral("Check Turn 17"));
        QVERIFY(button(2)->isEnabled());
        QVERIFY(!edit("txtGameName")->isEnabled());
        const GameRecord saved = readBack(path);
        QCOMPARE(saved.CurrentTurn, qint16(16));
        QVERIFY(saved.EndingTurn >= 17 && saved.EndingTurn <= 20);
        QVERIFY(frmConfirmSave::lastText()->contains(QStringLiteral("20 with modifier of 3")));
        const FileDialogRequest request = *FileDialog::lastRequest();
        QCOMPARE(request.title, QStringLiteral("Save Torva Fogline File"));
        QCOMPARE(request.fileName, QStringLiteral("Ridge"));
        QVERIFY(request.save);
        QVERIFY(seams->sounds.played.constFirst().endsWith(QStringLiteral("Event.wav")));
    }

    void createGame_cancelledDialog_writesNothing()
    {
        window->clickCommand(1);
        typeSetup(QStringLiteral("Ridge 3/4: Day?"), QStringLiteral("Anna"), QStringLiteral("Ben"),
                  QStringLiteral("20"), QStringLiteral("3"));
        frmConfirmSave::queueAnswer(true);
        FileDialog::queueAnswer(QString());
        window->clickCommand(0);
        QCOMPARE(window->mode(), WindowMode::Setup);
        QCOMPARE(FileDialog::lastRequest()->fileName, QStringLiteral("Ridge 3-4- Day-"));
        QCOMPARE(statusTitle(), QStringLiteral("Setup the Game File"));
        QCOMPARE(shell::ReadSetting(shell::Setting::Player1Name), QStringLiteral("Anna"));
        QTRY_COMPARE(QApplication::focusWidget(), edit("txtGameName"));
    }

    void createGame_declined_keepsSetup()
    {
        window->clickCommand(1);
        typeSetup(QStringLiteral("G"), QStringLiteral("A"), QStringLiteral("B"),
                  QStringLiteral("5"), QStringLiteral("1"));
        frmConfirmSave::queueAnswer(false);
        window->clickCommand(0);
        QCOMPARE(window->mode(), WindowMode::Setup);
        QVERIFY(!FileDialog::lastRequest());
        QCOMPARE(edit("txtGameName")->text(), QStringLiteral("G"));
    }

    void createGame_invalidEntries_showsErrors()
    {
        window->clickCommand(1);
        typeSetup(QStringLiteral("G"), QStringLiteral("A"), QStringLiteral("B"),
                  QStringLiteral("5"), QString());
        window->clickCommand(0);
        QCOMPARE(shell::MessageBox::shownMessages().size(), 1);
        QCOMPARE(shell::MessageBox::shownMessages().constFirst().text,
                 QStringLiteral("Errors encountered:\r\n  \u2022 Please enter the modifier for the "
                                "game\r\n\r\n\r\nPlease check your entries and try again."));
        QVERIFY(!frmConfirmSave::lastText());
        QCOMPARE(window->mode(), WindowMode::Setup);
    }

    void createGame_saveFails_reportsAndStaysInSetup()
    {
        window->clickCommand(1);
        typeSetup(QStringLiteral("G"), QStringLiteral("A"), QStringLiteral("B"),
                  QStringLiteral("5"), QStringLiteral("1"));
        frmConfirmSave::queueAnswer(true);
        const QString path = seams->path(QStringLiteral("missing/g.tfp"));
        FileDialog::queueAnswer(path);
        window->clickCommand(0);
        QCOMPARE(window->mode(), WindowMode::Setup);
        QCOMPARE(shell::MessageBox::shownMessages().size(), 1);
        QVERIFY(shell::MessageBox::shownMessages().constFirst().text.startsWith(
            QStringLiteral("Could not save the file '") + path + QStringLiteral("'.")));
        QVERIFY(!QFile::exists(path));
    }

    void newGame_suggestsLastPlayerNames()
    {
        createThroughWindow(false);
        window->clickCommand(1);
        QCOMPARE(edit("txtAllied")->text(), QStringLiteral("Anna"));
        QCOMPARE(edit("txtAxis")->text(), QStringLiteral("Ben"));
        QVERIFY(edit("txtGameName")->text().isEmpty());
    }

    void checkTurn_outcomes_data()
    {
        QTest::addColumn<int>("ending");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QString>("sound");
        QTest::newRow("not the ending turn")
            << 20 << "This is NOT the ending turn."
            << "Check Turn 18" << true << QColor(0, 192, 0) << "NextTurn.wav";
        QTest::newRow("ending turn reached")
            << 17 << "BATTLE OVER - CEASE FIRE!"
            << "Battle Over" << false << QColor(255, 0, 0) << "EndGame.wav";
    }
    void checkTurn_outcomes()
    {
        QFETCH(int, ending);
        QFETCH(QString, message);
        QFETCH(QString, caption);
        QFETCH(bool, enabled);
        QFETCH(QColor, colour);
        QFETCH(QString, sound);
        const QString path = seams->path(QStringLiteral("game.tfp"));
        test::writeGameFile(test::basicGame(path, 20, 3, static_cast<qint16>(ending)));
        window->openPath(path);
        QCOMPARE(button(2)->text(), QStringLiteral("Check Turn 17"));
        QCOMPARE(statusMessage(), QStringLiteral("Press 'Check Turn' starting on turn 17"));
        seams->sounds.played.clear();
        QTest::keyClick(window.get(), Qt::Key_Return);
        QCOMPARE(statusTitle(), QStringLiteral("Turn #17"));
        QCOMPARE(statusMessage(), message);
        QCOMPARE(statusColour(), colour);
        QCOMPARE(button(2)->text(), caption);
        QCOMPARE(button(2)->isEnabled(), enabled);
        QCOMPARE(seams->sounds.played.size(), 2);
        QVERIFY(seams->sounds.played.constLast().endsWith(sound));
        QCOMPARE(readBack(path).CurrentTurn, qint16(17));
    }

    void checkTurn_afterTheEnd_reportsBattleOver()
    {
        const QString path = seams->path(QStringLiteral("over.tfp"));
        GameRecord r = test::basicGame(path, 20, 3, 18);
        r.CurrentTurn = 18;
        test::writeGameFile(r);
        window->openPath(path);
        QCOMPARE(button(2)->text(), QStringLiteral("Battle Over"));
        QVERIFY(!button(2)->isEnabled());
        QCOMPARE(statusTitle(), QStringLiteral("Turn #18"));
        QCOMPARE(statusMessage(), QStringLiteral("The battle is already over!"));
        QCOMPARE(statusColour(), QColor(255, 0, 0));
    }

    void checkTurn_saveFails_doesNotCount()
    {
        const QString path = seams->path(QStringLiteral("gone/game.tfp"));
        QDir().mkpath(seams->path(QStringLiteral("gone")));
        test::writeGameFile(test::basicGame(path, 20, 3, 20));
        window->openPath(path);
        QVERIFY(QDir(seams->path(QStringLiteral("gone"))).removeRecursively());
        window->clickCommand(2);
        QCOMPARE(window->gameRecord().CurrentTurn, qint16(16));
        QCOMPARE(button(2)->text(), QStringLiteral("Check Turn 17"));
        QVERIFY(button(2)->isEnabled());
        QCOMPARE(shell::MessageBox::shownMessages().size(), 1);
        QVERIFY(shell::MessageBox::shownMessages().constFirst().text.startsWith(
            QStringLiteral("Could not save the file '")));
        QVERIFY(!statusMessage().contains(QStringLiteral("ending turn")));
    }

    void open_refusedFile_keepsGameInHand_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("name");
        QTest::newRow("wrong extension") << ""
                                         << "other.txt";
        QTest::newRow("damaged") << "zz\r\n"
                                 << "damaged.tfp";
        QTest::newRow("missing") << QString() << "missing.tfp";
    }
    void open_refusedFile_keepsGameInHand()
    {
        QFETCH(QString, content);
        QFETCH(QString, name);
        const QString path = seams->path(QStringLiteral("game.tfp"));
        test::writeGameFile(test::basicGame(path, 20, 3, 20));
        window->openPath(path);
        const GameRecord before = window->gameRecord();
        const QString title = statusTitle();
        const QString refused = seams->path(name);
        if (!content.isNull()) {
            QFile file(refused);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content.toLatin1());
        }
        window->openPath(refused);
        QCOMPARE(shell::MessageBox::shownMessages().size(), 1);
        QVERIFY(shell::MessageBox::shownMessages().constFirst().text.startsWith(
            QStringLiteral("Could not open the file '") + refused + QStringLiteral("'.")));
        QCOMPARE(window->mode(), WindowMode::GamePlay);
        QCOMPARE(window->gameRecord(), before);
        QCOMPARE(statusTitle(), title);
        // The next check still goes into the game's own file.
        window->clickCommand(2);
        QCOMPARE(readBack(path).CurrentTurn, qint16(17));
    }

    void open_otherVersion_isRefused()
    {
        const QString path = seams->path(QStringLiteral("old.tfp"));
        GameRecord r = test::basicGame(path, 20, 3, 20);
        r.Version = QStringLiteral("1.5.21");
        test::writeGameFile(r);
        window->openPath(path);
        QCOMPARE(shell::MessageBox::shownMessages().size(), 1);
        QCOMPARE(shell::MessageBox::shownMessages().constFirst().title,
                 QStringLiteral("Torva Fogline Turnpicker - Version Compatibility Error"));
        QCOMPARE(window->mode(), WindowMode::Welcome);
    }

    void open_cancelledDialog_keepsFileOfGameInHand()
    {
        const QString path = seams->path(QStringLiteral("game.tfp"));
        test::writeGameFile(test::basicGame(path, 20, 3, 20));
        window->openPath(path);
        FileDialog::queueAnswer(QString());
        window->clickCommand(3);
        QCOMPARE(FileDialog::lastRequest()->title, QStringLiteral("Open Torva Fogline File"));
        QCOMPARE(FileDialog::lastRequest()->fileName, path);
        QCOMPARE(FileDialog::lastRequest()->directory,
                 QDir::toNativeSeparators(seams->dir.path() + u'/'));
        QCOMPARE(window->gameRecord().FilePath, path);
        window->clickCommand(2);
        QCOMPARE(readBack(path).CurrentTurn, qint16(17));
    }

    void load_commandLinePath_opensBeforeShowing()
    {
        QVERIFY(QDir().mkpath(seams->path(QStringLiteral("some folder"))));
        const QString path = seams->path(QStringLiteral("some folder/game.tfp"));
        test::writeGameFile(test::basicGame(path, 20, 3, 20));
        frmMain other;
        other.load(u'"' + path + u'"');
        QCOMPARE(other.mode(), WindowMode::GamePlay);
        QCOMPARE(other.gameRecord().FilePath, path);
    }

    void drop_opensFirstFileOnly_textOpensNothing()
    {
        const QString first = seams->path(QStringLiteral("first.tfp"));
        const QString second = seams->path(QStringLiteral("second.tfp"));
        test::writeGameFile(test::basicGame(first, 20, 3, 20));
        GameRecord other = test::basicGame(second, 30, 5, 30);
        other.GameName = QStringLiteral("Second");
        test::writeGameFile(other);

        QMimeData text;
        text.setText(QStringLiteral("just words"));
        QVERIFY(drop(text));
        QCOMPARE(window->mode(), WindowMode::Welcome);

        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)});
        QVERIFY(drop(files));
        QCOMPARE(window->mode(), WindowMode::GamePlay);
        QCOMPARE(window->gameRecord().FilePath, first);
    }

    void secure_fullRoundBetweenTwoPlayers()
    {
        const QString path = createThroughWindow(true, QStringLiteral("anna-pw"));
        QCOMPARE(frmPassword::requests().constFirst().caption,
                 QStringLiteral("Set Password for Player #1"));
        QCOMPARE(frmPassword::requests().constFirst().name, QStringLiteral("Anna"));
        QCOMPARE(statusMessage(), QStringLiteral("Anna, send this file to player #2."));
        QCOMPARE(button(2)->text(), QStringLiteral("Send File"));
        QVERIFY(!button(2)->isEnabled());
        QCOMPARE(readBack(path).EndingTurn, qint16(-1));

        // Ben opens it for the first time: he chooses a password and the ending is drawn.
        frmPassword::queueAnswer(QStringLiteral("ben-pw"));
        window->openPath(path);
        QCOMPARE(frmPassword::requests().constLast().caption,
                 QStringLiteral("Set Password for Player #2"));
        QCOMPARE(frmPassword::requests().constLast().name, QStringLiteral("Ben"));
        QCOMPARE(statusTitle(), QStringLiteral("Game File Loaded"));
        QCOMPARE(statusMessage(), QStringLiteral("Ben, press 'Check Turn' starting on turn 17"));
        QCOMPARE(button(2)->text(), QStringLiteral("Check Turn 17"));
        QVERIFY(button(2)->isEnabled());
        const GameRecord drawn = readBack(path);
        QVERIFY(drawn.EndingTurn >= 17 && drawn.EndingTurn <= 20);
        QCOMPARE(drawn.CurrentPlayer, 2);

        window->clickCommand(2);
        QCOMPARE(button(2)->text(), QStringLiteral("Send File"));
        QVERIFY(!button(2)->isEnabled());
        QVERIFY(statusMessage().endsWith(QStringLiteral("\r\nBen, send this file to player #1.")));

        if (drawn.EndingTurn == 17)
            return; // the battle ended on Ben's turn
        // Ben reopens his own file: it is taken for Anna's, and he does not know hers.
        const QByteArray saved = [&] {
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        frmPassword::queueAnswer(QStringLiteral("ANNA-PW"));
        window->openPath(path);
        QCOMPARE(frmPassword::requests().constLast().caption,
                 QStringLiteral("Enter Password for Player #1"));
        QCOMPARE(
            shell::MessageBox::shownMessages().constLast().text,
            QStringLiteral("The password entered does not match the current user's password."));
        QCOMPARE(window->mode(), WindowMode::Welcome);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), saved);
        file.close();

        // Anna opens it with her password and checks the next turn.
        frmPassword::queueAnswer(QStringLiteral("anna-pw"));
        window->openPath(path);
        QCOMPARE(statusMessage(), QStringLiteral("Anna, press 'Check Turn' starting on turn 18"));
        window->clickCommand(2);
        QCOMPARE(statusTitle(), QStringLiteral("Turn #18"));
        QVERIFY(statusMessage().endsWith(QStringLiteral("Anna, send this file to player #2.")));
    }

    void escape_inEachMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("typed");
        QTest::addColumn<bool>("answerYes");
        QTest::addColumn<QString>("questionTitle");
        QTest::addColumn<int>("modeAfter");
        QTest::addColumn<bool>("visibleAfter");
        const int welcome = static_cast<int>(WindowMode::Welcome);
        const int setup = static_cast<int>(WindowMode::Setup);
        QTest::newRow("setup, nothing typed") << setup << false << true << "" << welcome << true;
        QTest::newRow("setup, typed, no")
            << setup << true << false << "Discard Changes" << setup << true;
        QTest::newRow("setup, typed, yes")
            << setup << true << true << "Discard Changes" << welcome << true;
        QTest::newRow("welcome, no")
            << welcome << false << false << "Quit Torva Fogline Turnpicker" << welcome << true;
        QTest::newRow("welcome, yes")
            << welcome << false << true << "Quit Torva Fogline Turnpicker" << welcome << false;
    }
    void escape_inEachMode()
    {
        QFETCH(int, mode);
        QFETCH(bool, typed);
        QFETCH(bool, answerYes);
        QFETCH(QString, questionTitle);
        QFETCH(int, modeAfter);
        QFETCH(bool, visibleAfter);
        if (mode == static_cast<int>(WindowMode::Setup))
            window->clickCommand(1);
        if (typed)
            edit("txtAxis")->setText(QStringLiteral("B"));
        shell::MessageBox::queueAnswer(answerYes ? shell::MessageBox::Answer::Yes
                                                 : shell::MessageBox::Answer::No);
        QTest::keyClick(window->focusWidget() ? window->focusWidget() : window.get(),
                        Qt::Key_Escape);
        const QList<Message> shown = shell::MessageBox::shownMessages();
        if (questionTitle.isEmpty()) {
            QVERIFY(shown.isEmpty());
        } else {
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown.constFirst().title, questionTitle);
        }
        QCOMPARE(static_cast<int>(window->mode()), modeAfter);
        QCOMPARE(window->isVisible(), visibleAfter);
        if (typed && !answerYes)
            QCOMPARE(edit("txtAxis")->text(), QStringLiteral("B"));
    }
};

QTEST_MAIN(tst_frmMain)
#include "tst_frmmain.moc"
