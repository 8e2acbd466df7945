// Settings values far longer than the store keeps: they read as empty, quickly and without
// taking much memory, and LoadSettings keeps the window placement it had.
#include "hardening.h"
#include "shell/placement.h"
#include "shell/settingsstore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace tfp::hardening;
using namespace tfp::shell;

namespace {

constexpr qint64 kQuickMs = 1000;
constexpr qint64 kMaxGrowthKb = 100 * 1024;

QString read(const QString& name)
{
    return ReadSetting(SettingsRoot::LocalMachine, QLatin1String(kSettingsKey), name);
}

// A value made of `unit` repeated to `length` characters.
QByteArray repeated(const QByteArray& unit, qsizetype length)
{
    QByteArray value;
    value.reserve(length);
    while (value.size() < length)
        value.append(unit);
    value.truncate(length);
    return value;
}

} // namespace

class SettingsHardeningTest : public QObject
{
    Q_OBJECT

private:
    // An INI file as another program might have left it: one quoted value under the
    // settings key, and a short value next to it.
    bool storeValue(const QByteArray& name, const QByteArray& value)
    {
        return storeValueIn(m_ini, name, value, 1);
    }

    // The value written `copies` times over, so that a huge file needs no huge buffer.
    static bool storeValueIn(const QString& path, const QByteArray& name, const QByteArray& value,
                             int copies)
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        const QByteArray head = "[General]\nShort=kept\n" + name + "=\"";
        if (file.write(head) != head.size())
            return false;
        for (int i = 0; i < copies; ++i) {
            if (file.write(value) != value.size())
                return false;
        }
        return file.write("\"\n") == 2;
    }

    // Reads `name` and checks it is empty, quick and light on memory.
    static void readsEmptyQuickly(const QString& name, const char* what)
    {
        const qint64 residentBefore = processStatusKb("VmRSS");
        const bool peakReset = resetPeakResidentSize();
        QElapsedTimer timer;
        timer.start();
        const QString text = read(name);
        const qint64 elapsedMs = timer.elapsed();
        const qint64 growthKb =
            (peakReset ? processStatusKb("VmHWM") : processStatusKb("VmRSS")) - residentBefore;
        qInfo("%s: %lld ms, memory growth %lld kB", what, elapsedMs, growthKb);
        QCOMPARE(text, QString());
        QVERIFY2(elapsedMs < kQuickMs, qPrintable(QString::number(elapsedMs)));
        QVERIFY(residentBefore > 0);
        QVERIFY2(growthKb < kMaxGrowthKb, qPrintable(QString::number(growthKb)));
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

    void cleanup()
    {
        setSettingsFileForTesting(QString());
        QFile::remove(m_ini);
    }

    void readSetting_overLongValue_readsEmpty_data()
    {
        QTest::addColumn<qsizetype>("length");
        QTest::addColumn<bool>("kept"); // read back as stored, or empty

        QTest::newRow("254 characters") << qsizetype(254) << true;
        QTest::newRow("255 characters") << qsizetype(255) << false;
        QTest::newRow("256 characters") << qsizetype(256) << false;
        QTest::newRow("64 KB") << qsizetype(64 * 1024) << false;
        QTest::newRow("1 MB") << qsizetype(1 << 20) << false;
        QTest::newRow("50 MB") << qsizetype(50 << 20) << false;
    }

    void readSetting_overLongValue_readsEmpty()
    {
        QFETCH(qsizetype, length);
        QFETCH(bool, kept);
        const QByteArray value = repeated("North", length);
        QVERIFY(storeValue("Name", value));

        const qint64 residentBefore = processStatusKb("VmRSS");
        const bool peakReset = resetPeakResidentSize();
        QElapsedTimer timer;
        timer.start();
        const QString text = read(QStringLiteral("Name"));
        const qint64 elapsedMs = timer.elapsed();
        const qint64 growthKb =
            (peakReset ? processStatusKb("VmHWM") : processStatusKb("VmRSS")) - residentBefore;
        qInfo("%lld characters: %lld ms, memory growth %lld kB", qint64(length), elapsedMs,
              growthKb);
        QCOMPARE(text, kept ? QString::fromLatin1(value) : QString());
        QVERIFY2(elapsedMs < kQuickMs, qPrintable(QString::number(elapsedMs)));
        QVERIFY(residentBefore > 0);
        QVERIFY2(growthKb < kMaxGrowthKb, qPrintable(QString::number(growthKb)));
    }

    void loadSettings_overLongPlacement_keepsPlacement_data()
    {
        QTest::addColumn<QByteArray>("value");

        QTest::newRow("placement padded to 255") << "X=1500,Y=3000" + QByteArray(242, ' ');
        QTest::newRow("placement padded to 300") << "X=1500,Y=3000" + QByteArray(287, ' ');
        QTest::newRow("placement repeated to 1 MB") << repeated("X=1500,Y=3000,", 1 << 20);
        QTest::newRow("digits to 50 MB") << "X=" + repeated("7", 50 << 20);
    }

    void loadSettings_overLongPlacement_keepsPlacement()
    {
        QFETCH(QByteArray, value);
        QVERIFY(storeValue("RestoreWindowPosition", value));
        const WindowPlacement earlier{120, 240, 800, 600, 0};
        settingsFlags().placement = earlier;
        settingsFlags().RestoreWindowPosition = true;

        QElapsedTimer timer;
        timer.start();
        LoadSettings();
        const qint64 elapsedMs = timer.elapsed();
        qInfo("%lld characters: LoadSettings took %lld ms", qint64(value.size()), elapsedMs);
        QVERIFY(!settingsFlags().RestoreWindowPosition);
        QVERIFY(settingsFlags().placement == earlier);
        QVERIFY2(elapsedMs < 4 * kQuickMs, qPrintable(QString::number(elapsedMs)));
    }

    void readSetting_hugeSettingsFile_readsEmpty_data()
    {
        QTest::addColumn<int>("megabytes");
        QTest::newRow("50 MB") << 50;
        QTest::newRow("300 MB") << 300;
    }

    void readSetting_hugeSettingsFile_readsEmpty()
    {
        QFETCH(int, megabytes);
        QVERIFY(storeValueIn(m_ini, "Name", repeated("West", 1 << 20), megabytes));
        readsEmptyQuickly(QStringLiteral("Name"), "huge settings file, the huge value");
        readsEmptyQuickly(QStringLiteral("Short"), "huge settings file, a short value");
    }

    // The program's own store (in the test location), not the test seam's file.
    void readSetting_hugeNativeStore_readsEmpty()
    {
        setSettingsFileForTesting(QString());
        const QString path =
            QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Torva"),
                      QStringLiteral("TorvaFoglineTurnpicker"))
                .fileName();
        const QString testRoot =
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        if (testRoot.isEmpty() || !path.startsWith(testRoot) ||
            !path.endsWith(QLatin1String(".conf")))
            QSKIP("the native store is not a file in the test configuration folder here");
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        // Another test may have left a store there; it is put back afterwards.
        const bool existed = QFileInfo::exists(path);
        const QByteArray earlier = fileBytes(path);
        const bool stored = storeValueIn(path, "Name", repeated("East", 1 << 20), 50);
        if (stored)
            readsEmptyQuickly(QStringLiteral("Name"), "huge native store");
        QVERIFY(QFile::remove(path));
        if (existed) {
            QFile restore(path);
            QVERIFY(restore.open(QIODevice::WriteOnly));
            QCOMPARE(restore.write(earlier), earlier.size());
        }
        QVERIFY(stored);
    }

    // The check that an over-long value is read as empty must not hide its neighbours.
    void readSetting_nextToLongValue_readsShortValue()
    {
        QVERIFY(storeValue("Name", repeated("x", 64 * 1024)));
        QCOMPARE(read(QStringLiteral("Short")), QStringLiteral("kept"));
        QCOMPARE(read(QStringLiteral("Name")), QString());
    }
};

QTEST_GUILESS_MAIN(SettingsHardeningTest)
#include "tst_hardening_settings.moc"
