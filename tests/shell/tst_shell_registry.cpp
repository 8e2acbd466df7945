// The settings store in the Windows registry, under a scratch key in both roots: the user's
// value read first; the machine's key written, or else the user's (an empty value there
// hiding the machine's on a delete).
#include "shell/settingsstore.h"
#include "testsupport.h"

#include <QSettings>
#include <qt_windows.h>
// After the Windows types.
#include <sddl.h>

using namespace tfp::shell;
using namespace tfp::test;

namespace {

const QString kKey = "Software\\Torva\\TurnpickerTest-" + QString::number(GetCurrentProcessId());

// Everyone may read (and delete) the machine's key, no one may write it: as for a standard
// user.
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

// The machine's and the user's values before ("-": none), what is done, and the two values
// and the one read after.
struct Row
{
    QString machine, user, action, after;
};

} // namespace

Q_DECLARE_METATYPE(Row)

class tst_ShellRegistry : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
            RegDeleteTreeW(root, qUtf16Printable(kKey));
    }

    void machineKeyAndUserKey_data()
    {
        addRowColumn<Row>();
        addRow<Row>("write replaces the user's", "True", "True", "write", "False - False");
        addRow<Row>("write, machine refuses", "True", "-", "refused write", "True False False");
        addRow<Row>("delete from both", "True", "False", "delete", "- - ");
        addRow<Row>("delete, machine refuses", "True", "-", "refused delete", "True  ");
        addRow<Row>("user's read first", "True", " No ", "read", "True  No  No");
    }
    void machineKeyAndUserKey()
    {
        QFETCH(Row, row);
        setRegistryKeyForTesting(kKey);
        const QStringList keys = {"HKEY_LOCAL_MACHINE\\" + kKey, "HKEY_CURRENT_USER\\" + kKey};
        const QStringList before = {row.machine, row.user};
        for (int i = 0; i < 2; ++i) {
            if (before[i] != "-")
                QSettings(keys[i], QSettings::NativeFormat).setValue("PlaySounds", before[i]);
        }
        QVERIFY(!row.action.startsWith("refused") || refuseMachineWrites());
        if (row.action.endsWith("write"))
            QVERIFY(WriteSetting(Setting::PlaySounds, QStringLiteral("False")));
        else if (row.action.endsWith("delete"))
            QCOMPARE(DeleteSetting(Setting::PlaySounds), QString());
        QString after;
        for (const QString& key : keys)
            after +=
                QSettings(key, QSettings::NativeFormat).value("PlaySounds", "-").toString() + ' ';
        QCOMPARE(after + ReadSetting(Setting::PlaySounds), row.after);
    }
};

QTEST_GUILESS_MAIN(tst_ShellRegistry)
#include "tst_shell_registry.moc"
