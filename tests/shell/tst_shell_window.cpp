// The shell's windows and routes on the offscreen platform: window placement, the options
// and About dialogs, the system-menu commands, help, sounds, attention and panel edges.
#include "game/versions.h"
#include "shell/frmabout.h"
#include "shell/frmoptions.h"
#include "shell/paneledge.h"
#include "shell/systemmenu.h"
#include "shell/windowposition.h"
#include "testsupport.h"
#include "windowseams.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace tfp;
using namespace tfp::shell;

namespace {

// A stand-in for the main window: a fixed-size top-level window.
struct MainWindow : QWidget
{
    explicit MainWindow(QPoint at = {})
    {
        setFixedSize(408, 312);
        if (!at.isNull()) {
            move(at);
            show();
            QVERIFY(QTest::qWaitForWindowExposed(this));
        }
    }
};

QAbstractButton* child(const QWidget& dialog, const QString& name)
{
    auto* found = dialog.findChild<QAbstractButton*>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}
QAbstractButton* command(const QWidget& dialog, int i)
{
    return child(dialog, QStringLiteral("cmdCommand_%1").arg(i));
}
// A system-menu command: its id, its menu entry (empty: not ours), what it shows or opens.
struct Command
{
    int id;
    QString entry, dialog, url;
};
const QStringList kBoxes = {"chkPlaySoundEffects", "chkReusePlayerNames", "chkUseLastSavePath",
                            "chkRestoreWindowPosition"};

} // namespace

class ShellWindowTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::WindowSeams> seams;
    QStringList shown; // the options and About dialogs shown, each closed at once

private slots:
    void init()
    {
        seams = std::make_unique<test::WindowSeams>();
        shown.clear();
        seams->shownDialog = [this](QDialog& dialog) {
            shown << dialog.objectName();
            dialog.reject();
        };
    }
    void cleanup()
    {
        seams.reset();
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        for (const QWidget* window : QApplication::topLevelWidgets())
            QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
    }

    void restorePosition_data()
    {
        QTest::addColumn<QPoint>("stored");  // in twips
        QTest::addColumn<QPoint>("frameAt"); // null: centred
        QTest::newRow("stored") << QPoint(1440, 960) << QPoint(96, 64);
        QTest::newRow("rounded to pixels") << QPoint(1447, 953) << QPoint(96, 64);
        QTest::newRow("partly beyond the right") << QPoint(700 * 15, 960) << QPoint(700, 64);
        QTest::newRow("X zero") << QPoint(0, 960) << QPoint();
        QTest::newRow("Y zero") << QPoint(1440, 0) << QPoint();
        QTest::newRow("negative") << QPoint(-300, 960) << QPoint();
        QTest::newRow("beyond the right") << QPoint(5000 * 15, 960) << QPoint();
        QTest::newRow("title bar below the screen") << QPoint(1440, 2000 * 15) << QPoint();
    }
    void restorePosition()
    {
        QFETCH(QPoint, stored);
        QFETCH(QPoint, frameAt);
        settingsFlags().placement = {stored.x(), stored.y(), -1, -1, 0};
        MainWindow window;
        RestoreMainWindowPosition(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.size(), QSize(408, 312));
        const QRect frame = window.frameGeometry();
        if (!frameAt.isNull()) {
            QCOMPARE(frame.topLeft(), frameAt);
            return;
        }
        // Placed before it is shown, the window may be off by the frame added on showing.
        const QPoint off =
            frame.center() - QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY(qAbs(off.x()) <= (frame.width() - window.width()) / 2 + 1);
        QVERIFY(qAbs(off.y()) <= (frame.height() - window.height()) / 2 + 1);
    }

    void writePlacement_data()
    {
        QTest::addColumn<bool>("restore");
        QTest::newRow("restore on") << true;
        QTest::newRow("restore off") << false;
    }
    void writePlacement()
    {
        QFETCH(bool, restore);
        WriteSetting(Setting::RestoreWindowPosition, QStringLiteral("X=15,Y=15"));
        settingsFlags().RestoreWindowPosition = restore;
        WriteWindowPlacement(std::make_unique<MainWindow>(QPoint(96, 64)).get());
        QCOMPARE(ReadSetting(Setting::RestoreWindowPosition),
                 QLatin1String(restore ? "X=1440,Y=960" : ""));
        // The next start puts the window where it was.
        settingsFlags() = {};
        LoadSettings();
        MainWindow next;
        RestoreMainWindowPosition(&next);
        next.show();
        QVERIFY(QTest::qWaitForWindowExposed(&next));
        QCOMPARE(next.frameGeometry().topLeft() == QPoint(96, 64), restore);
    }

    void optionsLoad_data()
    {
        QTest::addColumn<QStringList>("stored"); // the four values, empty: none
        QTest::addColumn<QList<bool>>("ticked");
        QTest::newRow("nothing") << QStringList(4) << QList<bool>{true, true, true, false};
        QTest::newRow("all off") << QStringList{"False", "false", "0", ""}
                                 << QList<bool>{false, false, false, false};
        QTest::newRow("on, position") << QStringList{"TRUE", "True", "yes", "X=1440,Y=960"}
                                      << QList<bool>{true, true, false, true};
    }
    void optionsLoad()
    {
        QFETCH(QStringList, stored);
        QFETCH(QList<bool>, ticked);
        for (int i = 0; i < 4; ++i)
            WriteSetting(Setting(i), stored[i]);
        settingsFlags() = {!ticked[0], !ticked[1], !ticked[2], !ticked[3], {}};
        frmOptions dialog(nullptr);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(qobject_cast<QCheckBox*>(child(dialog, kBoxes[i]))->isChecked(), ticked[i]);
        QVERIFY(!command(dialog, 1)->isEnabled());
        QCOMPARE(settingsFlags().PlaySounds, ticked[0]); // the store read afresh
        QCOMPARE(settingsFlags().RestoreWindowPosition, ticked[3]);
    }

    // Sounds unticked and the position ticked, then the dialog left one way or another.
    void optionsLeft_data()
    {
        QTest::addColumn<int>("how"); // 0 OK, 1 Apply, 2 Cancel, 3 Escape, 4 closed, 5 Enter
        QTest::addColumn<bool>("saved");
        QTest::newRow("OK") << 0 << true;
        QTest::newRow("Apply") << 1 << true;
        QTest::newRow("Cancel") << 2 << false;
        QTest::newRow("Escape") << 3 << false;
        QTest::newRow("closed") << 4 << false;
        QTest::newRow("Enter on a box") << 5 << true;
    }
    void optionsLeft()
    {
        QFETCH(int, how);
        QFETCH(bool, saved);
        MainWindow main(QPoint(96, 64));
        frmOptions dialog(&main);
        dialog.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QAbstractButton* sounds = child(dialog, kBoxes[0]);
        for (int i = 3; i > 0; --i) // only the sounds box enables Apply
            QTest::mouseClick(child(dialog, kBoxes[i]), Qt::LeftButton);
        child(dialog, kBoxes[1])->click();
        child(dialog, kBoxes[2])->click();
        QVERIFY(!command(dialog, 1)->isEnabled());
        QTest::mouseClick(sounds, Qt::LeftButton);
        QVERIFY(command(dialog, 1)->isEnabled() && seams->played.isEmpty());
        sounds->setFocus();
        if (how < 3)
            command(dialog, how)->click();
        else if (how == 4)
            dialog.close();
        else
            QTest::keyClick(sounds, how == 3 ? Qt::Key_Escape : Qt::Key_Return);
        QCOMPARE(dialog.isVisible(), how == 1);
        QCOMPARE(ReadSetting(Setting::PlaySounds), QLatin1String(saved ? "False" : ""));
        QCOMPARE(ReadSetting(Setting::ReusePlayerNames), QLatin1String(saved ? "True" : ""));
        QCOMPARE(ReadSetting(Setting::RestoreWindowPosition),
                 QLatin1String(saved ? "X=1440,Y=960" : ""));
        QCOMPARE(settingsFlags().RestoreWindowPosition, saved);
        QCOMPARE(settingsFlags().PlaySounds, !saved); // read when the dialog was loaded
        if (how == 1) {
            QVERIFY(!command(dialog, 1)->isEnabled());
            child(dialog, kBoxes[3])->click(); // unticked and applied: the position goes
            sounds->click();
            command(dialog, 1)->click();
            QCOMPARE(ReadSetting(Setting::RestoreWindowPosition), QString());
            QVERIFY(settingsFlags().PlaySounds && !settingsFlags().RestoreWindowPosition);
            dialog.reject();
        }
    }

    void showOptionsDialog_modalOverTheMainWindow()
    {
        MainWindow main(QPoint(96, 64));
        bool seen = false;
        seams->shownDialog = [&](QDialog& dialog) {
            seen = dialog.isModal() && dialog.parentWidget() == &main;
            QTRY_COMPARE(QApplication::overrideCursor(), nullptr);
            command(dialog, 0)->click();
        };
        ShowOptionsDialog(&main);
        QVERIFY(seen);
        QCOMPARE(ReadSetting(Setting::PlaySounds), QStringLiteral("True"));
    }

    void aboutBox_showsVersionAndSupportedVersions()
    {
        const QString text = aboutText();
        QVERIFY(text.startsWith(QStringLiteral("Application Version ") + getAppVersion() + "\r\n"));
        QVERIFY(text.endsWith(QStringLiteral(":  \r\n   1.5.22\r\n   1.5.23\r\n   1.5.24\r\n")));
        frmAbout dialog(nullptr);
        QCOMPARE(dialog.findChild<QPlainTextEdit*>()->toPlainText(),
                 QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }

    void systemMenu_data()
    {
        test::addRowColumn<Command>();
        const QString site = QStringLiteral("https://www.torva.example/turnpicker/");
        // clang-format off
        test::addRow<Command>("About", 1010, "About Torva Fogline Turnpicker...", "frmAbout", "");
        test::addRow<Command>("Help", 1011, "Help Documentation...", "", site);
        test::addRow<Command>("Options", 1012, "Program Options...", "frmOptions", "");
        test::addRow<Command>("one below", 1009, "", "", "");
        test::addRow<Command>("one above", 1013, "", "", "");
        test::addRow<Command>("masked About", 1010 & 0xFFF0, "", "", "");
        test::addRow<Command>("Close", 0xF060, "", "", "");
        // clang-format on
    }
    void systemMenu()
    {
        QFETCH(Command, row);
        const auto& [id, entry, dialog, url] = row;
        MainWindow main;
        QCOMPARE(SystemMenuProc(&main, id), !entry.isEmpty());
        QCOMPARE(shown, dialog.isEmpty() ? QStringList() : QStringList{dialog});
        QCOMPARE(seams->opened, url.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl(url)});
        if (entry.isEmpty())
            return;
        // The same command from the menu, after a separator below the menu's own entries.
        QMenu menu;
        menu.addAction(QStringLiteral("Other"));
        populateSystemMenu(menu, &main);
        QCOMPARE(menu.actions().size(), 5);
        QVERIFY(menu.actions()[1]->isSeparator());
        QAction* action = menu.actions()[id - 1010 + 2];
        QCOMPARE(action->text(), entry);
        action->trigger();
        QCOMPARE(shown.size() + seams->opened.size(), 2);
    }

    void openHelpTarget_data()
    {
        // clang-format off
        QTest::addColumn<QString>("target"); // %1: a folder that holds help.html, %2: its URL
        QTest::addColumn<bool>("opened");    // false: the help box instead
        QTest::newRow("web site") << "https://www.torva.example/turnpicker/" << true;
        QTest::newRow("existing file") << "%1/help.html" << true;
        QTest::newRow("file URL") << "%2/help.html" << true;
        QTest::newRow("missing file") << "%1/missing.html" << false;
        QTest::newRow("missing file URL") << "%2/missing.html" << false;
        QTest::newRow("folder") << "%1" << false;
        QTest::newRow("Windows path") << "C:\\Help\\turnpicker.chm" << false;
        // clang-format on
    }
    void openHelpTarget()
    {
        QFETCH(QString, target);
        QFETCH(bool, opened);
        QFile(seams->path(QStringLiteral("help.html"))).open(QIODevice::WriteOnly);
        target.replace(QStringLiteral("%1"), seams->dir.path());
        target.replace(QStringLiteral("%2"), QUrl::fromLocalFile(seams->dir.path()).toString());
        OpenHelpTarget(target);
        const QUrl url = QDir::isAbsolutePath(target) ? QUrl::fromLocalFile(target) : QUrl(target);
        QCOMPARE(seams->opened, opened ? QList<QUrl>{url} : QList<QUrl>());
        QCOMPARE(MessageBox::testSeam().requests().size(), opened ? 0 : 1);
        if (!opened)
            QVERIFY(MessageBox::testSeam().requests()[0].text.contains(QStringLiteral(
                "see the application's web site at https://www.torva.example/turnpicker/")));
        openDonationPage();
        QCOMPARE(seams->opened.constLast(),
                 QUrl(QStringLiteral("https://www.torva.example/turnpicker/donate/")));
    }

    void playSoundCue_data()
    {
        QTest::addColumn<bool>("soundsOn");
        QTest::addColumn<SoundCue>("cue");
        QTest::addColumn<QString>("file");
        QTest::newRow("event") << true << SoundCue::Event << "Event.wav";
        QTest::newRow("next turn") << true << SoundCue::NextTurn << "NextTurn.wav";
        QTest::newRow("end game") << true << SoundCue::EndGame << "EndGame.wav";
        QTest::newRow("none") << true << SoundCue::None << "";
        QTest::newRow("sounds off") << false << SoundCue::EndGame << "EndGame.wav";
    }
    void playSoundCue()
    {
        QFETCH(bool, soundsOn);
        QFETCH(SoundCue, cue);
        QFETCH(QString, file);
        settingsFlags().PlaySounds = soundsOn;
        shell::playSoundCue(cue);
        shell::playSoundCue(cue); // a second click starts the sound again
        // No Sounds folder is installed for the tests: the path beside the program remains.
        const QString path =
            file.isEmpty() ? QString() : QCoreApplication::applicationDirPath() + "/Sounds/" + file;
        QCOMPARE(soundFilePath(cue), path);
        QCOMPARE(seams->played,
                 (soundsOn && !file.isEmpty() ? QStringList{path, path} : QStringList()));
    }

    // The edge covers the pixels from left and top up to, not including, right and bottom.
    void panelEdge_data()
    {
        QTest::addColumn<QRect>("rect"); // left, top, right, bottom
        QTest::addColumn<bool>("sunken");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("thin") << QRect(QPoint(3, 10), QPoint(43, 12)) << false << true;
        QTest::newRow("sunken") << QRect(QPoint(4, 4), QPoint(58, 57)) << true << true;
        QTest::newRow("no width") << QRect(QPoint(10, 5), QPoint(10, 9)) << false << false;
        QTest::newRow("upside down") << QRect(QPoint(10, 9), QPoint(12, 5)) << true << false;
    }
    void panelEdge()
    {
        QFETCH(QRect, rect);
        QFETCH(bool, sunken);
        QFETCH(bool, drawn);
        QImage image(80, 80, QImage::Format_RGB32), blank(80, 80, QImage::Format_RGB32);
        image.fill(Qt::black);
        blank.fill(Qt::black);
        QPainter painter(&image);
        DrawPanelEdge(painter, rect.left(), rect.top(), rect.right(), rect.bottom(), sunken);
        painter.end();
        QCOMPARE(image != blank, drawn);
        const QPoint mid = rect.center();
        for (const QPoint p :
             {QPoint(mid.x(), rect.top()), QPoint(rect.left(), mid.y()),
              QPoint(mid.x(), rect.bottom() - 1), QPoint(rect.right() - 1, mid.y())})
            QCOMPARE(image.pixel(p) != blank.pixel(p), drawn);
        for (const QPoint p : {QPoint(mid.x(), rect.top() - 1), QPoint(rect.left() - 1, mid.y()),
                               QPoint(mid.x(), rect.bottom()), QPoint(rect.right(), mid.y())})
            QCOMPARE(image.pixel(p), blank.pixel(p));
    }
};

QTEST_MAIN(ShellWindowTest)
#include "tst_shell_window.moc"
