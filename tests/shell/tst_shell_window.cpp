// The shell's windows on the offscreen platform: the main window's placement, the options
// dialog, the system-menu commands, help, sounds and panel edges.
#include "shell/frmoptions.h"
#include "shell/paneledge.h"
#include "shell/systemmenu.h"
#include "shell/windowposition.h"
#include "testsupport.h"
#include "windowseams.h"

#include <QApplication>
#include <QBitmap>
#include <QCheckBox>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>

using namespace tfp;
using namespace tfp::shell;

static const QString kSite = QStringLiteral("https://www.torva.example/turnpicker/");

// clang-format off
namespace {
// The options dialog's four boxes, ticked or not.
struct Ticks { bool sounds = false, names = false, path = false, restore = false;
    friend bool operator==(const Ticks&, const Ticks&) = default; };
char* toString(const Ticks& t) { return test::fieldsText(t.sounds, t.names, t.path, t.restore); }
// The four options stored before and after, the boxes shown, and the button pressed.
struct OptionsRow { QStringList stored; Ticks ticked; OptionsCommand press;
                   QStringList storedAfter; };
} // namespace
// clang-format on

class ShellWindowTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::WindowSeams> seams;

private slots:
    void init() { seams = std::make_unique<test::WindowSeams>(); }
    void cleanup()
    {
        seams.reset();
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    // A stored position (twips) with X and Y above 0 and the title bar on a screen, else centred.
    void restorePosition_data()
    {
        QTest::addColumn<QPoint>("stored");
        QTest::addColumn<QPoint>("at"); // null: centred
        QTest::newRow("stored") << QPoint(1440, 960) << QPoint(96, 64);
        QTest::newRow("X zero") << QPoint(0, 960) << QPoint();
        QTest::newRow("Y zero") << QPoint(1440, 0) << QPoint();
        QTest::newRow("title bar beyond the screen") << QPoint(800 * 15, 960) << QPoint();
    }
    void restorePosition()
    {
        QFETCH(QPoint, stored);
        QFETCH(QPoint, at);
        settingsFlags().placement = {stored.x(), stored.y(), -1, -1, 0};
        QWidget window;
        window.setFixedSize(408, 312);
        RestoreMainWindowPosition(&window);
        const QPoint centre = window.screen()->availableGeometry().center();
        QCOMPARE(at.isNull() ? window.geometry().center() - centre : window.pos(), at);
    }

    // The options stored, the boxes then ticked (of them only the sounds box enables Apply,
    // playing no sound) and the options stored after the row's button; with the main window's.
    void options_data()
    {
        test::addRowColumn<OptionsRow>();
        test::addRow<OptionsRow>("OK", QStringList{"", "", "", ""}, Ticks{true, true, true, false},
                                 OptionsCommand::OK,
                                 QStringList{"False", "True", "False", "X=1440,Y=960"});
        test::addRow<OptionsRow>("Apply", QStringList{"TRUE", "True", "yes", "X=1,Y=1"},
                                 Ticks{true, true, false, true}, OptionsCommand::Apply,
                                 QStringList{"False", "True", "True", ""});
        test::addRow<OptionsRow>("Cancel", QStringList{"False", "false", "0", ""}, Ticks{},
                                 OptionsCommand::Cancel, QStringList{"False", "false", "0", ""});
    }
    void options()
    {
        QFETCH(OptionsRow, row);
        for (int i = 0; i < 4; ++i)
            WriteSetting(Setting(i), row.stored[i]);
        // Flags other than the store's: the dialog reads the store afresh.
        settingsFlags() = {!row.ticked.sounds, true, true, !row.ticked.restore, {}};
        QWidget main;
        main.move(96, 64);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        frmOptions dialog(&main);
        dialog.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QList<QCheckBox*> boxes = dialog.findChildren<QCheckBox*>();
        const auto apply = dialog.findChild<QAbstractButton*>("cmdCommand_1");
        const auto ticked = [&boxes](int i) {
            return boxes[i]->isChecked();
        };
        QCOMPARE((Ticks{ticked(0), ticked(1), ticked(2), ticked(3)}), row.ticked);
        for (int i = 3; i >= 0; --i) {
            QVERIFY(!apply->isEnabled());
            QTest::mouseClick(boxes[i], Qt::LeftButton);
        }
        boxes[1]->click();
        QVERIFY(apply->isEnabled() && seams->played.isEmpty());
        dialog.findChild<QAbstractButton*>(QStringLiteral("cmdCommand_%1").arg(int(row.press)))
            ->click();
        QStringList values;
        for (int i = 0; i < 4; ++i)
            values << ReadSetting(Setting(i));
        QCOMPARE(values, row.storedAfter);
        QCOMPARE(dialog.isVisible(), row.press == OptionsCommand::Apply);  // Apply stays open
        QCOMPARE(apply->isEnabled(), row.press == OptionsCommand::Cancel); // saved: not dirty
        dialog.reject();
    }

    // Each command by its exact id, then from the menu after a separator below its entries (their
    // texts are the main window's test's).
    void systemMenu()
    {
        QWidget main;
        QStringList ran; // the dialogs shown (each closed at once) and the addresses opened
        seams->shownDialog = [&](QDialog& dialog) {
            const bool ok = dialog.isModal() && dialog.parentWidget() == &main &&
                            QTest::qWaitFor([] { return !QApplication::overrideCursor(); });
            const auto* text = dialog.findChild<QPlainTextEdit*>(); // About: the versions last
            ran << (text ? text->toPlainText().section(u'\n', -4) : dialog.objectName()) +
                       (ok ? "" : ": not modal over main, or still waiting");
            dialog.reject();
        };
        QMenu menu;
        menu.addAction(QStringLiteral("Other"));
        populateSystemMenu(menu, &main);
        for (const int id : {1009, 1010, 1011, 1012, 1013, 0xF060})
            QCOMPARE(SystemMenuProc(&main, id), id >= 1010 && id <= 1012);
        for (int i = 2; i < 5; ++i)
            menu.actions()[i]->trigger();
        for (const QUrl& url : std::as_const(seams->opened))
            ran << url.toString();
        const QStringList twice = {"   1.5.23\n   1.5.24\n   1.6.0\n", "frmOptions"};
        QCOMPARE(ran, twice + twice + QStringList(2, kSite));
    }

    // Help opens an address or an existing file (path or file URL), else a box names the site.
    void openHelpTarget()
    {
        const QString dir = seams->dir.path(), url = QUrl::fromLocalFile(dir).toString();
        QVERIFY(test::writeFile(dir + "/help.html", {}));
        for (const QString& target :
             {kSite, dir + "/help.html", url + "/help.html", dir + "/missing.html",
              url + "/missing.html", dir, QStringLiteral("C:/Help/turnpicker.chm")})
            OpenHelpTarget(target);
        openDonationPage();
        const QUrl file = QUrl::fromLocalFile(dir + "/help.html");
        QCOMPARE(seams->opened, QList<QUrl>({QUrl(kSite), file, file, QUrl(kSite + "donate/")}));
        const QList<Message> boxes = MessageBox::testSeam().requests();
        QVERIFY(boxes.size() == 4 && boxes[3].text.contains("application's web site at " + kSite));
    }

    // A cue's file beside the program (no Sounds folder is installed) at each click; none if off.
    void playSoundCue()
    {
        settingsFlags().PlaySounds = true;
        for (const SoundCue cue : {SoundCue::Event, SoundCue::NextTurn, SoundCue::EndGame,
                                   SoundCue::EndGame, SoundCue::None})
            shell::playSoundCue(cue);
        settingsFlags().PlaySounds = false;
        shell::playSoundCue(SoundCue::Event);
        const QString beside = QCoreApplication::applicationDirPath() + "/Sounds/";
        QCOMPARE(seams->played, QStringList({beside + "Event.wav", beside + "NextTurn.wav",
                                             beside + "EndGame.wav", beside + "EndGame.wav"}));
    }

    // The edge covers [left, right) x [top, bottom), and nothing where that is empty.
    void panelEdge_coversItsRectangle()
    {
        for (const bool sunken : {false, true}) {
            QImage image(60, 60, QImage::Format_RGB32);
            image.fill(Qt::black);
            QPainter painter(&image);
            DrawPanelEdge(painter, 5, 10, 30, 22, sunken);
            DrawPanelEdge(painter, 40, 5, 40, 9, sunken);
            DrawPanelEdge(painter, 40, 20, 45, 15, sunken);
            painter.end();
            const QImage drawn = image.createMaskFromColor(qRgb(0, 0, 0), Qt::MaskInColor);
            QCOMPARE(QRegion(QBitmap::fromImage(drawn)).boundingRect(), QRect(5, 10, 25, 12));
        }
    }
};

QTEST_MAIN(ShellWindowTest)
#include "tst_shell_window.moc"
