// The main window: the setup editors, the status panel and the four command buttons, its
// three modes, and the workflows behind the buttons (new game, save, open, check turn).
#pragma once

#include "game/gamerecord.h"
#include "game/view.h"

#include <array>
#include <QPixmap>
#include <QStringList>
#include <QWidget>

class QFrame;
class QLabel;
class QLineEdit;
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

class frmMain final : public QWidget
{
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The start-up steps; `commandLine` is a game file to open before the window shows.
    void load(const QString& commandLine = {});

    void setMode(WindowMode mode);
    [[nodiscard]] WindowMode mode() const { return m_mode; }
    void setStatus(const QString& title, const QString& message, const QColor& colour);
    void enableSetupEditors(bool enabled);
    void updateSaveButton();
    [[nodiscard]] bool hasEnteredData() const;
    void runCommand(int index);
    // A click on command button `index`: the event sound, then the command.
    void clickCommand(int index);
    void clampModifier();

    // Opens `path` as a dropped file or a file from the command line does.
    void openPath(const QString& path);

    [[nodiscard]] const GameRecord& gameRecord() const { return m_record; }
    [[nodiscard]] QString pendingOpenPath() const { return m_pendingOpenPath; }
    [[nodiscard]] QString statusMessage() const { return m_statusMessage; }

    [[nodiscard]] static QColor statusColour(StatusColour colour);

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void buildControls();
    void paintBackground();
    void applyStatus(const StatusView& view, const QString& handOver = {});
    void applyButton(const ButtonView& view);
    void setCheckPicture(Light light);
    void showGame();
    // Where the focus goes once a game is shown or checked: to the check button, or to the
    // window itself while the button is disabled.
    void focusCheckButton();

    void startNewGame();
    void createGame();
    void openGame();
    void runCheckTurnCommand();
    void handleEscape();
    void pressDefaultButton();

    GameRecord m_record;
    WindowMode m_mode = WindowMode::Welcome;
    QString m_pendingOpenPath;
    QString m_statusMessage;    // as set, with its CR LF line breaks
    bool m_linkPressed = false; // the left button went down on lblMoreInfo
    QPixmap m_background;

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
