// The registry store, under a scratch key in both roots: the user's value read first; the
// machine's key written, else the user's (on a delete, an empty value hiding the machine's).
#include "shell/settingsstore.h"
#include "testsupport.h"

#include <optional>
#include <QSettings>
#include <qt_windows.h>
#include <QTest>
// After the Windows types.
#include <sddl.h>

using namespace tfp::shell;
using namespace tfp::test;

namespace {

const QString kKey = "Software\\Torva\\TurnpickerTest-" + QString::number(GetCurrentProcessId());

// The machine's key as a standard user meets it: readable (and deletable), not writable.
bool refuseMachineWrites()
{
    HKEY key = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const bool done =
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, qUtf16Printable(kKey), 0, WRITE_DAC, &key) == 0 &&
        ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KRSD;;;WD)", SDDL_REVISION_1,
                                                             &descriptor, nullptr) &&
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == 0;
    LocalFree(descriptor);
    RegCloseKey(key);
    return done;
}

// clang-format off
enum class Action { Write, Delete, Read };
// The machine's and the user's values before (nullopt: none), what is done, whether the
// machine's key refuses writes, and the two values and the one read after.
struct RegistryRow { std::optional<QString> machine, user; Action action; bool machineRefuses;
                     std::optional<QString> machineAfter, userAfter; QString read; };
// clang-format on

} // namespace

class tst_ShellRegistry : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
            RegDeleteTreeW(root, qUtf16Printable(kKey));
    }

    // A write replaces the user's value.
    void machineKeyAndUserKey_data()
    {
        addRowColumn<RegistryRow>();
        const std::optional<QString> none, on = "True", off = "False", empty = "", no = " No ";
        addRow<RegistryRow>("write", on, on, Action::Write, false, off, none, "False");
        addRow<RegistryRow>("write refused", on, none, Action::Write, true, on, off, "False");
        addRow<RegistryRow>("delete", on, off, Action::Delete, false, none, none, "");
        addRow<RegistryRow>("delete refused", on, none, Action::Delete, true, on, empty, "");
        addRow<RegistryRow>("read the user's first", on, no, Action::Read, false, on, no, "No");
    }
    void machineKeyAndUserKey()
    {
        QFETCH(RegistryRow, row);
        setRegistryKeyForTesting(kKey);
        const QString machine = "HKEY_LOCAL_MACHINE\\" + kKey, user = "HKEY_CURRENT_USER\\" + kKey;
        const auto value = [](const QString& key) -> std::optional<QString> {
            const QSettings settings(key, QSettings::NativeFormat);
            if (!settings.contains("PlaySounds"))
                return std::nullopt;
            return settings.value("PlaySounds").toString();
        };
        if (row.machine)
            QSettings(machine, QSettings::NativeFormat).setValue("PlaySounds", *row.machine);
        if (row.user)
            QSettings(user, QSettings::NativeFormat).setValue("PlaySounds", *row.user);
        QVERIFY(!row.machineRefuses || refuseMachineWrites());
        if (row.action == Action::Write)
            QVERIFY(WriteSetting(Setting::PlaySounds, QStringLiteral("False")));
        else if (row.action == Action::Delete)
            DeleteSetting(Setting::PlaySounds);
        QCOMPARE(value(machine), row.machineAfter);
        QCOMPARE(value(user), row.userAfter);
        QCOMPARE(ReadSetting(Setting::PlaySounds), row.read);
    }
};

QTEST_GUILESS_MAIN(tst_ShellRegistry)
#include "tst_shell_registry.moc"
