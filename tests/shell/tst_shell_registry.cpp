// The registry store, under a scratch key in both roots: the user's value read first; the
// machine's key written, else the user's (on a delete, an empty value hiding the machine's).
#include "shell/settingsstore.h"
#include "testsupport.h"

#include <optional>
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
// machine's key refuses writes, and the two values and the one read after; the user's value's
// registry type.
struct RegistryRow { std::optional<QString> machine, user; Action action; bool machineRefuses;
                     std::optional<QString> machineAfter, userAfter; QString read;
                     DWORD userType = REG_SZ; };
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

    // A write replaces the user's value, stored as typed ("@..." too); a value that is not
    // plain text reads as empty.
    void machineKeyAndUserKey_data()
    {
        addRowColumn<RegistryRow>();
        const std::optional<QString> none, on = "True", off = "@False", empty = "", no = " No ";
        addRow<RegistryRow>("write", on, on, Action::Write, false, off, none, "@False");
        addRow<RegistryRow>("write refused", on, none, Action::Write, true, on, off, "@False");
        addRow<RegistryRow>("delete", on, off, Action::Delete, false, none, none, "");
        addRow<RegistryRow>("delete refused", on, none, Action::Delete, true, on, empty, "");
        addRow<RegistryRow>("read the user's first", on, no, Action::Read, false, on, no, "No");
        addRow<RegistryRow>("expandable", on, no, Action::Read, false, on, no, "", REG_EXPAND_SZ);
        addRow<RegistryRow>("binary", on, no, Action::Read, false, on, no, "", REG_BINARY);
    }
    void machineKeyAndUserKey()
    {
        QFETCH(RegistryRow, row);
        setRegistryKeyForTesting(kKey);
        // The values as stored, by the registry's own calls.
        const auto value = [](HKEY root) -> std::optional<QString> {
            wchar_t text[64] = {};
            DWORD bytes = sizeof(text) - sizeof(wchar_t);
            if (RegGetValueW(root, qUtf16Printable(kKey), L"PlaySounds", RRF_RT_ANY | RRF_NOEXPAND,
                             nullptr, text, &bytes) != ERROR_SUCCESS)
                return std::nullopt;
            return QString::fromWCharArray(text);
        };
        const auto plant = [](HKEY root, const std::optional<QString>& text, DWORD type) {
            return !text || RegSetKeyValueW(root, qUtf16Printable(kKey), L"PlaySounds", type,
                                            text->utf16(), DWORD(text->size() + 1) * 2) == 0;
        };
        QVERIFY(plant(HKEY_LOCAL_MACHINE, row.machine, REG_SZ) &&
                plant(HKEY_CURRENT_USER, row.user, row.userType));
        QVERIFY(!row.machineRefuses || refuseMachineWrites());
        if (row.action == Action::Write)
            QVERIFY(WriteSetting(Setting::PlaySounds, QStringLiteral("@False")));
        else if (row.action == Action::Delete)
            DeleteSetting(Setting::PlaySounds);
        QCOMPARE(value(HKEY_LOCAL_MACHINE), row.machineAfter);
        QCOMPARE(value(HKEY_CURRENT_USER), row.userAfter);
        QCOMPARE(ReadSetting(Setting::PlaySounds), row.read);
    }
};

QTEST_GUILESS_MAIN(tst_ShellRegistry)
#include "tst_shell_registry.moc"
