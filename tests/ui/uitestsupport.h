// Shared set-up of the window tests: every dialog answered through its seam, settings in
// a temporary INI file, sounds recorded instead of played.
#pragma once

#include "game/creation.h"
#include "game/gamefile.h"
#include "shell/messagebox.h"
#include "shell/settingsstore.h"
#include "shell/soundcue.h"
#include "ui/filedialog.h"
#include "ui/frmconfirmsave.h"
#include "ui/frmpassword.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace tfp::test {

class RecordingSoundPlayer final : public shell::SoundPlayer
{
public:
    void play(const QString& path) override { played.append(path); }
    QStringList played;
};

// Puts every seam into test mode for the lifetime of the object.
class WindowSeams
{
public:
    WindowSeams()
    {
        QStandardPaths::setTestModeEnabled(true);
        shell::setSettingsFileForTesting(dir.filePath(QStringLiteral("settings.ini")));
        shell::MessageBox::testSeam().setEnabled(true);
        ui::FileDialog::testSeam().setEnabled(true);
        ui::frmConfirmSave::testSeam().setEnabled(true);
        ui::frmPassword::testSeam().setEnabled(true);
        shell::setSoundPlayerForTesting(&sounds);
    }
    ~WindowSeams()
    {
        shell::setSoundPlayerForTesting(nullptr);
        shell::setSettingsFileForTesting(QString());
        shell::MessageBox::testSeam().setEnabled(false);
        ui::FileDialog::testSeam().setEnabled(false);
        ui::frmConfirmSave::testSeam().setEnabled(false);
        ui::frmPassword::testSeam().setEnabled(false);
    }
    WindowSeams(const WindowSeams&) = delete;
    WindowSeams& operator=(const WindowSeams&) = delete;

    [[nodiscard]] QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    RecordingSoundPlayer sounds;
};

// Writes a game file straight from a record, for tests that need a known ending turn.
inline void writeGameFile(const GameRecord& record)
{
    FileErrorInfo error;
    QVERIFY2(saveData(record, error), qPrintable(error.Description));
}

inline GameRecord basicGame(const QString& path, qint16 turns, qint16 modifier, qint16 ending)
{
    GameRecord r;
    r.GameName = QStringLiteral("Ridge");
    r.Version = QStringLiteral("1.5.24");
    r.Player1Name = QStringLiteral("North");
    r.Player2Name = QStringLiteral("South");
    r.TotalTurns = turns;
    r.TurnVariance = modifier;
    r.CurrentTurn = static_cast<qint16>(turns - modifier - 1);
    r.EndingTurn = ending;
    r.LastSavedDateTime = QDateTime(QDate(2026, 12, 5), QTime(12, 5, 12));
    r.FilePath = path;
    return r;
}

} // namespace tfp::test
