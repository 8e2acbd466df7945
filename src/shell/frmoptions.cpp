#include "shell/frmoptions.h"

#include "shell/dialogdecor.h"
#include "shell/settingsstore.h"
#include "shell/textfit.h"
#include "shell/waitcursor.h"
#include "shell/windowposition.h"

#include <QCheckBox>
#include <QPainter>
#include <QPushButton>

namespace tfp::shell {
namespace {

void writeOption(Setting setting, bool on)
{
    WriteSetting(setting, on ? QStringLiteral("True") : QStringLiteral("False"));
}

bool ticked(const QCheckBox* box)
{
    return box->checkState() == Qt::Checked;
}

} // namespace

frmOptions::frmOptions(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setFixedSize(twipsRect(0, 0, 4410, 2040).size());

    const auto checkBox = [this](const char* name, const QString& caption, const QString& tip,
                                 const QRect& geometry) {
        auto* box = new QCheckBox(caption, this);
        box->setObjectName(QLatin1String(name));
        box->setToolTip(tip);
        box->setGeometry(geometry);
        return box;
    };
    chkPlaySoundEffects = checkBox(
        "chkPlaySoundEffects", QStringLiteral("&Play application sound effects"),
        QStringLiteral(" Toggle on/off application sounds "), twipsRect(960, 60, 3375, 285));
    chkReusePlayerNames = checkBox(
        "chkReusePlayerNames", QStringLiteral("&Suggest last set of player names"),
        QStringLiteral(" Suggest last set of player names when a new game file is created "),
        twipsRect(960, 360, 3375, 285));
    chkUseLastSavePath =
        checkBox("chkUseLastSavePath", QStringLiteral("&Use last save path when saving"),
                 QStringLiteral(" Save the path last used when saving game files "),
                 twipsRect(960, 675, 3375, 285));
    chkRestoreWindowPosition = checkBox(
        "chkRestoreWindowPosition", QStringLiteral("&Restore window position when starting"),
        QStringLiteral(" Restore the position of the window to the last saved coordinates when "
                       "the application starts "),
        twipsRect(960, 990, 3375, 285));

    struct ButtonSpec
    {
        OptionsCommand command;
        const char* caption;
        const char* tip;
        int left;
    };
    constexpr std::array<ButtonSpec, 3> buttons = {{
        {OptionsCommand::OK, "OK", " Save settings and close this window ", 1530},
        {OptionsCommand::Apply, "Apply", " Save settings ", 2475},
        {OptionsCommand::Cancel, "Cancel", " Cancel settings and close this window ", 3420},
    }};
    for (const ButtonSpec& entry : buttons) {
        const int index = static_cast<int>(entry.command);
        auto* button = new QPushButton(QLatin1String(entry.caption), this);
        button->setObjectName(QStringLiteral("cmdCommand_%1").arg(index));
        button->setToolTip(QLatin1String(entry.tip));
        button->setGeometry(twipsRect(entry.left, 1620, 900, 375));
        connect(button, &QPushButton::clicked, this,
                [this, command = entry.command] { clickCommand(command); });
        cmdCommand[static_cast<std::size_t>(index)] = button;
    }
    button(OptionsCommand::OK)->setDefault(true);

    // The layout suits a narrow dialog font; with a wider one the dialog grows to the right
    // rather than cut a caption off.
    const std::array<QCheckBox*, 4> boxes = {chkPlaySoundEffects, chkReusePlayerNames,
                                             chkUseLastSavePath, chkRestoreWindowPosition};
    int extra = 0;
    for (const QCheckBox* box : boxes)
        extra = qMax(extra, box->sizeHint().width() - box->width());
    if (extra > 0) {
        setFixedSize(width() + extra, height());
        for (QCheckBox* box : boxes)
            box->resize(box->width() + extra, box->height());
        for (QPushButton* button : cmdCommand)
            button->move(button->x() + extra, button->y());
    }

    fitTexts(this);

    QWidget* previous = chkPlaySoundEffects;
    for (QWidget* next : std::initializer_list<QWidget*>{chkReusePlayerNames, chkUseLastSavePath,
                                                         chkRestoreWindowPosition, cmdCommand[0],
                                                         cmdCommand[1], cmdCommand[2]}) {
        setTabOrder(previous, next);
        previous = next;
    }
    connect(chkPlaySoundEffects, &QCheckBox::toggled, this, [this] { SetOptionsDirty(true); });

    m_logo = dialogLogo(this);
    centreOnScreen(this, mainWindow);

    m_optionBoxes = {{{Setting::PlaySounds, chkPlaySoundEffects},
                      {Setting::ReusePlayerNames, chkReusePlayerNames},
                      {Setting::UseLastSavePath, chkUseLastSavePath},
                      {Setting::RestoreWindowPosition, chkRestoreWindowPosition}}};
    // What is stored now, not what the running program holds.
    LoadSettings();
    for (const auto& [setting, box] : m_optionBoxes)
        box->setChecked(settingsFlags().*settingSpec(setting).flag);
    SetOptionsDirty(false);
    chkPlaySoundEffects->setFocus();
}

void frmOptions::SaveOptions()
{
    for (const auto& [setting, box] : m_optionBoxes) {
        const SettingSpec& entry = settingSpec(setting);
        settingsFlags().*entry.flag = ticked(box);
        // The placement option stores the main window's position, taken now, or nothing.
        if (entry.onWhenEmpty)
            writeOption(setting, ticked(box));
        else
            WriteWindowPlacement(m_mainWindow);
    }
}

QPushButton* frmOptions::button(OptionsCommand command) const
{
    return cmdCommand[static_cast<std::size_t>(command)];
}

void frmOptions::SetOptionsDirty(bool dirty)
{
    button(OptionsCommand::Apply)->setEnabled(dirty);
}

void frmOptions::clickCommand(OptionsCommand command)
{
    switch (command) {
    case OptionsCommand::OK:
        SaveOptions();
        SetOptionsDirty(false);
        accept();
        break;
    case OptionsCommand::Apply:
        SaveOptions();
        SetOptionsDirty(false);
        break;
    case OptionsCommand::Cancel:
        reject();
        break;
    }
}

void frmOptions::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    paintDialogDecorations(painter, this, button(OptionsCommand::OK), m_logo);
}

void ShowOptionsDialog(QWidget* mainWindow)
{
    OverrideCursor wait;
    frmOptions dialog(mainWindow);
    execDialog(dialog, wait);
}

} // namespace tfp::shell
