#include "ui/frmmain.h"

#include "appversion.h"
#include "game/numbers.h"
#include "game/setup.h"
#include "game/versions.h"
#include "shell/attention.h"
#include "shell/frmabout.h"
#include "shell/helptarget.h"
#include "shell/messagebox.h"
#include "shell/paneledge.h"
#include "shell/pictures.h"
#include "shell/placement.h"
#include "shell/settingsstore.h"
#include "shell/soundcue.h"
#include "shell/systemmenu.h"
#include "shell/textfit.h"
#include "shell/windowposition.h"
#include "ui/checkbutton.h"
#include "ui/fieldeditors.h"
#include "ui/updown.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QTextEdit>
#include <QToolButton>
#include <QUrl>

namespace tfp::ui {
namespace {

QFont arial(qreal points, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFont statusTitleFont()
{
    return arial(11.25, true);
}

QFont statusMessageFont()
{
    return arial(9.75);
}

// The traffic-light picture of the large button, at 32 x 32 and at 16 x 16.
QIcon lightIcon(Light light)
{
    QString name;
    switch (light) {
    case Light::Green:
        name = QStringLiteral("light-green");
        break;
    case Light::Yellow:
        name = QStringLiteral("light-yellow");
        break;
    case Light::Red:
        name = QStringLiteral("light-red");
        break;
    }
    QIcon icon;
    shell::addPicture(icon, QStringLiteral(":/images/%1.png").arg(name));
    shell::addPicture(icon, QStringLiteral(":/images/%1-16.png").arg(name));
    return icon;
}

// The picture of a small command button (New, Open, Save).
QString smallButtonPicture(Command command)
{
    switch (command) {
    case Command::New:
        return QStringLiteral(":/images/new.png");
    case Command::Open:
        return QStringLiteral(":/images/open.png");
    case Command::Save:
    case Command::CheckTurn:
        break;
    }
    return QStringLiteral(":/images/save.png");
}

QString commandName(Command command)
{
    return QStringLiteral("cmdCommand_%1").arg(static_cast<int>(command));
}

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Text, colour);
        palette.setColor(group, QPalette::WindowText, colour);
    }
    widget->setPalette(palette);
}

void setBlack(QWidget* widget)
{
    QPalette palette = widget->palette();
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, Qt::black);
        palette.setColor(group, QPalette::Window, Qt::black);
    }
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// The spinners' range: the turns spinner climbs no higher than this, nor does the
// modifier's before the turns are known.
constexpr int kSpinnerHighest = 60;

const QColor kYellow(255, 255, 0);
const QColor kWhite(255, 255, 255);

QColor statusColour(StatusColour colour)
{
    switch (colour) {
    case StatusColour::Yellow:
        return {255, 255, 0};
    case StatusColour::Red:
        return {255, 0, 0};
    case StatusColour::Green:
        break;
    }
    return {0, 192, 0};
}

} // namespace

QToolButton* frmMain::button(Command command) const
{
    return cmdCommand[static_cast<std::size_t>(command)];
}

frmMain::frmMain(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(408, 315);
    setAcceptDrops(true);
    setMouseTracking(true);
    setFont(arial(8.25));
    buildControls();
}

frmMain::~frmMain()
{
    // The children outlive this class's part of the object: nothing they do while they go
    // (losing the focus, a last text change) may reach it.
    for (QObject* child : findChildren<QObject*>()) {
        child->removeEventFilter(this);
        disconnect(child, nullptr, this, nullptr);
    }
}

void frmMain::buildControls()
{
    const auto label = [this](const QString& name, const QString& text, const QRect& geometry) {
        auto* l = new QLabel(text, this);
        l->setObjectName(name);
        l->setGeometry(geometry);
        l->setFont(arial(9, true));
        setTextColour(l, kYellow);
        return l;
    };
    lblSetup = label(QStringLiteral("lblSetup"), QStringLiteral("Setup"), {5, 5, 41, 16});
    lblGamePlay =
        label(QStringLiteral("lblGamePlay"), QStringLiteral("Game Play"), {5, 185, 66, 16});

    const auto textBox = [this](const QString& name, const QString& caption, int maxLength,
                                const QRect& geometry, const QString& tip,
                                EditorBehaviour::Kind kind) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        // The captions are painted on the background; screen readers read these.
        edit->setAccessibleName(caption);
        edit->setMaxLength(maxLength);
        edit->setGeometry(geometry);
        edit->setToolTip(tip);
        if (kind == EditorBehaviour::Kind::Text)
            edit->setValidator(new EntryCharacterValidator(edit));
        auto* behaviour = new EditorBehaviour(edit, kind);
        connect(edit, &QLineEdit::textChanged, this, &frmMain::updateSaveButton);
        if (kind == EditorBehaviour::Kind::Digits)
            connect(behaviour, &EditorBehaviour::left, this, &frmMain::clampModifier);
        return edit;
    };
    using Kind = EditorBehaviour::Kind;
    txtGameName =
        textBox(QStringLiteral("txtGameName"), QStringLiteral("Game name"), kMaxGameNameLength,
                {132, 21, 185, 21}, QStringLiteral(" Enter game name "), Kind::Text);

    const auto optionFrame = [this](const QString& name, const QString& caption,
                                    const QRect& geometry) {
        auto* frame = new QFrame(this);
        frame->setObjectName(name);
        frame->setAccessibleName(caption);
        frame->setFrameShape(QFrame::NoFrame);
        frame->setGeometry(geometry);
        return frame;
    };
    const auto option = [](QFrame* frame, const QString& name, const QString& text,
                           const QRect& geometry, const QString& tip) {
        auto* button = new QRadioButton(text, frame);
        button->setObjectName(name);
        button->setGeometry(geometry);
        button->setToolTip(tip);
        return button;
    };
    fraGameType =
        optionFrame(QStringLiteral("fraGameType"), QStringLiteral("Game type"), {134, 51, 181, 19});
    optType[0] =
        option(fraGameType, QStringLiteral("optType_0"), QStringLiteral("Scenario"), {1, 2, 73, 17},
               QStringLiteral(" Select for scenario-based games where the number of "
                              "games turns is pre-selected "));
    optType[1] = option(fraGameType, QStringLiteral("optType_1"), QStringLiteral("Quick Battle"),
                        {80, 2, 93, 17},
                        QStringLiteral(" Select for quick battle-based games where you specify "
                                       "the number of turns during the creation of the game "));
    fraSecurityMode = optionFrame(QStringLiteral("fraSecurityMode"),
                                  QStringLiteral("Security mode"), {134, 81, 181, 19});
    optMode[0] = option(fraSecurityMode, QStringLiteral("optMode_0"), QStringLiteral("Basic"),
                        {1, 2, 52, 17},
                        QStringLiteral(" Select to enable basic mode - one player monitors the "
                                       "ending turn "));
    optMode[1] = option(fraSecurityMode, QStringLiteral("optMode_1"), QStringLiteral("Secure"),
                        {55, 2, 62, 17},
                        QStringLiteral(" Select to enable secure mode - both players swap the "
                                       "game file and monitor the ending turn "));
    optMode[2] = option(
        fraSecurityMode, QStringLiteral("optMode_2"), QStringLiteral("Sealed"), {119, 2, 61, 17},
        QStringLiteral(" Select for sealed mode - both players swap the game file, and neither "
                       "can read or change the ending turn, even by reading the file; both "
                       "players need version 1.6 or later "));
    new OptionPairBehaviour(fraGameType, {optType[0], optType[1]});
    new OptionPairBehaviour(fraSecurityMode, {optMode[0], optMode[1], optMode[2]});

    txtAllied =
        textBox(QStringLiteral("txtAllied"), QStringLiteral("Player #1"), kMaxPlayerNameLength,
                {132, 108, 80, 21}, QStringLiteral(" Enter the name for player #1 "), Kind::Text);
    txtAxis =
        textBox(QStringLiteral("txtAxis"), QStringLiteral("Player #2"), kMaxPlayerNameLength,
                {237, 108, 80, 21}, QStringLiteral(" Enter the name for player #2 "), Kind::Text);
    txtGameTurns = textBox(QStringLiteral("txtGameTurns"), QStringLiteral("Game turns"),
                           kMaxNumberDigits, {131, 135, 29, 22},
                           QStringLiteral(" Enter the number of turns in the game "), Kind::Digits);
    txtGameTurns->setText(QStringLiteral("0"));
    UpDown1 = new UpDown(txtGameTurns, kMinTurns, kSpinnerHighest, kMinTurns, this);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setGeometry(161, 135, 16, 22);
    connect(UpDown1, &UpDown::valueChanged, this, &frmMain::clampModifier);
    txtVariance =
        textBox(QStringLiteral("txtVariance"), QStringLiteral("Modifier"), kMaxNumberDigits,
                {274, 135, 29, 22}, QStringLiteral(" Enter the modifier/variance "), Kind::Digits);
    txtVariance->setText(QStringLiteral("0"));
    UpDown2 = new UpDown(txtVariance, 0, kSpinnerHighest, 0, this);
    UpDown2->setObjectName(QStringLiteral("UpDown2"));
    UpDown2->setGeometry(304, 135, 16, 22);

    picStatusFrame = new QFrame(this);
    picStatusFrame->setObjectName(QStringLiteral("picStatusFrame"));
    picStatusFrame->setFrameShape(QFrame::NoFrame);
    picStatusFrame->setGeometry(18, 203, 278, 62);
    picStatusFrame->setAccessibleName(QStringLiteral("Game status"));
    setBlack(picStatusFrame);
    txtGameStatusTitle = new QLineEdit(picStatusFrame);
    txtGameStatusTitle->setObjectName(QStringLiteral("txtGameStatus_0"));
    txtGameStatusTitle->setGeometry(0, 0, 274, 23);
    txtGameStatusTitle->setReadOnly(true);
    txtGameStatusTitle->setFrame(false);
    txtGameStatusTitle->setAlignment(Qt::AlignCenter);
    txtGameStatusTitle->setFont(statusTitleFont());
    txtGameStatusTitle->setFocusPolicy(Qt::NoFocus);
    txtGameStatusTitle->setContextMenuPolicy(Qt::NoContextMenu);
    txtGameStatusTitle->setAccessibleName(QStringLiteral("Status title"));
    setBlack(txtGameStatusTitle);
    txtGameStatusMessage = new QTextEdit(picStatusFrame);
    txtGameStatusMessage->setObjectName(QStringLiteral("txtGameStatus_1"));
    txtGameStatusMessage->setAccessibleName(QStringLiteral("Status message"));
    txtGameStatusMessage->setGeometry(0, 20, 274, 38);
    txtGameStatusMessage->setReadOnly(true);
    txtGameStatusMessage->setFrameShape(QFrame::NoFrame);
    txtGameStatusMessage->setFont(statusMessageFont());
    txtGameStatusMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtGameStatusMessage->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtGameStatusMessage->setFocusPolicy(Qt::NoFocus);
    txtGameStatusMessage->setContextMenuPolicy(Qt::NoContextMenu);
    txtGameStatusMessage->document()->setDocumentMargin(1);
    txtGameStatusMessage->setTextInteractionFlags(Qt::NoTextInteraction);
    setBlack(txtGameStatusMessage);
    setBlack(txtGameStatusMessage->viewport());

    const auto place = [this](Command command, QToolButton* button) {
        button->setObjectName(commandName(command));
        button->setFocusPolicy(Qt::StrongFocus);
        connect(button, &QToolButton::clicked, this, [this, command] { clickCommand(command); });
        cmdCommand[static_cast<std::size_t>(command)] = button;
    };
    const auto smallButton = [this, &place](Command command, const QString& caption,
                                            const QRect& geometry, const QString& tip) {
        auto* button = new QToolButton(this);
        button->setAccessibleName(caption);
        button->setGeometry(geometry);
        button->setToolTip(tip);
        button->setIcon(shell::pictureIcon(smallButtonPicture(command)));
        button->setIconSize(QSize(16, 15));
        place(command, button);
    };
    smallButton(Command::New, QStringLiteral("New game"), {372, 7, 32, 27},
                QStringLiteral(" Create a new game file "));
    smallButton(Command::Open, QStringLiteral("Open game"), {372, 39, 32, 27},
                QStringLiteral(" Open saved game file "));
    smallButton(Command::Save, QStringLiteral("Save game"), {372, 71, 32, 27},
                QStringLiteral(" Save current game file "));

    auto* check = new CheckButton(this);
    check->setGeometry(300, 203, 65, 62);
    check->setToolTip(QStringLiteral(" Check turn status "));
    check->setText(QStringLiteral("Check Turn"));
    check->setIconSize(QSize(32, 32));
    place(Command::CheckTurn, check);
    setCheckPicture(Light::Yellow);

    lblMoreInfo = new QLabel(this);
    lblMoreInfo->setObjectName(QStringLiteral("lblMoreInfo"));
    lblMoreInfo->setGeometry(15, 270, 344, 39);
    lblMoreInfo->setAlignment(Qt::AlignCenter);
    lblMoreInfo->setCursor(Qt::PointingHandCursor);
    lblMoreInfo->setMouseTracking(true);
    lblMoreInfo->setToolTip(QStringLiteral(" Go to ") + QLatin1String(appinfo::kWebSite) + u' ');
    QFont small = lblMoreInfo->font();
    small.setPointSizeF(8);
    lblMoreInfo->setFont(small);
    setTextColour(lblMoreInfo, kWhite);
    lblMoreInfo->installEventFilter(this);

    setTabOrder(txtGameName, optType[0]);
    setTabOrder(optType[0], optType[1]);
    setTabOrder(optType[1], optMode[0]);
    setTabOrder(optMode[0], optMode[1]);
    setTabOrder(optMode[1], optMode[2]);
    setTabOrder(optMode[2], txtAllied);
    setTabOrder(txtAllied, txtAxis);
    setTabOrder(txtAxis, txtGameTurns);
    setTabOrder(txtGameTurns, txtVariance);
    setTabOrder(txtVariance, button(Command::New));
    setTabOrder(button(Command::New), button(Command::Open));
    setTabOrder(button(Command::Open), button(Command::Save));
    setTabOrder(button(Command::Save), button(Command::CheckTurn));

    // The window sees every key before the control that has the focus, and takes every
    // drop itself: no box takes dropped text, which only flashes the window.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
        child->setAcceptDrops(false);
    }
}

void frmMain::load(const QString& commandLine)
{
    shell::LoadSettings();
    shell::RestoreMainWindowPosition(this);
    paintBackground();
    setWindowTitle(QLatin1String(appinfo::kProductName) + QStringLiteral(" v") + getAppVersion());
    lblMoreInfo->setText(QString::fromLatin1(appinfo::kComments).replace(u'*', u'\n'));
    shell::fitTexts(this);
    setMode(WindowMode::Welcome);
    shell::InstallSystemMenuHook(this);
    if (!commandLine.isEmpty())
        openPath(QString(commandLine).remove(u'"'));
}

void frmMain::paintBackground()
{
    const qreal ratio = devicePixelRatioF();
    m_background = QPixmap(size() * ratio);
    m_background.setDevicePixelRatio(ratio);
    m_background.fill(QColor(96, 104, 112));
    QPainter painter(&m_background);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // Only the picture this screen needs is decoded.
    painter.drawImage(rect(),
                      shell::readPicture(ratio > 1.0 ? QStringLiteral(":/images/background@2x.png")
                                                     : QStringLiteral(":/images/background.png")));
    const auto edgeAfter = [&painter, this](const QLabel* label) {
        const QRect g = label->geometry();
        shell::DrawPanelEdge(painter, g.x() + g.width(), g.y() + 7, button(Command::New)->x() - 10,
                             g.y() + 9, false);
    };
    const auto boxAround = [&painter](const QFrame* frame) {
        const QRect g = frame->geometry();
        shell::DrawPanelEdge(painter, g.x() - 2, g.y() - 2, g.x() + g.width() + 2,
                             g.y() + g.height() + 2, true);
    };
    edgeAfter(lblSetup);
    edgeAfter(lblGamePlay);
    boxAround(fraGameType);
    boxAround(fraSecurityMode);
    update();
}

void frmMain::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    if (!m_background.isNull())
        painter.drawPixmap(0, 0, m_background);
}

void frmMain::setMode(WindowMode mode)
{
    if (mode == WindowMode::Welcome || mode == WindowMode::Setup) {
        txtGameName->setText(QString());
        txtAllied->setText(QString());
        txtAxis->setText(QString());
        txtGameTurns->setText(QStringLiteral("0"));
        txtVariance->setText(QStringLiteral("0"));
        optMode[0]->setChecked(true);
        optType[0]->setChecked(true);
        resetGameRecord(m_record);
        const bool setup = mode == WindowMode::Setup;
        enableSetupEditors(setup);
        button(Command::New)->setEnabled(!setup);
        button(Command::Open)->setEnabled(!setup);
        button(Command::Save)->setEnabled(false);
        button(Command::CheckTurn)->setEnabled(false);
        button(Command::CheckTurn)->setText(QStringLiteral("Check Turn"));
        button(Command::CheckTurn)->setAccessibleName(QString());
        if (setup) {
            txtGameName->setFocus();
            setStatus({QStringLiteral("Setup the Game File"),
                       QStringLiteral("Enter game parameters in each field."),
                       StatusColour::Green});
        } else {
            setStatus({QStringLiteral("Welcome"),
                       QStringLiteral("Please create a new game file\r\nor open an existing one."),
                       StatusColour::Green});
        }
    } else {
        enableSetupEditors(false);
        button(Command::New)->setEnabled(true);
        button(Command::Open)->setEnabled(true);
        button(Command::Save)->setEnabled(false);
        button(Command::CheckTurn)->setEnabled(true);
    }
    m_mode = mode;
}

void frmMain::setStatus(const StatusView& view)
{
    txtGameStatusTitle->setText(view.title);
    QString shown = view.message;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtGameStatusMessage->setPlainText(shown);
    QTextOption centred(Qt::AlignHCenter);
    centred.setWrapMode(QTextOption::WordWrap);
    txtGameStatusMessage->document()->setDefaultTextOption(centred);
    setTextColour(txtGameStatusTitle, statusColour(view.colour));
    setTextColour(txtGameStatusMessage, statusColour(view.colour));
    shell::fitText(txtGameStatusTitle, statusTitleFont());
    shell::fitText(txtGameStatusMessage, statusMessageFont());
}

void frmMain::enableSetupEditors(bool enabled)
{
    for (QWidget* editor : std::initializer_list<QWidget*>{
             txtGameName, txtAllied, txtAxis, txtGameTurns, UpDown1, txtVariance, UpDown2,
             optType[1], optType[0], optMode[2], optMode[1], optMode[0]})
        editor->setEnabled(enabled);
}

void frmMain::updateSaveButton()
{
    if (!button(Command::Save))
        return;
    const bool enabled = entryNumber(txtGameTurns->text()) >= 1 && !txtAxis->text().isEmpty() &&
                         !txtAllied->text().isEmpty() && !txtGameName->text().isEmpty();
    button(Command::Save)->setEnabled(enabled);
}

bool frmMain::hasEnteredData() const
{
    return entryNumber(txtGameTurns->text()) >= 1 || !txtGameName->text().isEmpty() ||
           !txtAllied->text().isEmpty() || !txtAxis->text().isEmpty();
}

void frmMain::clampModifier()
{
    if (!isNumeric(txtGameTurns->text()))
        return;
    const int turns = entryNumber(txtGameTurns->text());
    if (turns < 1)
        return;
    UpDown2->setHighest(turns - 1);
    if (txtVariance->text().isEmpty())
        return;
    if (!isNumeric(txtVariance->text()))
        return;
    if (entryNumber(txtVariance->text()) >= turns)
        txtVariance->setText(QString::number(turns - 1));
}

void frmMain::clickCommand(Command command)
{
    shell::playSoundCue(SoundCue::Event);
    runCommand(command);
}

void frmMain::runCommand(Command command, const QString& path)
{
    try {
        switch (command) {
        case Command::Save:
            createGame();
            break;
        case Command::New:
            startNewGame();
            break;
        case Command::CheckTurn:
            runCheckTurnCommand();
            break;
        case Command::Open:
            openGame(path);
            break;
        }
    } catch (...) {
    }
}

void frmMain::openPath(const QString& path)
{
    runCommand(Command::Open, path);
}

void frmMain::setCheckPicture(Light light)
{
    button(Command::CheckTurn)->setIcon(lightIcon(light));
}

void frmMain::applyView(const GameView& view)
{
    QToolButton* check = button(Command::CheckTurn);
    // Screen readers speak a changed name of the control that has the focus: the button's
    // carries the status, so the result of a check is spoken, not just the new caption. It
    // changes while the button still has the focus, before it may be disabled.
    QString spoken = view.status.title + QStringLiteral(": ") + view.status.message;
    spoken.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    check->setAccessibleName(spoken + QStringLiteral(" ") + view.button.caption);
    check->setText(view.button.caption);
    check->setEnabled(view.button.enabled);
    if (view.button.picture)
        setCheckPicture(*view.button.picture);
    setStatus(view.status);
}

void frmMain::closeEvent(QCloseEvent* event)
{
    shell::WriteWindowPlacement(this);
    shell::RemoveSystemMenuHook(this);
    event->accept();
}

void frmMain::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!childAt(event->position().toPoint()))
        shell::ShowAboutBox(this);
}

void frmMain::mouseMoveEvent(QMouseEvent* event)
{
    if (!childAt(event->position().toPoint()) &&
        lblMoreInfo->palette().color(QPalette::WindowText) == kYellow)
        setTextColour(lblMoreInfo, kWhite);
    QWidget::mouseMoveEvent(event);
}

void frmMain::openProgramMenu(QWidget* over, const QPoint& globalPos)
{
    if (m_menu && m_menu->isVisible())
        return; // a platform may send both the key and a context menu event for it
    auto* edit = qobject_cast<QLineEdit*>(over);
    QMenu* menu = edit && edit->isEnabled() && !edit->isReadOnly()
                      ? edit->createStandardContextMenu()
                      : new QMenu(this);
    menu->setObjectName(QStringLiteral("systemMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    shell::populateSystemMenu(*menu, this);
    m_menu = menu;
    menu->popup(globalPos);
}

void frmMain::dragEnterEvent(QDragEnterEvent* event)
{
    const QMimeData* data = event->mimeData();
    if (data->hasUrls() || data->hasText()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void frmMain::dropEvent(QDropEvent* event)
{
    const QMimeData* data = event->mimeData();
    // File managers offer a dropped file as text too, so files are looked for first.
    QString file;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            file = url.toLocalFile();
            break;
        }
    }
    if (!file.isEmpty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
        openPath(file);
        return;
    }
    if (data->hasText()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
        shell::FlashAttention(this, 2);
        return;
    }
    event->ignore();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblMoreInfo) {
        if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
            setTextColour(lblMoreInfo, kYellow);
        } else if (event->type() == QEvent::MouseButtonPress ||
                   event->type() == QEvent::MouseButtonRelease) {
            // A link opens on a left click pressed and released on it, nothing else.
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                const bool pressed = event->type() == QEvent::MouseButtonPress;
                if (!pressed && m_linkPressed &&
                    lblMoreInfo->rect().contains(mouse->position().toPoint()))
                    shell::openDonationPage();
                m_linkPressed = pressed;
            }
        }
    }
    if (event->type() == QEvent::ContextMenu) {
        // Anywhere in the window, by the mouse or the keyboard.
        openProgramMenu(qobject_cast<QWidget*>(watched),
                        static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Menu && key->modifiers() == Qt::NoModifier) ||
            (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
            auto* at = qobject_cast<QWidget*>(watched);
            openProgramMenu(at, at->mapToGlobal(at->rect().center()));
            return true;
        }
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            handleEscape();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            pressDefaultButton();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool frmMain::event(QEvent* event)
{
    if (event->type() == QEvent::WinIdChange)
        shell::InstallSystemMenuHook(this);
    return QWidget::event(event);
}

bool frmMain::nativeEvent(const QByteArray& eventType, void* message, qintptr* result)
{
    if (shell::handleSystemMenuNativeEvent(this, eventType, message, result))
        return true;
    return QWidget::nativeEvent(eventType, message, result);
}

void frmMain::pressDefaultButton()
{
    QWidget* focus = focusWidget();
    for (const Command command : {Command::Save, Command::New, Command::Open}) {
        if (QToolButton* pressed = button(command); pressed == focus) {
            if (pressed->isEnabled())
                pressed->click();
            return;
        }
    }
    if (button(Command::CheckTurn)->isEnabled())
        button(Command::CheckTurn)->click();
}

void frmMain::handleEscape()
{
    const QString product = QLatin1String(appinfo::kProductName);
    if (m_mode == WindowMode::Setup) {
        if (!hasEnteredData()) {
            setMode(WindowMode::Welcome);
            return;
        }
        if (shell::MessageBox::question(
                this, QStringLiteral("Discard Changes"),
                QStringLiteral(
                    "Information entered for the current game has not been "
                    "saved.\r\n\r\nAre you sure you want to discard the entered data?")) ==
            shell::MessageBox::Answer::Yes)
            setMode(WindowMode::Welcome);
        return;
    }
    if (shell::MessageBox::question(this, QStringLiteral("Quit ") + product,
                                    QStringLiteral("Are you sure you want to close ") + product +
                                        u'?') == shell::MessageBox::Answer::Yes)
        close();
}

} // namespace tfp::ui
