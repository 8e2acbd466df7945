// The About box: product name, logo, version, notices, the support address and the game
// file versions this build opens.
#pragma once

#include <QDialog>
#include <QPixmap>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tfp::shell {

// The text of the About box, each line ending in CR LF, the supported versions last.
[[nodiscard]] QString aboutText();

class frmAbout : public QDialog
{
    Q_OBJECT

public:
    // Loads the dialog, centred on the screen.
    explicit frmAbout(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_logo;
    QLabel* lblAppTitle;
    QPlainTextEdit* txtInstructions;
    QPushButton* cmdOK;
};

// Shows a fresh About box modally and returns when it closes.
void ShowAboutBox(QWidget* parent);

} // namespace tfp::shell
