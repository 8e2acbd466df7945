// The settings store's reading and writing rules, LoadSettings and the placement text,
// on an INI file in a temporary folder.
#include "shell/placement.h"
#include "shell/settingsstore.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace tfp::shell;

Q_DECLARE_METATYPE(WindowPlacement)

namespace {

// The value the store tests read and write: any one of them follows the same rules.
constexpr Setting kProbe = Setting::LastSavePath;

WindowPlacement placement(qint32 x, qint32 y, qint32 w = -1, qint32 h = -1, qint32 s = 0)
{
    return {x, y, w, h, s};
}

} // namespace

namespace QTest {
template <> char* toString(const WindowPlacement& p)
{
    return qstrdup(QStringLiteral("X=%1 Y=%2 W=%3 H=%4 S=%5")
                       .arg(p.X)
                       .arg(p.Y)
                       .arg(p.W)
                       .arg(p.H)
                       .arg(p.S)
                       .toUtf8()
                       .constData());
}
} // namespace QTest

class SettingsTest : public QObject
{
    Q_OBJECT

private:
    // Writes the INI file as another program (or an older build) might have left it.
    void storeIni(const QByteArray& lines)
    {
        QFile file(m_ini);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[General]\n" + lines + '\n');
    }

    QTemporaryDir m_dir;
    QString m_ini;
    int m_count = 0;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
    }

    void init()
    {
        m_ini = m_dir.filePath(QStringLiteral("settings-%1.ini").arg(++m_count));
        setSettingsFileForTesting(m_ini);
        settingsFlags() = SettingsFlags{};
    }

    void cleanup() { setSettingsFileForTesting(QString()); }

    void readSetting_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("expected");

        QTest::newRow("absent") << QByteArray() << QString();
        QTest::newRow("empty") << QByteArray("LastSavePath=") << QString();
        QTest::newRow("spaces") << QByteArray("LastSavePath=\"    \"") << QString();
        QTest::newRow("spaces at both ends")
            << QByteArray("LastSavePath=\"  North  Side \"") << QStringLiteral("North  Side");
        QTest::newRow("tab is not a space")
            << QByteArray("LastSavePath=\"\\tA\"") << QStringLiteral("\tA");
        QTest::newRow("digits are text") << QByteArray("LastSavePath=42") << QStringLiteral("42");
        QTest::newRow("quoted comma")
            << QByteArray("LastSavePath=\"X=1440,Y=960\"") << QStringLiteral("X=1440,Y=960");
        QTest::newRow("list") << QByteArray("LastSavePath=X=1440,Y=960") << QString();
        QTest::newRow("point variant") << QByteArray("LastSavePath=@Point(3 4)") << QString();
        QTest::newRow("byte array") << QByteArray("LastSavePath=@ByteArray(abc)") << QString();
        QTest::newRow("254 characters")
            << "LastSavePath=" + QByteArray(254, 'a') << QString(254, u'a');
        QTest::newRow("255 characters") << "LastSavePath=" + QByteArray(255, 'a') << QString();
        QTest::newRow("far too long") << "LastSavePath=" + QByteArray(100000, 'a') << QString();
        QTest::newRow("outside Windows-1252")
            << QByteArray("LastSavePath=\xc5\xbb\xc3\xb3\xc5\x82w \xe2\x82\xac \xf0\x9f\x98\x80")
            << QStringLiteral("?ó?w € ?");
    }

    void readSetting()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, expected);
        storeIni(stored);
        QCOMPARE(ReadSetting(kProbe), expected);
    }

    // A store larger than any the program writes is not read at all: its values read as
    // absent, however short.
    void readSetting_storeOverOneMegabyte_readsNothing()
    {
        storeIni("Player1Name=kept\nLastSavePath=\"" + QByteArray(1 << 20, 'x') + '"');
        QCOMPARE(ReadSetting(Setting::Player1Name), QString());
        LoadSettings();
        QVERIFY(settingsFlags().PlaySounds);
        storeIni("Player1Name=kept\nLastSavePath=\"" + QByteArray(64 * 1024, 'x') + '"');
        QCOMPARE(ReadSetting(Setting::Player1Name), QStringLiteral("kept"));
        QCOMPARE(ReadSetting(kProbe), QString());
    }

    void writeSetting_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("readBack");

        QTest::newRow("word") << QStringLiteral("True") << QStringLiteral("True");
        QTest::newRow("comma") << QStringLiteral("X=1440,Y=960") << QStringLiteral("X=1440,Y=960");
        QTest::newRow("semicolon and equals") << QStringLiteral("a;b=c") << QStringLiteral("a;b=c");
        QTest::newRow("leading at sign")
            << QStringLiteral("@Point(3 4)") << QStringLiteral("@Point(3 4)");
        QTest::newRow("path") << QStringLiteral("C:\\Games\\") << QStringLiteral("C:\\Games\\");
        QTest::newRow("padded") << QStringLiteral("  North ") << QStringLiteral("North");
        QTest::newRow("outside Windows-1252") << QStringLiteral("Żółw") << QStringLiteral("?ó?w");
        QTest::newRow("254 characters") << QString(254, u'n') << QString(254, u'n');
        QTest::newRow("255 characters") << QString(255, u'n') << QString();
    }

    void writeSetting()
    {
        QFETCH(QString, value);
        QFETCH(QString, readBack);
        QVERIFY(WriteSetting(kProbe, value));
        QCOMPARE(ReadSetting(kProbe), readBack);
    }

    void writeSetting_storesTopLevelValue()
    {
        WriteSetting(Setting::PlaySounds, QStringLiteral("False"));
        const QSettings ini(m_ini, QSettings::IniFormat);
        QCOMPARE(ini.childKeys(), QStringList{QStringLiteral("PlaySounds")});
        QCOMPARE(ini.value(QStringLiteral("PlaySounds")).toString(), QStringLiteral("False"));
    }

    void writeSetting_unwritableStoreIsSilent()
    {
        setSettingsFileForTesting(m_dir.path()); // a folder cannot be written as a file
        QVERIFY(WriteSetting(kProbe, QStringLiteral("x")));
        QCOMPARE(ReadSetting(kProbe), QString());
        QCOMPARE(DeleteSetting(kProbe), QString());
    }

    void deleteSetting()
    {
        storeIni("LastSavePath=1\nPlayer1Name=2\n[Player2Name]\nDeep=3");
        QCOMPARE(DeleteSetting(kProbe), QString());
        QCOMPARE(ReadSetting(kProbe), QString());
        QCOMPARE(ReadSetting(Setting::Player1Name), QStringLiteral("2"));
        // Missing values change nothing.
        QCOMPARE(DeleteSetting(kProbe), QString());
        QCOMPARE(ReadSetting(Setting::Player1Name), QStringLiteral("2"));
        // A sub-key is no value: deleting its name leaves it.
        DeleteSetting(Setting::Player2Name);
        const QSettings ini(m_ini, QSettings::IniFormat);
        QCOMPARE(ini.value(QStringLiteral("Player2Name/Deep")).toString(), QStringLiteral("3"));
    }

    void loadSettings_options_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("on");

        const QList<QPair<QByteArray, bool>> texts = {
            {"", true},     {"\"   \"", true}, {"True", true},  {"\" TRUE \"", true},
            {"tRuE", true}, {"False", false},  {"0", false},    {"1", false},
            {"yes", false}, {"truest", false}, {"true,", true}, {"@Point(1 2)", true},
        };
        for (const char* name : {"PlaySounds", "ReusePlayerNames", "UseLastSavePath"}) {
            for (const auto& [text, on] : texts) {
                QTest::addRow("%s=%s", name, text.constData())
                    << QByteArray(name) << QByteArray(text) << on;
            }
        }
    }

    void loadSettings_options()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, stored);
        QFETCH(bool, on);
        storeIni(name + '=' + stored);
        LoadSettings();
        const SettingsFlags& flags = settingsFlags();
        QCOMPARE(flags.PlaySounds, name == "PlaySounds" ? on : true);
        QCOMPARE(flags.ReusePlayerNames, name == "ReusePlayerNames" ? on : true);
        QCOMPARE(flags.UseLastSavePath, name == "UseLastSavePath" ? on : true);
        QCOMPARE(flags.RestoreWindowPosition, false);
    }

    void loadSettings_placement_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("restore");
        QTest::addColumn<WindowPlacement>("expected");

        const WindowPlacement untouched{7, 7, 7, 7, 7};
        QTest::newRow("absent") << QByteArray() << false << untouched;
        QTest::newRow("spaces") << QByteArray("RestoreWindowPosition=\"  \"") << false << untouched;
        QTest::newRow("written form")
            << QByteArray("RestoreWindowPosition=\"X=1440,Y=960\"") << true << placement(1440, 960);
        QTest::newRow("only S") << QByteArray("RestoreWindowPosition=S=2") << true
                                << placement(-1, -1, -1, -1, 2);
        QTest::newRow("no coordinates")
            << QByteArray("RestoreWindowPosition=somewhere") << true << placement(-1, -1);
        QTest::newRow("unquoted list")
            << QByteArray("RestoreWindowPosition=X=1440,Y=960") << false << untouched;
    }

    void loadSettings_placement()
    {
        QFETCH(QByteArray, stored);
        QFETCH(bool, restore);
        QFETCH(WindowPlacement, expected);
        storeIni(stored);
        settingsFlags().placement = {7, 7, 7, 7, 7};
        LoadSettings();
        QCOMPARE(settingsFlags().RestoreWindowPosition, restore);
        QCOMPARE(settingsFlags().placement, expected);
    }

    void parsePlacement_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<WindowPlacement>("expected");

        const auto row = [](const char* name, const char* text, WindowPlacement expected) {
            QTest::newRow(name) << QString::fromUtf8(text) << expected;
        };
        row("written form", "X=1440,Y=960", placement(1440, 960));
        row("keys swapped", "Y=960,X=1440", placement(1440, 960));
        row("lower-case keys", "x=1440,y=960", placement(1440, 960));
        row("X zero", "X=0,Y=960", placement(0, 960));
        row("Y zero", "X=1440,Y=0", placement(1440, 0));
        row("negative", "X=-300,Y=-45", placement(-300, -45));
        row("letters", "X=abc,Y=960", placement(-1, 960));
        row("X alone", "X=1440", placement(1440, -1));
        row("semicolon instead of comma", "X=1440;Y=960", placement(-1, 960));
        row("spaces round values", "X= 1440 ,Y=960", placement(1440, 960));
        row("only S", "S=2", placement(-1, -1, -1, -1, 2));
        row("empty", "", placement(-1, -1));
        row("all five", "H=4500,S=3,X=1440,W=6000,Y=960", placement(1440, 960, 6000, 4500, 3));
        row("other pieces ignored", "v2,X=15,junk,Y=30,", placement(15, 30));
        row("first occurrence counts", "X=abc,X=1440,Y=960", placement(-1, 960));
        row("key inside a longer name", "MAX=5,Y=960", placement(5, 960));
        row("empty field", "X=,Y=960", placement(-1, 960));
        row("sign only", "X=-,Y=+", placement(-1, -1));
        row("point only", "X=.,Y=960", placement(-1, 960));
        row("plus sign", "X=+1440,Y=960", placement(1440, 960));
        row("space inside", "X=1 440,Y=960", placement(-1, 960));
        row("exponent", "X=1e3,Y=960", placement(-1, 960));
        row("hexadecimal", "X=&H10,Y=0x10", placement(-1, -1));
        row("full-width digits", "X=\uff11\uff14\uff14\uff10,Y=960", placement(-1, 960));
        row("half to even down", "X=1440.5,Y=960", placement(1440, 960));
        row("half to even up", "X=1441.5,Y=960", placement(1442, 960));
        row("negative half", "X=-2.5,Y=-3.5", placement(-2, -4));
        row("just above half", "X=2.5000001,Y=960", placement(3, 960));
        row("below half", "X=2.4999999,Y=960", placement(2, 960));
        row("fraction only", "X=.5,Y=.51", placement(0, 1));
        row("trailing point", "X=1.,Y=960", placement(1, 960));
        row("largest", "X=2147483647,Y=-2147483648", placement(2147483647, -2147483648));
        row("just beyond 32 bits", "X=2147483648,Y=-2147483649", placement(-1, -1));
        row("rounds beyond 32 bits", "X=2147483647.5,Y=-2147483648.5", placement(-1, -2147483648));
        row("rounds within 32 bits", "X=2147483646.5,Y=960", placement(2147483646, 960));
        row("huge", "X=99999999999999999999999999,Y=960", placement(-1, 960));
        row("leading zeros", "X=000000000000000000001440,Y=960", placement(1440, 960));
    }

    void parsePlacement()
    {
        QFETCH(QString, text);
        QFETCH(WindowPlacement, expected);
        QCOMPARE(ParsePlacement(text), expected);
    }

    void formatPlacement_data()
    {
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("top");
        QTest::addColumn<QString>("expected");

        QTest::newRow("whole") << 1440.0 << 960.0 << QStringLiteral("X=1440,Y=960");
        QTest::newRow("negative and zero") << -300.0 << 0.0 << QStringLiteral("X=-300,Y=0");
        QTest::newRow("negative zero") << -0.0 << 15.0 << QStringLiteral("X=0,Y=15");
        QTest::newRow("fractions") << 1440.5 << 7.25 << QStringLiteral("X=1440.5,Y=7.25");
        QTest::newRow("shortest") << 0.1 << 1.0 / 3.0
                                  << QStringLiteral("X=0.1,Y=0.3333333333333333");
        QTest::newRow("no exponent") << 1e7 << 1e-5 << QStringLiteral("X=10000000,Y=0.00001");
    }

    void formatPlacement()
    {
        QFETCH(double, left);
        QFETCH(double, top);
        QFETCH(QString, expected);
        QCOMPARE(FormatPlacement(left, top), expected);
    }

    void formatThenParse()
    {
        QCOMPARE(ParsePlacement(FormatPlacement(96 * kTwipsPerPixel, 64 * kTwipsPerPixel)),
                 placement(1440, 960));
        QCOMPARE(ParsePlacement(FormatPlacement(-8 * kTwipsPerPixel, 3 * kTwipsPerPixel)),
                 placement(-120, 45));
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "tst_shell_settings.moc"
