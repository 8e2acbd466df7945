// The commands behind the main window's buttons: New, Save, Open and Check Turn.
#include "game/creation.h"
#include "game/gamestore.h"
#include "game/opening.h"
#include "game/setup.h"
#include "game/turncheck.h"
#include "shell/messagebox.h"
#include "shell/settingsstore.h"
#include "shell/soundcue.h"
#include "shell/waitcursor.h"
#include "ui/filedialog.h"
#include "ui/frmconfirmsave.h"
#include "ui/frmmain.h"
#include "ui/windowinteraction.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QTextEdit>
#include <QToolButton>

namespace tfp::ui {

void frmMain::startNewGame()
{
    setMode(WindowMode::Setup);
    if (!shell::settingsFlags().ReusePlayerNames)
        return;
    if (const QString name = shell::ReadSetting(shell::Setting::Player1Name); !name.isEmpty())
        txtAllied->setText(name);
    if (const QString name = shell::ReadSetting(shell::Setting::Player2Name); !name.isEmpty())
        txtAxis->setText(name);
}

void frmMain::createGame()
{
    SetupEntries entries;
    entries.gameName = txtGameName->text();
    entries.player1 = txtAllied->text();
    entries.player2 = txtAxis->text();
    entries.turns = txtGameTurns->text();
    entries.modifier = txtVariance->text();
    entries.type = optType[1]->isChecked() ? GameType::QuickBattle : GameType::Scenario;
    entries.mode = optMode[2]->isChecked()   ? SecurityMode::Sealed
                   : optMode[1]->isChecked() ? SecurityMode::Secure
                                             : SecurityMode::Basic;

    if (const std::optional<Message> refusal = setupRefusal(entries)) {
        shell::MessageBox::show(this, *refusal);
        return;
    }
    const auto backToName = [this] {
        if (txtGameName->isEnabled())
            txtGameName->setFocus();
    };
    if (!frmConfirmSave::ask(this, confirmationText(entries))) {
        backToName();
        return;
    }

    WindowInteraction interaction(this);
    GameRecord record = prepareNewGame(entries, interaction);
    if (const std::optional<Message> refusal = creationRefusal(record)) {
        interaction.showMessage(*refusal);
        backToName();
        return;
    }

    const shell::SettingsFlags& flags = shell::settingsFlags();
    if (flags.ReusePlayerNames) {
        shell::WriteSetting(shell::Setting::Player1Name, record.Player1Name);
        shell::WriteSetting(shell::Setting::Player2Name, record.Player2Name);
    } else {
        shell::DeleteSetting(shell::Setting::Player1Name);
        shell::DeleteSetting(shell::Setting::Player2Name);
    }

    QString path = m_record.FilePath;
    if (!showFileDialog(this, path, QStringLiteral("Save Torva Fogline File"), true,
                        txtGameName->text())) {
        backToName();
        return;
    }
    record.FilePath = path;
    bool saved = false;
    {
        const shell::OverrideCursor wait;
        saved = saveNewGame(record, interaction);
    }
    if (!saved)
        return;
    // Only a folder the game was saved in is offered again: one that refused the save is not.
    if (flags.UseLastSavePath) {
        QString folder;
        if (splitPath(path, folder))
            shell::WriteSetting(shell::Setting::LastSavePath, folder);
    } else {
        shell::DeleteSetting(shell::Setting::LastSavePath);
    }

    m_record = record;
    setMode(WindowMode::GamePlay);
    applyView(createdGameView(m_record));
    focusCheckButton();
}

void frmMain::openGame(const QString& chosen)
{
    QString path = chosen;
    if (path.isEmpty()) {
        // The game in hand keeps its file when the dialog is cancelled.
        path = m_record.FilePath;
        if (!showFileDialog(this, path, QStringLiteral("Open Torva Fogline File"), false, {}))
            return;
    }

    WindowInteraction interaction(this);
    OpenOutcome outcome;
    {
        const shell::OverrideCursor wait;
        outcome = openGameFile(path, interaction);
    }
    switch (outcome.status) {
    case OpenStatus::ReadFailed:
    case OpenStatus::VersionRefused:
    case OpenStatus::ChangedElsewhere:
    case OpenStatus::Refused:
        return; // the game in hand stays exactly as it was
    case OpenStatus::PasswordRefused:
        setMode(WindowMode::Welcome);
        return;
    case OpenStatus::Opened:
        break;
    }

    m_record = outcome.record;
    showGame();
    setMode(WindowMode::GamePlay);
    applyView(outcome.view);
    focusCheckButton();
}

void frmMain::focusCheckButton()
{
    // Enter checks the turn of a game just shown. When the button is disabled (the battle
    // is over, or the file must be sent on) the focus rests on the status message, which a
    // screen reader then reads, not on the next button, so Enter does nothing until the
    // player chooses a command.
    if (button(Command::CheckTurn)->isEnabled())
        button(Command::CheckTurn)->setFocus();
    else
        txtGameStatusMessage->setFocus();
}

void frmMain::showGame()
{
    txtGameName->setText(m_record.GameName);
    txtAllied->setText(m_record.Player1Name);
    txtAxis->setText(m_record.Player2Name);
    txtGameTurns->setText(QString::number(m_record.TotalTurns));
    txtVariance->setText(QString::number(m_record.TurnVariance));
    const auto mode = static_cast<std::size_t>(m_record.SecurityMode);
    if (mode < optMode.size())
        optMode[mode]->setChecked(true);
    const auto type = static_cast<std::size_t>(m_record.GameType);
    if (type < optType.size())
        optType[type]->setChecked(true);
}

void frmMain::runCheckTurnCommand()
{
    if (m_mode != WindowMode::GamePlay)
        return;
    WindowInteraction interaction(this);
    CheckOutcome outcome;
    {
        const shell::OverrideCursor wait;
        outcome = checkTurnCommand(m_record, interaction);
    }
    if (outcome.result == CheckResult::ChangedElsewhere) {
        // The game on screen is no longer the file's: nothing stale stays, as after a refused
        // opening, and the player opens the file again.
        setMode(WindowMode::Welcome);
        button(Command::Open)->setFocus();
        return;
    }
    applyView(outcome.view);
    focusCheckButton();
    if (outcome.sound != SoundCue::None)
        shell::playSoundCue(outcome.sound);
}

} // namespace tfp::ui
