// The options dialog: four check boxes for the stored options, with OK, Apply and Cancel.
#pragma once

#include <array>
#include <QDialog>
#include <QPixmap>

class QCheckBox;
class QPushButton;

namespace tfp::shell {

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
    // OK (0): save and close; Apply (1): save and stay; Cancel (2): close without saving.
    void clickCommand(int index);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* m_mainWindow;
    QPixmap m_logo;
    QCheckBox* chkPlaySoundEffects;
    QCheckBox* chkReusePlayerNames;
    QCheckBox* chkUseLastSavePath;
    QCheckBox* chkRestoreWindowPosition;
    std::array<QPushButton*, 3> cmdCommand{};
};

// Shows a fresh options dialog modally over the main window and returns when it closes.
void ShowOptionsDialog(QWidget* mainWindow);

} // namespace tfp::shell
