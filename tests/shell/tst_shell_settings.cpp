// The settings store (on Linux its INI file under XDG_CONFIG_HOME, here in the test's own
// temporary folder), LoadSettings and the placement text.
#include "shell/settingsstore.h"
#include "testsupport.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

using namespace tfp::shell;

// clang-format off
namespace tfp::shell {
char* toString(const SettingsFlags& f)
{
    const WindowPlacement& p = f.placement;
    return tfp::test::fieldsText(f.PlaySounds, f.ReusePlayerNames, f.UseLastSavePath,
                                 f.RestoreWindowPosition, p.X, p.Y, p.W, p.H, p.S);
}
} // namespace tfp::shell
namespace {
// The store's lines, and the flags LoadSettings makes of them from a placement held at 7s.
struct LoadRow { QByteArray stored; SettingsFlags flags; };
constexpr WindowPlacement kHeld{7, 7, 7, 7, 7};
} // namespace
// clang-format on

class SettingsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_count = 0;
    QString m_file;

    // The store as another program or build left it: a new one each time, as QSettings caches.
    void store(const QByteArray& lines)
    {
        const QString dir = m_dir.filePath(QString::number(++m_count));
#ifdef Q_OS_LINUX
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir));
        setSettingsFileForTesting(QString());
        m_file = dir + "/Torva/TorvaFoglineTurnpicker.conf";
#else
        m_file = dir + ".ini";
        setSettingsFileForTesting(m_file);
#endif
        QVERIFY(QDir().mkpath(QFileInfo(m_file).path()));
        QVERIFY(tfp::test::writeFile(m_file, "[General]\n" + lines + '\n'));
    }

private slots:
    // Each value under its own name, written as text (a leading @ is no variant) and read
    // back without the spaces at its ends; a delete takes only a value, not a sub-key.
    void writeAndDelete()
    {
        store("[Player1Name]\nDeep=3");
        DeleteSetting(Setting::Player1Name);
        const QStringList names = {
            "PlaySounds",  "ReusePlayerNames", "UseLastSavePath", "RestoreWindowPosition",
            "Player1Name", "Player2Name",      "LastSavePath"};
        for (int i = 0; i < names.size(); ++i) {
            const QString value = QStringLiteral("@%1, \u00e9 ").arg(i);
            QVERIFY(WriteSetting(Setting(i), value));
            QCOMPARE(QSettings(m_file, QSettings::IniFormat).value(names[i]).toString(), value);
            QCOMPARE(ReadSetting(Setting(i)), value.trimmed());
        }
        DeleteSetting(Setting::LastSavePath);
        QCOMPARE(ReadSetting(Setting::LastSavePath), QString());
        QCOMPARE(QSettings(m_file, QSettings::IniFormat).allKeys().size(), 7); // with the sub-key
    }

    // The options are on when empty, absent or unreadable (a list, 255 characters or more, a
    // store over 1 MiB), else for "true" in any case less outer spaces; a placement turns
    // restoring on and replaces the one held (7s) with its X Y W H S, bad fields at defaults.
    void loadSettings_data()
    {
        tfp::test::addRowColumn<LoadRow>();
        const auto row = tfp::test::addRow<LoadRow, const QByteArray&, SettingsFlags>;
        row("absent, blank, lower case, blank placement",
            "ReusePlayerNames=\"   \"\nUseLastSavePath=tRuE\nRestoreWindowPosition=\"  \"",
            {true, true, true, false, kHeld});
        row("padded capitals, False, 1, placement without coordinates",
            "PlaySounds=\" TRUE \"\nReusePlayerNames=False\nUseLastSavePath=1\n"
            "RestoreWindowPosition=somewhere",
            {true, false, false, true, {-1, -1, -1, -1, 0}});
        row("truest, a point, a tab",
            "PlaySounds=truest\nReusePlayerNames=@Point(1 2)\nUseLastSavePath=\"\\tTrue\"",
            {false, true, false, false, kHeld});
        row("254 and 255 characters, a list",
            "PlaySounds=\"False" + QByteArray(249, ' ') + "\"\nReusePlayerNames=\"False" +
                QByteArray(250, ' ') + "\"\nUseLastSavePath=False,False",
            {false, true, true, false, kHeld});
        const QByteArray big = "PlaySounds=False\nLastSavePath=" + QByteArray((1 << 20) - 41, 'x');
        row("store of 1 MiB", big, {false, true, true, false, kHeld});
        row("store of 1 MiB and a byte", big + 'x', {true, true, true, false, kHeld});
        const auto placement = [&](const char* tag, const QByteArray& text, WindowPlacement read) {
            row(tag, "RestoreWindowPosition=\"" + text + '"', {true, true, true, true, read});
        };
        placement("any order and case", "h=4500,S=3,x=1440,W=6000,Y=960",
                  {1440, 960, 6000, 4500, 3});
        placement("signs, spaces, zero", "X=0,Y=-45,W= 1440 ,H=+960", {0, -45, 1440, 960, 0});
        placement("unusable", "X=abc,Y=,W=-,H=.,S=1 4", {-1, -1, -1, -1, 0});
        placement("not plain decimal", "X=1e3,Y=0x10,H=1.,S=12", {-1, -1, -1, 1, 12});
        placement("no separator but a comma", "MAX=5;Y=960,W=1", {-1, 960, 1, -1, 0});
        placement("halves to even", "X=1440.5,Y=1441.5,W=-2.5,H=.5,S=-3.5",
                  {1440, 1442, -2, 0, -4});
        placement("beyond a half", "X=2.5000001,Y=2.4999999,W=.51,H=1.6,S=-2.7", {3, 2, 1, 2, -3});
        placement("32-bit ends", "X=2147483647,Y=-2147483648,W=2147483648,H=-2147483649",
                  {2147483647, -2147483648, -1, -1, 0});
        placement("rounded past the ends", "X=2147483647.5,Y=-2147483648.5,W=2147483646.5",
                  {-1, -2147483648, 2147483646, -1, 0});
        placement("huge, leading zeros", "X=99999999999999999999999,Y=000000000000000000001440",
                  {-1, 1440, -1, -1, 0});
    }
    void loadSettings()
    {
        QFETCH(LoadRow, row);
        store(row.stored);
        settingsFlags().placement = kHeld;
        LoadSettings();
        QCOMPARE(settingsFlags(), row.flags);
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "tst_shell_settings.moc"
