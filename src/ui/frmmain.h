// The main window: the setup editors, the status panel and the four command buttons, its
// three modes, and the workflows behind the buttons (new game, save, open, check turn).
#pragma once

#include "game/gamerecord.h"
#include "game/views.h"

#include <array>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QTextEdit;
class QToolButton;

namespace tfp::ui {

class UpDown;

enum class WindowMode
{
    Welcome = 0,
    Setup = 2,
    GamePlay = 3
};

// The four command buttons, by their index in cmdCommand (and their objectName).
enum class Command
{
    Save = 0,
    New = 1,
    CheckTurn = 2,
    Open = 3
};

class frmMain final : public QWidget
{
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The start-up steps; `commandLine` is a game file to open before the window shows.
    void load(const QString& commandLine = {});

    // Opens `path` as a dropped file or a file from the command line does.
    void openPath(const QString& path);

    [[nodiscard]] WindowMode mode() const { return m_mode; }
    [[nodiscard]] const GameRecord& gameRecord() const { return m_record; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void setMode(WindowMode mode);
    void setStatus(const StatusView& view);
    void enableSetupEditors(bool enabled);
    void updateSaveButton();
    [[nodiscard]] bool hasEnteredData() const;
    // Runs a command; a failure inside it ends that command and the window stays usable.
    void runCommand(Command command, const QString& path = {});
    // A click on a command button: the event sound, then the command.
    void clickCommand(Command command);
    void clampModifier();
    [[nodiscard]] QToolButton* button(Command command) const;

    void buildControls();
    void paintBackground();
    void applyView(const GameView& view);
    void setCheckPicture(Light light);
    void showGame();
    // Where the focus goes once a game is shown or checked: to the check button, or to the
    // window itself while the button is disabled.
    void focusCheckButton();

    void startNewGame();
    void createGame();
    // Opens `path`, or the file chosen in the file dialog when it is empty.
    void openGame(const QString& path);
    void runCheckTurnCommand();
    void handleEscape();
    void pressDefaultButton();
    // The program's menu (About, Help Documentation, Program Options) at `globalPos`; over a
    // text box that can be edited, after the box's own entries. One at a time.
    void openProgramMenu(QWidget* over, const QPoint& globalPos);

    GameRecord m_record;
    WindowMode m_mode = WindowMode::Welcome;
    bool m_linkPressed = false; // the left button went down on lblMoreInfo
    QPixmap m_background;
    QPointer<QMenu> m_menu; // the program's menu while it is open

    QLabel* lblSetup = nullptr;
    QLabel* lblGamePlay = nullptr;
    QLabel* lblMoreInfo = nullptr;
    QLineEdit* txtGameName = nullptr;
    QLineEdit* txtAllied = nullptr;
    QLineEdit* txtAxis = nullptr;
    QLineEdit* txtGameTurns = nullptr;
    QLineEdit* txtVariance = nullptr;
    UpDown* UpDown1 = nullptr;
    UpDown* UpDown2 = nullptr;
    QFrame* fraGameType = nullptr;
    QFrame* fraSecurityMode = nullptr;
    std::array<QRadioButton*, 2> optType{};
    std::array<QRadioButton*, 3> optMode{};
    QFrame* picStatusFrame = nullptr;
    QLineEdit* txtGameStatusTitle = nullptr;
    QTextEdit* txtGameStatusMessage = nullptr;
    std::array<QToolButton*, 4> cmdCommand{};
};

} // namespace tfp::ui
