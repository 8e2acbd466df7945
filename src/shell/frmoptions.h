// The options dialog: four check boxes for the stored options, with OK, Apply and Cancel.
#pragma once

#include "shell/settingsstore.h"

#include <array>
#include <QDialog>
#include <QPixmap>
#include <utility>

class QCheckBox;
class QPushButton;

namespace tfp::shell {

// The dialog's three buttons, by their index in cmdCommand (and their objectName).
enum class OptionsCommand
{
    OK = 0,
    Apply = 1,
    Cancel = 2
};

class frmOptions : public QDialog
{
    Q_OBJECT

public:
    // Loads the dialog: centred on the screen, the boxes showing what is stored now, Apply
    // disabled. The main window's position is what the restore option stores.
    explicit frmOptions(QWidget* mainWindow);

    // Stores all four boxes at once, in the settings and in the running program's flags.
    void SaveOptions();
    // Enables Apply when dirty, disables it otherwise.
    void SetOptionsDirty(bool dirty);
    // OK: save and close; Apply: save and stay; Cancel: close without saving.
    void clickCommand(OptionsCommand command);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    [[nodiscard]] QPushButton* button(OptionsCommand command) const;

    QWidget* m_mainWindow;
    QPixmap m_logo;
    QCheckBox* chkPlaySoundEffects;
    QCheckBox* chkReusePlayerNames;
    QCheckBox* chkUseLastSavePath;
    QCheckBox* chkRestoreWindowPosition;
    // Each option's check box, beside its setting.
    std::array<std::pair<Setting, QCheckBox*>, 4> m_optionBoxes{};
    std::array<QPushButton*, 3> cmdCommand{};
};

// Shows a fresh options dialog modally over the main window and returns when it closes.
void ShowOptionsDialog(QWidget* mainWindow);

} // namespace tfp::shell
