// The About picture is decoded with libjpeg; errors become German messages.
#include "shell/jpeg_decode.h"
#include "shell/shell_resources.h"
#include "storage/tarvo_error.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QTest>

class TestJpegDecode : public QObject {
    Q_OBJECT
private:
    static QByteArray aboutBytes() {
        QFile f(QStringLiteral(":/about.jpg"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Largest difference of one colour channel between two images of equal size.
    static int maxDifference(const QImage &a, const QImage &b) {
        int worst = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) {
                const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
                worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                  std::abs(qBlue(p) - qBlue(q))});
            }
        return worst;
    }

private slots:
    void initTestCase() { InitShellResources(); }

    void aboutPicture() {
        const QImage image = DecodeJpegFile(QStringLiteral(":/about.jpg"));
        QCOMPARE(image.size(), QSize(180, 180));
        // A sun disk on a dark sky: warm in the middle, dark in the corner.
        const QRgb centre = image.pixel(90, 90);
        QVERIFY(qRed(centre) > 200 && qBlue(centre) < qRed(centre));
        const QRgb corner = image.pixel(2, 2);
        QVERIFY(qRed(corner) < 60 && qGreen(corner) < 60);
    }

    void sameAsInstalledFile() {
        // The resource is the shipped resources/about.jpg.
        QFile shipped(QStringLiteral(TARVO_TEST_DATA "/../../resources/about.jpg"));
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        QCOMPARE(shipped.readAll(), aboutBytes());
    }

    void agreesWithQtReader() {
        // An independent decoder gives (nearly) the same pixels; JPEG decoders may differ by rounding.
        QImageReader reader(QStringLiteral(":/about.jpg"));
        const QImage reference = reader.read();
        if (reference.isNull())
            QSKIP("Qt has no JPEG reader here");
        const QImage image = DecodeJpeg(aboutBytes());
        QCOMPARE(image.size(), reference.size());
        QVERIFY2(maxDifference(image, reference.convertToFormat(QImage::Format_RGB888)) <= 3,
                 "pixels differ");
    }

    void greyPicture() {
        QImage grey(20, 10, QImage::Format_Grayscale8);
        grey.fill(128);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        if (!writer.write(grey))
            QSKIP("Qt has no JPEG writer here");
        const QImage image = DecodeJpeg(buffer.data());
        QCOMPARE(image.size(), QSize(20, 10));
        QVERIFY(std::abs(qRed(image.pixel(5, 5)) - 128) <= 2);
        QCOMPARE(qRed(image.pixel(5, 5)), qBlue(image.pixel(5, 5)));
    }

    void broken_data() {
        QTest::addColumn<QByteArray>("data");
        const QByteArray good = aboutBytes();
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not a JPEG") << QByteArray("GIF89a this is something else entirely");
        QTest::newRow("header only") << good.left(200);
        QTest::newRow("cut in the middle") << good.left(good.size() / 2);
        QByteArray damaged = good;
        for (qsizetype i = 20; i < 400 && i < damaged.size(); ++i)
            damaged[i] = static_cast<char>(0xA5);
        QTest::newRow("damaged tables") << damaged;
    }
    void broken() {
        QFETCH(QByteArray, data);
        try {
            DecodeJpeg(data);
            QFAIL("decoded broken data");
        } catch (const TarvoError &e) {
            QVERIFY(e.message().startsWith(QStringLiteral("Das JPEG-Bild")));
        }
    }

    void missingFile() {
        QVERIFY_THROWS_EXCEPTION(TarvoError, DecodeJpegFile(QStringLiteral(":/nicht-da.jpg")));
    }
};

QTEST_GUILESS_MAIN(TestJpegDecode)
#include "test_jpeg_decode.moc"
