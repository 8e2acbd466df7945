// The program's pictures: reading ahead on the worker thread, taking each picture once,
// dropping what nobody took, and the names of the double-size companions.
#include "shell/pictures.h"

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace tfp::shell;

class tst_ShellPictures : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    QString picture(const QString& name) const
    {
        return dir.filePath(name + QStringLiteral(".png"));
    }

    static bool write(const QString& path, const QColor& colour)
    {
        QImage image(4, 3, QImage::Format_RGB32);
        image.fill(colour);
        return image.save(path, "PNG");
    }

    static QColor colourOf(const QImage& image) { return image.pixelColor(0, 0); }

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        QVERIFY(write(picture(QStringLiteral("a")), Qt::red));
        QVERIFY(write(picture(QStringLiteral("b")), Qt::blue));
    }

    void cleanup() { discardPreloadedPictures(); }

    void readPicture_takesThePictureReadAheadOnce()
    {
        const QString a = picture(QStringLiteral("a"));
        const QString b = picture(QStringLiteral("b"));
        preloadPictures({a, b});
        // The worker reads in order, so once b is there, a has been read as well.
        QCOMPARE(colourOf(readPicture(b)), QColor(Qt::blue));
        QVERIFY(write(a, Qt::green));
        QCOMPARE(colourOf(readPicture(a)), QColor(Qt::red));   // as it was read ahead
        QCOMPARE(colourOf(readPicture(a)), QColor(Qt::green)); // taken: read again
    }

    void readPicture_missingFileReadAhead_isNull()
    {
        const QString missing = picture(QStringLiteral("missing"));
        preloadPictures({missing});
        QVERIFY(readPicture(missing).isNull());
        QVERIFY(readPicture(missing).isNull());
    }

    void discard_dropsWhatNobodyTook()
    {
        const QString a = picture(QStringLiteral("a"));
        const QString b = picture(QStringLiteral("b"));
        preloadPictures({a, b});
        QCOMPARE(colourOf(readPicture(b)), QColor(Qt::blue));
        QVERIFY(write(a, Qt::green));
        discardPreloadedPictures();
        QCOMPARE(colourOf(readPicture(a)), QColor(Qt::green));
    }

    void preload_whileAListIsHeld_doesNothing()
    {
        const QString a = picture(QStringLiteral("a"));
        const QString b = picture(QStringLiteral("b"));
        preloadPictures({a});
        preloadPictures({b});
        QCOMPARE(colourOf(readPicture(a)), QColor(Qt::red));
        QVERIFY(write(b, Qt::green));
        QCOMPARE(colourOf(readPicture(b)), QColor(Qt::green)); // b was never read ahead
        // Once everything is taken, a new list is read ahead again.
        preloadPictures({b});
        QCOMPARE(colourOf(readPicture(b)), QColor(Qt::green));
    }

    void doubleSizePath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("large");
        QTest::newRow("resource") << ":/images/new.png"
                                  << ":/images/new@2x.png";
        QTest::newRow("dots in the name") << "/a.b/light-16.png"
                                          << "/a.b/light-16@2x.png";
        QTest::newRow("no extension") << "logo"
                                      << "logo@2x";
    }
    void doubleSizePath()
    {
        QFETCH(QString, path);
        QFETCH(QString, large);
        QCOMPARE(tfp::shell::doubleSizePath(path), large);
    }
};

QTEST_MAIN(tst_ShellPictures)
#include "tst_shell_pictures.moc"
