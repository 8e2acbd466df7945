// The window tests' seams: dialogs answered through their seams, settings in an INI file of a
// temporary folder, sounds and opened addresses recorded, options and About handed to shownDialog.
#pragma once

#include "shell/dialogseam.h"
#include "shell/helptarget.h"
#include "shell/messagebox.h"
#include "shell/settingsstore.h"
#include "shell/soundcue.h"
#include "ui/filedialog.h"
#include "ui/frmconfirmsave.h"
#include "ui/frmpassword.h"

#include <QDialog>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

namespace tfp::test {

class WindowSeams final : public shell::SoundPlayer
{
public:
    WindowSeams()
    {
        QStandardPaths::setTestModeEnabled(true);
        shell::setSettingsFileForTesting(path(QStringLiteral("settings.ini")));
        shell::settingsFlags() = {};
        enable(true);
        shell::setSoundPlayerForTesting(this);
        shell::setUrlOpenerForTesting([this](const QUrl& url) {
            opened.append(url);
            return true;
        });
        shell::setShownDialogHookForTesting([this](QDialog& dialog) {
            if (shownDialog)
                shownDialog(dialog);
        });
    }
    ~WindowSeams() override
    {
        shell::setShownDialogHookForTesting({});
        shell::setUrlOpenerForTesting({});
        shell::setSoundPlayerForTesting(nullptr);
        shell::setSettingsFileForTesting(QString());
        enable(false);
    }
    Q_DISABLE_COPY_MOVE(WindowSeams)

    void play(const QString& file) override { played.append(file); }
    [[nodiscard]] QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    QStringList played;
    QList<QUrl> opened;
    std::function<void(QDialog&)> shownDialog;

private:
    static void enable(bool on)
    {
        shell::MessageBox::testSeam().setEnabled(on);
        ui::FileDialog::testSeam().setEnabled(on);
        ui::frmConfirmSave::testSeam().setEnabled(on);
        ui::frmPassword::testSeam().setEnabled(on);
    }
};

} // namespace tfp::test
