// Font face substitutions and bitmap resources, which need a QGuiApplication.
#include "platform/BitmapResource.h"
#include "platform/FontSubstitution.h"

#include <QDir>
#include <QFontInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTest>

class TestFontsAndBitmaps : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstallFontSubstitutions(); }

    void faceNamesResolveToInstalledFonts_data()
    {
        QTest::addColumn<QString>("requested");
        QTest::addColumn<QString>("expected");
        QTest::newRow("mirafon") << "mirafon" << "NanumGothic";
        QTest::newRow("Tahoma") << "Tahoma" << "DejaVu Sans";
        QTest::newRow("Lucida Console") << "Lucida Console" << "DejaVu Sans Mono";
    }
    void faceNamesResolveToInstalledFonts()
    {
        QFETCH(QString, requested);
        QFETCH(QString, expected);
        // Qt keeps substitutes in lower case.
        QCOMPARE(QFont::substitutes(requested).value(0), expected.toLower());
        QFont font(requested);
        font.setPixelSize(10);
        QCOMPARE(QFontInfo(font).family(), expected);
    }

    void testPictureLoadsByItsId()
    {
        QImage image;
        QVERIFY(LoadBitmapResource(9990, &image));
        QCOMPARE(image.size(), QSize(3, 2));
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::red));
        QCOMPARE(image.pixelColor(1, 0), QColor(Qt::white));
        QCOMPARE(image.pixelColor(2, 1), QColor(Qt::blue));
    }

    void unknownIdDoesNotLoad()
    {
        QImage image(1, 1, QImage::Format_RGB32);
        QVERIFY(!LoadBitmapResource(999, &image));   // "9990_..." must not match 999
        QVERIFY(!LoadBitmapResource(0, &image));
        QVERIFY(!LoadBitmapResource(-5, &image));
        QCOMPARE(image.size(), QSize(1, 1));
        QVERIFY(BitmapResourcePath(990).isEmpty());
    }

    // Every picture of data/bitmaps is compiled in and loads under its id.
    void everyDataBitmapLoads()
    {
        const QDir data(qEnvironmentVariable("QUILLDAY_TEST_DATA") + QStringLiteral("/bitmaps"));
        static const QRegularExpression name(QStringLiteral("^(\\d+)_.*\\.xpm$"));
        QVERIFY(data.exists());
        const QStringList files = data.entryList({QStringLiteral("*.xpm")}, QDir::Files);
        int nLoaded = 0;
        for (const QString& file : files) {
            const QRegularExpressionMatch match = name.match(file);
            QVERIFY2(match.hasMatch(), qPrintable(file + QStringLiteral(" is not named <id>_<subject>.xpm")));
            ++nLoaded;
            QImage image;
            QVERIFY2(LoadBitmapResource(match.captured(1).toInt(), &image), qPrintable(file));
            QVERIFY2(!image.isNull(), qPrintable(file));
        }
        QCOMPARE(nLoaded, files.size());
    }
};

QTEST_MAIN(TestFontsAndBitmaps)
#include "tst_FontsAndBitmaps.moc"
