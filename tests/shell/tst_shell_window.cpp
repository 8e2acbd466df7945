// The shell's windows and routes on the offscreen platform: window placement, the options
// and About dialogs, the system-menu commands, help, sounds, attention and panel edges.
#include "appversion.h"
#include "game/versions.h"
#include "shell/attention.h"
#include "shell/dialogseam.h"
#include "shell/frmabout.h"
#include "shell/frmoptions.h"
#include "shell/helptarget.h"
#include "shell/messagebox.h"
#include "shell/paneledge.h"
#include "shell/placement.h"
#include "shell/settingsstore.h"
#include "shell/soundcue.h"
#include "shell/systemmenu.h"
#include "shell/windowposition.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace tfp;
using namespace tfp::shell;

namespace {

QString stored(Setting setting)
{
    return ReadSetting(setting);
}

void store(Setting setting, const QString& value)
{
    WriteSetting(setting, value);
}

Setting settingNamed(const QString& name)
{
    for (const Setting s : {Setting::PlaySounds, Setting::ReusePlayerNames,
                            Setting::UseLastSavePath, Setting::RestoreWindowPosition})
        if (settingName(s) == name)
            return s;
    return Setting::LastSavePath;
}

class RecordingSoundPlayer final : public SoundPlayer
{
public:
    void play(const QString& path) override { played.append(path); }
    QStringList played;
};

// A stand-in for the main window: a fixed-size top-level window.
class MainWindow : public QWidget
{
public:
    MainWindow() { setFixedSize(408, 312); }
};

template <class T> T* child(const QWidget& parent, const char* name)
{
    T* found = parent.findChild<T*>(QLatin1String(name));
    if (!found)
        qWarning("no child %s", name);
    return found;
}

QPushButton* command(const QWidget& dialog, int index)
{
    return dialog.findChild<QPushButton*>(QStringLiteral("cmdCommand_%1").arg(index));
}

// Centred on the primary screen; a window placed before it is shown may be off by the
// frame that the window system adds when showing it.
bool isCentred(const QWidget& window)
{
    const QRect frame = window.frameGeometry();
    const QPoint offset =
        frame.center() - QGuiApplication::primaryScreen()->availableGeometry().center();
    const int slackX = (frame.width() - window.width()) / 2 + 1;
    const int slackY = (frame.height() - window.height()) / 2 + 1;
    return qAbs(offset.x()) <= slackX && qAbs(offset.y()) <= slackY;
}

} // namespace

class ShellWindowTest : public QObject
{
    Q_OBJECT

public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

private:
    QTemporaryDir m_dir;
    RecordingSoundPlayer m_sounds;
    QList<QUrl> m_opened;
    QStringList m_shownDialogs;
    int m_count = 0;

    // Dialogs shown through ShowOptionsDialog or ShowAboutBox are recorded and closed with
    // their OK or Cancel button.
    void closeShownDialogs()
    {
        setShownDialogHookForTesting([this](QDialog& dialog) {
            m_shownDialogs.append(dialog.objectName());
            if (auto* cancel = command(dialog, 2))
                cancel->click();
            else if (auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("cmdOK")))
                ok->click();
        });
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
    }

    void init()
    {
        setSettingsFileForTesting(m_dir.filePath(QStringLiteral("settings-%1.ini").arg(++m_count)));
        settingsFlags() = SettingsFlags{};
        MessageBox::testSeam().setEnabled(true);
        setSoundPlayerForTesting(&m_sounds);
        m_sounds.played.clear();
        m_opened.clear();
        m_shownDialogs.clear();
        setUrlOpenerForTesting([this](const QUrl& url) {
            m_opened.append(url);
            return true;
        });
        setShownDialogHookForTesting({});
    }

    void cleanup()
    {
        setShownDialogHookForTesting({});
        setUrlOpenerForTesting({});
        setSoundPlayerForTesting(nullptr);
        MessageBox::testSeam().setEnabled(false);
        setSettingsFileForTesting(QString());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        for (const QWidget* window : QApplication::topLevelWidgets())
            QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
    }

    // Window placement

    void restorePosition_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<QPoint>("frameAt"); // null: centred

        QTest::newRow("stored position") << 1440 << 960 << QPoint(96, 64);
        QTest::newRow("rounded to pixels") << 1447 << 953 << QPoint(96, 64);
        QTest::newRow("partly beyond the right edge") << 700 * 15 << 960 << QPoint(700, 64);
        QTest::newRow("X zero") << 0 << 960 << QPoint();
        QTest::newRow("Y zero") << 1440 << 0 << QPoint();
        QTest::newRow("negative") << -300 << 960 << QPoint();
        QTest::newRow("unusable") << -1 << -1 << QPoint();
        QTest::newRow("beyond the right edge") << 5000 * 15 << 960 << QPoint();
        QTest::newRow("title bar below the screen") << 1440 << 2000 * 15 << QPoint();
        QTest::newRow("never loaded") << 0 << 0 << QPoint();
    }

    void restorePosition()
    {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(QPoint, frameAt);
        settingsFlags().placement = {x, y, -1, -1, 0};
        MainWindow window;
        RestoreMainWindowPosition(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.size(), QSize(408, 312));
        if (frameAt.isNull())
            QVERIFY2(isCentred(window), qPrintable(QStringLiteral("frame at %1, %2")
                                                       .arg(window.frameGeometry().x())
                                                       .arg(window.frameGeometry().y())));
        else
            QCOMPARE(window.frameGeometry().topLeft(), frameAt);
    }

    void writePlacement_data()
    {
        QTest::addColumn<bool>("restore");
        QTest::addColumn<QString>("expected");

        QTest::newRow("restore on") << true << QStringLiteral("X=1440,Y=960");
        QTest::newRow("restore off") << false << QString();
    }

    void writePlacement()
    {
        QFETCH(bool, restore);
        QFETCH(QString, expected);
        store(Setting::RestoreWindowPosition, QStringLiteral("X=15,Y=15"));
        settingsFlags().RestoreWindowPosition = restore;
        MainWindow window;
        window.move(96, 64);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        WriteWindowPlacement(&window);
        QCOMPARE(stored(Setting::RestoreWindowPosition), expected);
    }

    void placementSurvivesARestart()
    {
        settingsFlags().RestoreWindowPosition = true;
        {
            MainWindow first;
            first.move(123, 77);
            first.show();
            QVERIFY(QTest::qWaitForWindowExposed(&first));
            WriteWindowPlacement(&first);
        }
        settingsFlags() = SettingsFlags{};
        LoadSettings();
        MainWindow second;
        RestoreMainWindowPosition(&second);
        second.show();
        QVERIFY(QTest::qWaitForWindowExposed(&second));
        QCOMPARE(second.frameGeometry().topLeft(), QPoint(123, 77));
    }

    // Options dialog

    void optionsControls_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QRect>("geometry");

        QTest::newRow("sounds") << QByteArray("chkPlaySoundEffects")
                                << QStringLiteral("&Play application sound effects")
                                << QStringLiteral(" Toggle on/off application sounds ")
                                << QRect(64, 4, 225, 19);
        QTest::newRow("names") << QByteArray("chkReusePlayerNames")
                               << QStringLiteral("&Suggest last set of player names")
                               << QStringLiteral(" Suggest last set of player names when a new "
                                                 "game file is created ")
                               << QRect(64, 24, 225, 19);
        QTest::newRow("save path")
            << QByteArray("chkUseLastSavePath") << QStringLiteral("&Use last save path when saving")
            << QStringLiteral(" Save the path last used when saving game "
                              "files ")
            << QRect(64, 45, 225, 19);
        QTest::newRow("position") << QByteArray("chkRestoreWindowPosition")
                                  << QStringLiteral("&Restore window position when starting")
                                  << QStringLiteral(" Restore the position of the window to the "
                                                    "last saved coordinates when the application "
                                                    "starts ")
                                  << QRect(64, 66, 225, 19);
        QTest::newRow("OK") << QByteArray("cmdCommand_0") << QStringLiteral("OK")
                            << QStringLiteral(" Save settings and close this window ")
                            << QRect(102, 108, 60, 25);
        QTest::newRow("Apply") << QByteArray("cmdCommand_1") << QStringLiteral("Apply")
                               << QStringLiteral(" Save settings ") << QRect(165, 108, 60, 25);
        QTest::newRow("Cancel") << QByteArray("cmdCommand_2") << QStringLiteral("Cancel")
                                << QStringLiteral(" Cancel settings and close this window ")
                                << QRect(228, 108, 60, 25);
    }

    void optionsControls()
    {
        QFETCH(QByteArray, name);
        QFETCH(QString, caption);
        QFETCH(QString, tip);
        QFETCH(QRect, geometry);
        frmOptions dialog(nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Options"));
        auto* control = child<QAbstractButton>(dialog, name.constData());
        QVERIFY(control);
        QCOMPARE(control->text(), caption);
        QCOMPARE(control->toolTip(), tip);
        // A font wider than the layout's widens the dialog and its boxes to the right.
        const int extra = dialog.width() - 294;
        QVERIFY(extra >= 0);
        QCOMPARE(dialog.height(), 136);
        if (qobject_cast<QCheckBox*>(control))
            QCOMPARE(control->geometry(), geometry.adjusted(0, 0, extra, 0));
        else
            QCOMPARE(control->geometry(), geometry.translated(extra, 0));
    }

    void optionsCaptionsFit_data()
    {
        QTest::addColumn<qreal>("pointSize");
        QTest::addColumn<bool>("asLaidOut");

        QTest::newRow("narrow font") << 5.0 << true;
        QTest::newRow("usual font") << 0.0 << false;
        QTest::newRow("large font") << 16.0 << false;
    }

    void optionsCaptionsFit()
    {
        QFETCH(qreal, pointSize);
        QFETCH(bool, asLaidOut);
        const QFont usual = QApplication::font();
        if (pointSize > 0) {
            QFont font = usual;
            font.setPointSizeF(pointSize);
            QApplication::setFont(font);
        }
        const auto restoreFont = qScopeGuard([&usual] { QApplication::setFont(usual); });
        frmOptions dialog(nullptr);
        const QList<QCheckBox*> boxes = dialog.findChildren<QCheckBox*>();
        QCOMPARE(boxes.size(), 4);
        for (const QCheckBox* box : boxes) {
            QVERIFY2(box->sizeHint().width() <= box->width(), box->objectName().toLatin1());
            QVERIFY(box->geometry().right() < dialog.width());
        }
        QVERIFY(command(dialog, 2)->geometry().right() < dialog.width());
        if (asLaidOut)
            QCOMPARE(dialog.size(), QSize(294, 136));
    }

    void optionsKeyboard()
    {
        frmOptions dialog(nullptr);
        QVERIFY(command(dialog, 0)->isDefault());
        QVERIFY(!command(dialog, 1)->isEnabled());
        const QList<QByteArray> order = {"chkPlaySoundEffects", "chkReusePlayerNames",
                                         "chkUseLastSavePath",  "chkRestoreWindowPosition",
                                         "cmdCommand_0",        "cmdCommand_1",
                                         "cmdCommand_2"};
        for (qsizetype i = 0; i + 1 < order.size(); ++i) {
            QWidget* from = child<QWidget>(dialog, order[i].constData());
            QCOMPARE(from->nextInFocusChain()->objectName().toLatin1(), order[i + 1]);
        }
    }

    void optionsLoad_data()
    {
        QTest::addColumn<QStringList>("storedValues"); // name=value pairs
        QTest::addColumn<QList<bool>>("ticked");

        QTest::newRow("nothing stored") << QStringList() << QList<bool>{true, true, true, false};
        QTest::newRow("all off") << QStringList{QStringLiteral("PlaySounds=False"),
                                                QStringLiteral("ReusePlayerNames=False"),
                                                QStringLiteral("UseLastSavePath=False")}
                                 << QList<bool>{false, false, false, false};
        QTest::newRow("position stored")
            << QStringList{QStringLiteral("RestoreWindowPosition=X=1440,Y=960")}
            << QList<bool>{true, true, true, true};
        QTest::newRow("only sounds off")
            << QStringList{QStringLiteral("PlaySounds=0")} << QList<bool>{false, true, true, false};
    }

    void optionsLoad()
    {
        QFETCH(QStringList, storedValues);
        QFETCH(QList<bool>, ticked);
        for (const QString& pair : std::as_const(storedValues)) {
            const qsizetype at = pair.indexOf(u'=');
            store(settingNamed(pair.first(at)), pair.sliced(at + 1));
        }
        // What the running program holds is not what the dialog shows.
        settingsFlags() = {!ticked[0], !ticked[1], !ticked[2], !ticked[3], {}};
        frmOptions dialog(nullptr);
        const char* boxes[] = {"chkPlaySoundEffects", "chkReusePlayerNames", "chkUseLastSavePath",
                               "chkRestoreWindowPosition"};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(child<QCheckBox>(dialog, boxes[i])->isChecked(), ticked[i]);
        QVERIFY(!command(dialog, 1)->isEnabled());
        QCOMPARE(settingsFlags().PlaySounds, ticked[0]);
        QCOMPARE(settingsFlags().RestoreWindowPosition, ticked[3]);
    }

    void optionsApplyEnabledOnlyBySounds_data()
    {
        QTest::addColumn<QByteArray>("box");
        QTest::addColumn<bool>("enables");

        QTest::newRow("sounds") << QByteArray("chkPlaySoundEffects") << true;
        QTest::newRow("names") << QByteArray("chkReusePlayerNames") << false;
        QTest::newRow("save path") << QByteArray("chkUseLastSavePath") << false;
        QTest::newRow("position") << QByteArray("chkRestoreWindowPosition") << false;
    }

    void optionsApplyEnabledOnlyBySounds()
    {
        QFETCH(QByteArray, box);
        QFETCH(bool, enables);
        frmOptions dialog(nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseClick(child<QCheckBox>(dialog, box.constData()), Qt::LeftButton);
        QCOMPARE(command(dialog, 1)->isEnabled(), enables);
        QCOMPARE(m_sounds.played, QStringList()); // toggling plays nothing
    }

    void optionsApplySavesAndStays()
    {
        frmOptions dialog(nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        child<QCheckBox>(dialog, "chkPlaySoundEffects")->click();
        child<QCheckBox>(dialog, "chkUseLastSavePath")->click();
        QVERIFY(command(dialog, 1)->isEnabled());
        command(dialog, 1)->click();
        QVERIFY(dialog.isVisible());
        QVERIFY(!command(dialog, 1)->isEnabled());
        QCOMPARE(stored(Setting::PlaySounds), QStringLiteral("False"));
        QCOMPARE(stored(Setting::ReusePlayerNames), QStringLiteral("True"));
        QCOMPARE(stored(Setting::UseLastSavePath), QStringLiteral("False"));
        QVERIFY(!settingsFlags().PlaySounds);
        QVERIFY(settingsFlags().ReusePlayerNames);
        QVERIFY(!settingsFlags().UseLastSavePath);
        // Cancel after Apply keeps what Apply stored.
        command(dialog, 2)->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(stored(Setting::PlaySounds), QStringLiteral("False"));
    }

    void optionsOkStoresMainWindowPosition()
    {
        MainWindow main;
        main.move(96, 64);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        frmOptions dialog(&main);
        dialog.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        child<QCheckBox>(dialog, "chkRestoreWindowPosition")->click();
        QVERIFY(!command(dialog, 1)->isEnabled());
        command(dialog, 0)->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(stored(Setting::RestoreWindowPosition), QStringLiteral("X=1440,Y=960"));
        QVERIFY(settingsFlags().RestoreWindowPosition);
        QCOMPARE(stored(Setting::PlaySounds), QStringLiteral("True"));
        main.hide();
    }

    void optionsUntickPositionAndApplyDeletes()
    {
        store(Setting::RestoreWindowPosition, QStringLiteral("X=1440,Y=960"));
        MainWindow main;
        frmOptions dialog(&main);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* restore = child<QCheckBox>(dialog, "chkRestoreWindowPosition");
        QVERIFY(restore->isChecked());
        restore->click();
        QVERIFY(!command(dialog, 1)->isEnabled()); // only the sounds box enables Apply
        auto* sounds = child<QCheckBox>(dialog, "chkPlaySoundEffects");
        sounds->click();
        sounds->click();
        command(dialog, 1)->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(stored(Setting::RestoreWindowPosition), QString());
        QVERIFY(!settingsFlags().RestoreWindowPosition);
        dialog.reject();
    }

    void optionsPartlyTickedStoresOff()
    {
        frmOptions dialog(nullptr);
        auto* sounds = child<QCheckBox>(dialog, "chkPlaySoundEffects");
        sounds->setTristate(true);
        sounds->setCheckState(Qt::PartiallyChecked);
        dialog.SaveOptions();
        QCOMPARE(stored(Setting::PlaySounds), QStringLiteral("False"));
        QVERIFY(!settingsFlags().PlaySounds);
    }

    void optionsClosedWithoutSaving_data()
    {
        QTest::addColumn<int>("how"); // 0 Cancel, 1 Esc, 2 close

        QTest::newRow("Cancel") << 0;
        QTest::newRow("Escape on a check box") << 1;
        QTest::newRow("closed") << 2;
    }

    void optionsClosedWithoutSaving()
    {
        QFETCH(int, how);
        frmOptions dialog(nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* sounds = child<QCheckBox>(dialog, "chkPlaySoundEffects");
        sounds->click();
        child<QCheckBox>(dialog, "chkRestoreWindowPosition")->click();
        if (how == 0) {
            command(dialog, 2)->click();
        } else if (how == 1) {
            sounds->setFocus();
            QTest::keyClick(sounds, Qt::Key_Escape);
        } else {
            dialog.close();
        }
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(stored(Setting::PlaySounds), QString());
        QCOMPARE(stored(Setting::RestoreWindowPosition), QString());
        QVERIFY(settingsFlags().PlaySounds);
        QVERIFY(!settingsFlags().RestoreWindowPosition);
    }

    void optionsEnterOnACheckBoxActsAsOk()
    {
        frmOptions dialog(nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* names = child<QCheckBox>(dialog, "chkReusePlayerNames");
        names->click();
        names->setFocus();
        QTest::keyClick(names, Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(stored(Setting::ReusePlayerNames), QStringLiteral("False"));
    }

    void showOptionsDialog()
    {
        MainWindow main;
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QPointer<QDialog> seen;
        bool cursorReleased = false;
        setShownDialogHookForTesting([&](QDialog& dialog) {
            seen = &dialog;
            QVERIFY(dialog.isModal());
            QCOMPARE(dialog.parentWidget(), &main);
            // The hourglass of the loading goes once the dialog is in use.
            QTRY_COMPARE(QApplication::overrideCursor(), nullptr);
            cursorReleased = true;
            command(dialog, 1)->setEnabled(true);
            command(dialog, 2)->click();
        });
        ShowOptionsDialog(&main);
        QVERIFY(cursorReleased);
        QVERIFY(seen.isNull()); // a fresh dialog, gone once closed
        QCOMPARE(stored(Setting::PlaySounds), QString());
        main.hide();
    }

    // About box

    void aboutText()
    {
        const QString expected =
            QStringLiteral("Application Version ") + getAppVersion() + QStringLiteral("\r\n") +
            QString::fromUtf8(appinfo::kLegalNotice) + QStringLiteral("\r\n") +
            QStringLiteral(
                "Written by Torva\r\n"
                "\r\n"
                "Torva Fogline Turnpicker is freeware and may be freely distributed, "
                "while Torva keeps full rights to the program and its documentation.\r\n"
                "\r\n"
                "If you like this application, please donate $2.00 to help fund "
                "improvements, further development, and additional applications from "
                "Torva.\r\n"
                "\r\n"
                "E-mail turnpicker@torva.example with your questions and suggestions.\r\n"
                "\r\n"
                "This version of the application supports game files created with "
                "the following version(s):  \r\n"
                "   1.5.22\r\n"
                "   1.5.23\r\n"
                "   1.5.24\r\n");
        QCOMPARE(shell::aboutText(), expected);
        QVERIFY(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+$"))
                    .match(getAppVersion())
                    .hasMatch());
    }

    void aboutBox()
    {
        frmAbout dialog(nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("About Torva Fogline Turnpicker"));
        QCOMPARE(dialog.size(), QSize(324, 202));
        auto* title = child<QLabel>(dialog, "lblAppTitle");
        QCOMPARE(title->text(), QStringLiteral("Torva Fogline Turnpicker"));
        QCOMPARE(title->geometry(), QRect(65, 0, 255, 24));
        QVERIFY(title->font().bold() || title->font().family() == u"Haettenschweiler");
        QVERIFY2(QFontMetrics(title->font()).horizontalAdvance(title->text()) <= title->width(),
                 "the product name is cut off");
        auto* text = child<QPlainTextEdit>(dialog, "txtInstructions");
        QVERIFY(text->isReadOnly());
        QCOMPARE(text->geometry(), QRect(64, 28, 257, 136));
        QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(text->toPlainText(),
                 shell::aboutText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        auto* ok = child<QPushButton>(dialog, "cmdOK");
        QCOMPARE(ok->text(), QStringLiteral("&OK"));
        QCOMPARE(ok->toolTip(), QStringLiteral(" Close this window "));
        QCOMPARE(ok->geometry(), QRect(261, 174, 60, 25));
        QVERIFY(ok->isDefault());
    }

    void aboutBoxCloses_data()
    {
        QTest::addColumn<int>("key");

        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }

    void aboutBoxCloses()
    {
        QFETCH(int, key);
        frmAbout dialog(nullptr);
        dialog.open();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(QApplication::focusWidget(), child<QWidget>(dialog, "cmdOK"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QVERIFY(!dialog.isVisible());
    }

    // System menu and help

    void systemMenuEntries_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("url");

        QTest::newRow("About") << 0 << QStringLiteral("About Torva Fogline Turnpicker...")
                               << QStringLiteral("frmAbout") << QString();
        QTest::newRow("Help") << 1 << QStringLiteral("Help Documentation...") << QString()
                              << QStringLiteral("https://www.torva.example/turnpicker/");
        QTest::newRow("Options") << 2 << QStringLiteral("Program Options...")
                                 << QStringLiteral("frmOptions") << QString();
    }

    void systemMenuEntries()
    {
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(QString, dialog);
        QFETCH(QString, url);
        closeShownDialogs();
        MainWindow main;
        QMenu menu(&main);
        populateSystemMenu(menu, &main);
        const QList<QAction*> actions = menu.actions();
        QCOMPARE(actions.size(), 3);
        QCOMPARE(actions[index]->text(), text);
        actions[index]->trigger();
        QCOMPARE(m_shownDialogs, dialog.isEmpty() ? QStringList() : QStringList{dialog});
        QCOMPARE(m_opened, url.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl(url)});
    }

    void systemMenuAfterOtherEntries()
    {
        QMenu menu;
        menu.addAction(QStringLiteral("Other"));
        populateSystemMenu(menu, nullptr);
        const QList<QAction*> actions = menu.actions();
        QCOMPARE(actions.size(), 5);
        QVERIFY(actions[1]->isSeparator());
        QCOMPARE(actions[2]->text(), QStringLiteral("About Torva Fogline Turnpicker..."));
    }

    void systemMenuProc_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<bool>("handled");
        QTest::addColumn<QStringList>("dialogs");
        QTest::addColumn<int>("opened");

        QTest::newRow("About") << 1010 << true << QStringList{QStringLiteral("frmAbout")} << 0;
        QTest::newRow("Help") << 1011 << true << QStringList() << 1;
        QTest::newRow("Options") << 1012 << true << QStringList{QStringLiteral("frmOptions")} << 0;
        QTest::newRow("one above") << 1013 << false << QStringList() << 0;
        QTest::newRow("one below") << 1009 << false << QStringList() << 0;
        QTest::newRow("masked About") << (1010 & 0xFFF0) << false << QStringList() << 0;
        QTest::newRow("Close") << 0xF060 << false << QStringList() << 0;
    }

    void systemMenuProc()
    {
        QFETCH(int, id);
        QFETCH(bool, handled);
        QFETCH(QStringList, dialogs);
        QFETCH(int, opened);
        closeShownDialogs();
        MainWindow main;
        QCOMPARE(SystemMenuProc(&main, id), handled);
        QCOMPARE(m_shownDialogs, dialogs);
        QCOMPARE(m_opened.size(), opened);
    }

    void systemMenuHookLeavesWindowAlone()
    {
        MainWindow main;
        InstallSystemMenuHook(&main);
        InstallSystemMenuHook(&main);
        qintptr result = 7;
        QVERIFY(!handleSystemMenuNativeEvent(&main, "xcb_generic_event_t", nullptr, &result));
        QCOMPARE(result, qintptr(7));
        RemoveSystemMenuHook(&main);
        QCOMPARE(main.children().size(), 0);
    }

    void openHelpTarget_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QUrl>("opened"); // empty: the help box instead

        const QString file = m_dir.filePath(QStringLiteral("help.html"));
        QFile help(file);
        QVERIFY(help.open(QIODevice::WriteOnly));
        QTest::newRow("web site") << QStringLiteral("https://www.torva.example/turnpicker/")
                                  << QUrl(QStringLiteral("https://www.torva.example/turnpicker/"));
        QTest::newRow("existing file") << file << QUrl::fromLocalFile(file);
        QTest::newRow("file URL") << QUrl::fromLocalFile(file).toString()
                                  << QUrl::fromLocalFile(file);
        QTest::newRow("missing file") << m_dir.filePath(QStringLiteral("missing.html")) << QUrl();
        QTest::newRow("missing file URL")
            << QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("missing.html"))).toString()
            << QUrl();
        QTest::newRow("folder") << m_dir.path() << QUrl();
        QTest::newRow("Windows path") << QStringLiteral("C:\\Help\\turnpicker.chm") << QUrl();
    }

    void openHelpTarget()
    {
        QFETCH(QString, target);
        QFETCH(QUrl, opened);
        OpenHelpTarget(target);
        if (opened.isEmpty()) {
            QCOMPARE(m_opened, QList<QUrl>());
            const Message expected{
                QStringLiteral("Torva Fogline Turnpicker"),
                QStringLiteral("Help documentation cannot be located on your system.\r\n\r\n"
                               "Please see the application's web site at "
                               "https://www.torva.example/turnpicker/ for additional "
                               "information on this product."),
                MessageIcon::Information};
            QCOMPARE(MessageBox::testSeam().requests(), QList<Message>{expected});
        } else {
            QCOMPARE(m_opened, QList<QUrl>{opened});
            QCOMPARE(MessageBox::testSeam().requests().size(), 0);
        }
    }

    void donationPage()
    {
        openDonationPage();
        QCOMPARE(m_opened,
                 QList<QUrl>{QUrl(QStringLiteral("https://www.torva.example/turnpicker/donate/"))});
    }

    // Sounds, attention and panel edges

    void playSoundCue_data()
    {
        QTest::addColumn<bool>("soundsOn");
        QTest::addColumn<SoundCue>("cue");
        QTest::addColumn<QString>("file");

        QTest::newRow("event") << true << SoundCue::Event << QStringLiteral("Event.wav");
        QTest::newRow("next turn") << true << SoundCue::NextTurn << QStringLiteral("NextTurn.wav");
        QTest::newRow("end game") << true << SoundCue::EndGame << QStringLiteral("EndGame.wav");
        QTest::newRow("none") << true << SoundCue::None << QString();
        QTest::newRow("sounds off") << false << SoundCue::EndGame << QString();
    }

    void playSoundCue()
    {
        QFETCH(bool, soundsOn);
        QFETCH(SoundCue, cue);
        QFETCH(QString, file);
        settingsFlags().PlaySounds = soundsOn;
        shell::playSoundCue(cue);
        shell::playSoundCue(cue);
        if (file.isEmpty()) {
            QCOMPARE(m_sounds.played, QStringList());
            return;
        }
        QCOMPARE(m_sounds.played.size(), 2); // a second click starts the sound again
        QCOMPARE(m_sounds.played[0], soundFilePath(cue));
        QVERIFY2(m_sounds.played[0].endsWith(QStringLiteral("/Sounds/") + file),
                 qPrintable(m_sounds.played[0]));
    }

    void soundFileBesideTheProgram()
    {
        // No Sounds folder is installed for the tests: the path beside the program remains,
        // so that the player falls back to the platform's default sound.
        QCOMPARE(soundFilePath(SoundCue::Event),
                 QCoreApplication::applicationDirPath() + QStringLiteral("/Sounds/Event.wav"));
        QCOMPARE(soundFilePath(SoundCue::None), QString());
    }

    void flashAttention_showsThenLeavesWindowAsBefore()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const QImage before = window.grab().toImage();
        FlashAttention(&window, 0); // at least one flash
        QVERIFY(isFlashing(&window));
        QVERIFY(window.grab().toImage() != before); // seen even in the active window
        QTRY_VERIFY_WITH_TIMEOUT(!isFlashing(&window), 5000);
        QCOMPARE(window.grab().toImage(), before);
        FlashAttention(nullptr, 1);
        window.hide();
    }

    void panelEdge_data()
    {
        QTest::addColumn<bool>("sunken");
        QTest::addColumn<QRect>("rect");
        // Expected colour roles along the left column and the top row, outside inwards,
        // and along the right column and bottom row, outside inwards.
        QTest::addColumn<QList<int>>("topLeft");
        QTest::addColumn<QList<int>>("bottomRight");

        QTest::newRow("thin") << false << QRect(3, 10, 40, 2) << QList<int>{QPalette::Dark}
                              << QList<int>{QPalette::Light};
        QTest::newRow("sunken") << true << QRect(4, 4, 54, 53)
                                << QList<int>{QPalette::Dark, QPalette::Shadow}
                                << QList<int>{QPalette::Light, QPalette::Midlight};
    }

    void panelEdge()
    {
        QFETCH(bool, sunken);
        QFETCH(QRect, rect);
        QFETCH(QList<int>, topLeft);
        QFETCH(QList<int>, bottomRight);
        const QColor background(1, 2, 3);
        QImage image(80, 80, QImage::Format_RGB32);
        image.fill(background);
        {
            QPainter painter(&image);
            DrawPanelEdge(painter, rect.left(), rect.top(), rect.left() + rect.width(),
                          rect.top() + rect.height(), sunken);
        }
        const QPalette palette = QGuiApplication::palette();
        const auto colour = [&palette](int role) {
            return palette.color(QPalette::ColorRole(role)).rgb();
        };
        const int midX = rect.left() + rect.width() / 2;
        const int midY = rect.top() + rect.height() / 2;
        for (int i = 0; i < topLeft.size(); ++i) {
            QCOMPARE(image.pixel(midX, rect.top() + i), colour(topLeft[i]));
            QCOMPARE(image.pixel(midX, rect.bottom() - i), colour(bottomRight[i]));
            if (rect.height() > 2) {
                QCOMPARE(image.pixel(rect.left() + i, midY), colour(topLeft[i]));
                QCOMPARE(image.pixel(rect.right() - i, midY), colour(bottomRight[i]));
            }
        }
        // The right and bottom coordinates are outside, as is everything round the edge.
        QCOMPARE(image.pixel(midX, rect.top() - 1), background.rgb());
        QCOMPARE(image.pixel(midX, rect.bottom() + 1), background.rgb());
        QCOMPARE(image.pixel(rect.left() - 1, midY), background.rgb());
        QCOMPARE(image.pixel(rect.right() + 1, midY), background.rgb());
        if (rect.height() > 4)
            QCOMPARE(image.pixel(midX, midY), background.rgb()); // the inside stays
    }

    void panelEdgeOfNothing()
    {
        QImage image(20, 20, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        DrawPanelEdge(painter, 10, 5, 10, 9, false);
        DrawPanelEdge(painter, 10, 9, 12, 5, true);
        painter.end();
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 20; ++x)
                QCOMPARE(image.pixel(x, y), QColor(Qt::black).rgb());
        }
    }

    void dialogDecorations_data()
    {
        QTest::addColumn<bool>("about");

        QTest::newRow("options") << false;
        QTest::newRow("About") << true;
    }

    void dialogDecorations()
    {
        QFETCH(bool, about);
        std::unique_ptr<QDialog> dialog;
        if (about)
            dialog = std::make_unique<frmAbout>(nullptr);
        else
            dialog = std::make_unique<frmOptions>(nullptr);
        const QWidget* button = about ? child<QWidget>(*dialog, "cmdOK") : command(*dialog, 0);
        const QImage image = dialog->grab().toImage();
        const QPalette palette = QGuiApplication::palette();
        const int top = button->geometry().top();
        // The separator above the buttons, 3 pixels in from each side.
        QCOMPARE(image.pixel(dialog->width() / 2, top - 7), palette.color(QPalette::Dark).rgb());
        QCOMPARE(image.pixel(dialog->width() / 2, top - 6), palette.color(QPalette::Light).rgb());
        QCOMPARE(image.pixel(3, top - 7), palette.color(QPalette::Dark).rgb());
        QVERIFY(image.pixel(2, top - 7) != palette.color(QPalette::Dark).rgb());
        QCOMPARE(image.pixel(dialog->width() - 4, top - 6), palette.color(QPalette::Light).rgb());
        // The frame round the logo, drawn over it.
        QCOMPARE(image.pixel(30, 4), palette.color(QPalette::Dark).rgb());
        QCOMPARE(image.pixel(30, 5), palette.color(QPalette::Shadow).rgb());
        QCOMPARE(image.pixel(57, 30), palette.color(QPalette::Light).rgb());
        if (QFile::exists(QStringLiteral(":/images/logo.png")))
            QVERIFY(image.pixel(30, 30) != palette.color(QPalette::Window).rgb());
    }
};

QTEST_MAIN(ShellWindowTest)
#include "tst_shell_window.moc"
