// The registry store, under a scratch key in both roots: the user's value read first; the
// machine's key written, else the user's (on a delete, an empty value hiding the machine's).
#include "shell/settingsstore.h"

#include <QSettings>
#include <qt_windows.h>
#include <QTest>
// After the Windows types.
#include <sddl.h>

using namespace tfp::shell;

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

    // Done as the row's name says; the machine's and the user's values before ("-": none),
    // then the two values and the one read after. A write replaces the user's value.
    void machineKeyAndUserKey_data()
    {
        QTest::addColumn<QStringList>("row");
        QTest::newRow("write") << QStringList{"True", "True", "False - False"};
        QTest::newRow("write refused") << QStringList{"True", "-", "True False False"};
        QTest::newRow("delete") << QStringList{"True", "False", "- - "};
        QTest::newRow("delete refused") << QStringList{"True", "-", "True  "};
        QTest::newRow("read the user's first") << QStringList{"True", " No ", "True  No  No"};
    }
    void machineKeyAndUserKey()
    {
        QFETCH(QStringList, row);
        const QString action = QTest::currentDataTag();
        setRegistryKeyForTesting(kKey);
        const QStringList keys = {"HKEY_LOCAL_MACHINE\\" + kKey, "HKEY_CURRENT_USER\\" + kKey};
        const auto native = QSettings::NativeFormat;
        for (int i = 0; i < 2; ++i) {
            if (row[i] != "-")
                QSettings(keys[i], native).setValue("PlaySounds", row[i]);
        }
        QVERIFY(!action.endsWith("refused") || refuseMachineWrites());
        if (action.startsWith("write"))
            QVERIFY(WriteSetting(Setting::PlaySounds, QStringLiteral("False")));
        else if (action.startsWith("delete"))
            QCOMPARE(DeleteSetting(Setting::PlaySounds), QString());
        QString after;
        for (const QString& key : keys)
            after += QSettings(key, native).value("PlaySounds", "-").toString() + ' ';
        QCOMPARE(after + ReadSetting(Setting::PlaySounds), row[2]);
    }
};

QTEST_GUILESS_MAIN(tst_ShellRegistry)
#include "tst_shell_registry.moc"
