// The settings store's contract, LoadSettings and the placement text, on an INI file in the
// test's own temporary folder.
#include "shell/placement.h"
#include "shell/settingsstore.h"
#include "testsupport.h"

#include <QSettings>
#include <QTemporaryDir>

using namespace tfp::shell;
using namespace tfp::test;

namespace {

struct Row
{
    QByteArray stored; // the INI file's lines, or a value to write
    QString expected;
};

// A placement as "X Y W H S".
QString fields(const WindowPlacement& p)
{
    return QStringLiteral("%1 %2 %3 %4 %5").arg(p.X).arg(p.Y).arg(p.W).arg(p.H).arg(p.S);
}

} // namespace

Q_DECLARE_METATYPE(Row)

class SettingsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_count = 0;

    // A new store file (QSettings keeps what it read of a file).
    QString freshStore()
    {
        const QString file = m_dir.filePath(QString::number(++m_count));
        setSettingsFileForTesting(file);
        return file;
    }
    // Writes the store as another program (or an older build) might have left it.
    void store(const QByteArray& lines)
    {
        QVERIFY(writeFile(freshStore(), "[General]\n" + lines + '\n'));
    }

private slots:
    void init()
    {
        freshStore();
        settingsFlags() = SettingsFlags{};
    }

    // Text with the spaces at both ends removed, through Windows-1252; empty when absent,
    // not text, or 255 characters or more.
    void readSetting_data()
    {
        addRowColumn<Row>();
        addRow<Row>("absent", "", "");
        addRow<Row>("spaces", "LastSavePath=\"    \"", "");
        addRow<Row>("spaces at both ends", "LastSavePath=\"  North  Side \"", "North  Side");
        addRow<Row>("tab is not a space", "LastSavePath=\"\\tA\"", "\tA");
        addRow<Row>("quoted comma", "LastSavePath=\"X=1,Y=2\"", "X=1,Y=2");
        addRow<Row>("list", "LastSavePath=X=1,Y=2", "");
        addRow<Row>("point", "LastSavePath=@Point(3 4)", "");
        addRow<Row>("bytes", "LastSavePath=@ByteArray(abc)", "");
        addRow<Row>("254 characters", "LastSavePath=" + QByteArray(254, 'a'), QString(254, u'a'));
        addRow<Row>("255 characters", "LastSavePath=" + QByteArray(255, 'a'), "");
        addRow<Row>("outside Windows-1252", "LastSavePath=\xc5\xbb\xc3\xb3\xc5\x82w \xe2\x82\xac",
                    "?\u00f3?w \u20ac");
    }
    void readSetting()
    {
        QFETCH(Row, row);
        store(row.stored);
        QCOMPARE(ReadSetting(Setting::LastSavePath), row.expected);
    }

    void writeSetting_data()
    {
        addRowColumn<Row>();
        addRow<Row>("comma", "X=1440,Y=960", "X=1440,Y=960");
        addRow<Row>("leading at sign", "@Point(3 4)", "@Point(3 4)");
        addRow<Row>("padded", "  North ", "North");
        addRow<Row>("outside Windows-1252", "\xc5\xbb\xc3\xb3\xc5\x82w", "?\u00f3?w");
        addRow<Row>("254 characters", QByteArray(254, 'n'), QString(254, u'n'));
        addRow<Row>("255 characters", QByteArray(255, 'n'), "");
    }
    void writeSetting()
    {
        QFETCH(Row, row);
        QVERIFY(WriteSetting(Setting::LastSavePath, QString::fromUtf8(row.stored)));
        QCOMPARE(ReadSetting(Setting::LastSavePath), row.expected);
    }

    // A store larger than any the program writes is not read at all.
    void readSetting_storeOverOneMegabyte_readsNothing()
    {
        const QByteArray lines = "Player1Name=kept\nLastSavePath=";
        for (const qint64 size : {1 << 20, (1 << 20) + 1}) {
            store(lines + QByteArray(size - lines.size() - 11, 'x'));
            QCOMPARE(QFileInfo(m_dir.filePath(QString::number(m_count))).size(), size);
            QCOMPARE(ReadSetting(Setting::Player1Name), size > (1 << 20) ? "" : "kept");
        }
        LoadSettings();
        QVERIFY(settingsFlags().PlaySounds);
    }

    void writeAndDelete_keepTheirContract()
    {
        store("LastSavePath=1\nPlayer1Name=2\n[Player2Name]\nDeep=3");
        QCOMPARE(DeleteSetting(Setting::LastSavePath), QString());
        QCOMPARE(DeleteSetting(Setting::LastSavePath), QString()); // missing: ignored
        QCOMPARE(ReadSetting(Setting::LastSavePath), QString());
        QCOMPARE(ReadSetting(Setting::Player1Name), QStringLiteral("2"));
        DeleteSetting(Setting::Player2Name); // a sub-key is no value: it stays
        QVERIFY(QSettings(m_dir.filePath(QString::number(m_count)), QSettings::IniFormat)
                    .contains("Player2Name/Deep"));
        setSettingsFileForTesting(m_dir.path()); // a folder cannot be written as a file
        QVERIFY(WriteSetting(Setting::LastSavePath, QStringLiteral("x")));
        QCOMPARE(ReadSetting(Setting::LastSavePath), QString());
    }

    // PlaySounds, ReusePlayerNames and UseLastSavePath are on when empty or absent, otherwise
    // for "true" in any case; a placement switches restoring on and replaces the one held
    // (7 7 7 7 7 here).
    void loadSettings_data()
    {
        addRowColumn<Row>();
        addRow<Row>("absent, blank, lower case", "ReusePlayerNames=\"   \"\nUseLastSavePath=tRuE",
                    "111 0 7 7 7 7 7");
        addRow<Row>("padded capitals, False, 1",
                    "PlaySounds=\" TRUE \"\nReusePlayerNames=False\nUseLastSavePath=1",
                    "100 0 7 7 7 7 7");
        addRow<Row>("truest, a point, False",
                    "PlaySounds=truest\nReusePlayerNames=@Point(1 2)\nUseLastSavePath=False",
                    "010 0 7 7 7 7 7");
        addRow<Row>("placement", "RestoreWindowPosition=\"X=1440,Y=960\"",
                    "111 1 1440 960 -1 -1 0");
        addRow<Row>("only S", "RestoreWindowPosition=S=2", "111 1 -1 -1 -1 -1 2");
        addRow<Row>("no coordinates", "RestoreWindowPosition=somewhere", "111 1 -1 -1 -1 -1 0");
        addRow<Row>("blank placement", "RestoreWindowPosition=\"  \"", "111 0 7 7 7 7 7");
        addRow<Row>("unquoted list", "RestoreWindowPosition=X=1,Y=2", "111 0 7 7 7 7 7");
    }
    void loadSettings()
    {
        QFETCH(Row, row);
        store(row.stored);
        settingsFlags().placement = {7, 7, 7, 7, 7};
        LoadSettings();
        const SettingsFlags& f = settingsFlags();
        QCOMPARE(QStringLiteral("%1%2%3 %4 ")
                         .arg(f.PlaySounds)
                         .arg(f.ReusePlayerNames)
                         .arg(f.UseLastSavePath)
                         .arg(f.RestoreWindowPosition) +
                     fields(f.placement),
                 row.expected);
    }

    // "X Y W H S" of a placement text: a missing or unusable field keeps its default.
    void parsePlacement_data()
    {
        addRowColumn<Row>();
        const auto row = [](const char* text, const char* xy, const char* whs = "-1 -1 0") {
            QTest::newRow(*text ? text : "empty") << Row{text, QString(xy) + ' ' + whs};
        };
        row("X=1440,Y=960", "1440 960");
        row("y=960,x=1440", "1440 960");
        row("X=0,Y=-45", "0 -45");
        row("X=abc,Y=960", "-1 960");
        row("X=1440", "1440 -1");
        row("X=1440;Y=960", "-1 960");
        row("X= 1440 ,Y=+960", "1440 960");
        row("", "-1 -1");
        row("H=4500,S=3,X=1440,W=6000,Y=960", "1440 960", "6000 4500 3");
        row("v2,X=15,junk,Y=30,", "15 30");
        row("X=abc,X=1440,Y=960", "-1 960");
        row("MAX=5,Y=960", "5 960");
        row("X=,Y=-", "-1 -1");
        row("X=.,Y=1 440", "-1 -1");
        row("X=1e3,Y=0x10", "-1 -1");
        row("X=\uff11,Y=1.", "-1 1");
        row("X=1440.5,Y=1441.5", "1440 1442");
        row("X=-2.5,Y=-3.5", "-2 -4");
        row("X=2.5000001,Y=2.4999999", "3 2");
        row("X=.5,Y=.51", "0 1");
        row("X=1.6,Y=-2.7", "2 -3");
        row("12,Y=5", "-1 5");
        row("X=2147483647,Y=-2147483648", "2147483647 -2147483648");
        row("X=2147483648,Y=-2147483649", "-1 -1");
        row("X=2147483647.5,Y=-2147483648.5", "-1 -2147483648");
        row("X=2147483646.5,Y=99999999999999999999999", "2147483646 -1");
        row("X=000000000000000000001440", "1440 -1");
    }
    void parsePlacement()
    {
        QFETCH(Row, row);
        QCOMPARE(fields(ParsePlacement(QString::fromUtf8(row.stored))), row.expected);
    }

    void formatPlacement()
    {
        QCOMPARE(FormatPlacement(1440, 960), QStringLiteral("X=1440,Y=960"));
        QCOMPARE(FormatPlacement(-300, -0.0), QStringLiteral("X=-300,Y=0"));
        QCOMPARE(FormatPlacement(1440.5, 1.0 / 3.0),
                 QStringLiteral("X=1440.5,Y=0.3333333333333333"));
        QCOMPARE(FormatPlacement(1e7, 1e-5), QStringLiteral("X=10000000,Y=0.00001"));
        QCOMPARE(fields(ParsePlacement(FormatPlacement(-8 * kTwipsPerPixel, 64 * kTwipsPerPixel))),
                 QStringLiteral("-120 960 -1 -1 0"));
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "tst_shell_settings.moc"
