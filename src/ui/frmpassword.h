// The dialog in which a player chooses or types the password of a Secure game. It insists
// on an entry, refuses a password the game file could not give back as typed, and hands
// back what was typed, trimmed.
#pragma once

#include "shell/dialogseam.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tfp::ui {

class frmPassword final : public QDialog
{
    Q_OBJECT
public:
    explicit frmPassword(QWidget* parent = nullptr);

    void setUserName(const QString& name);

    // The typed password with the blanks at both ends removed; set by OK and Cancel.
    QString sValidatedPassword;

    // Shows the dialog modally under `caption` for the player `name` and returns
    // sValidatedPassword. Tests queue the answers instead and read the requests.
    [[nodiscard]] static QString ask(QWidget* parent, const QString& caption, const QString& name);
    struct Request
    {
        QString caption;
        QString name;
    };
    static shell::DialogSeam<QString, Request>& testSeam();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void pressOk();
    void pressCancel();
    // Hands the typed password back and closes, unless it is one the game cannot keep.
    void handBack();
    void insistOnEntry();

    QLineEdit* m_userName;
    QLineEdit* m_password;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

} // namespace tfp::ui
