// The embedded pictures, icons and sounds: formats, sizes and the board's colours.

#include "BoardGeometry.h"
#include "BoardPixels.h"

#include <QFile>
#include <QImage>
#include <QResource>
#include <QSet>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

QByteArray read_resource(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint32 le16(const QByteArray &bytes, qsizetype at)
{
    return static_cast<quint8>(bytes[at]) | static_cast<quint8>(bytes[at + 1]) << 8;
}

quint32 le32(const QByteArray &bytes, qsizetype at)
{
    return le16(bytes, at) | le16(bytes, at + 2) << 16;
}

const QColor kBlack(0, 0, 0);
const QColor kLightGrey(192, 192, 192);
const QColor kCream(255, 255, 204);
const QColor kRed(204, 51, 51);
const QColor kGreen(51, 153, 0);
const QColor kDarkGrey(51, 51, 51);
const QColor kMidGrey(102, 102, 102);

QPoint polar(double radius, double degrees)
{
    const double rad = degrees * std::numbers::pi / 180.0;
    return {static_cast<int>(std::lround(board::kCentre + radius * std::sin(rad))),
            static_cast<int>(std::lround(board::kCentre - radius * std::cos(rad)))};
}

// What the picture shows in a region away from any border line or number.
QColor zone_colour(int x, int y)
{
    const bool dark = board::segment_is_dark(board::segment_index(board::angle_of(x, y)));
    switch (board::region_at(x, y).ring) {
    case board::Ring::InnerBull:
        return kRed;
    case board::Ring::OuterBull:
        return kGreen;
    case board::Ring::InnerSingle:
    case board::Ring::OuterSingle:
        return dark ? kBlack : kCream;
    case board::Ring::Treble:
    case board::Ring::Double:
        return dark ? kRed : kGreen;
    case board::Ring::NumberRing:
        return kBlack;
    case board::Ring::Corner:
        break;
    }
    return kLightGrey;
}

} // namespace

class TestResources : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void soundImage_isValidAudibleWave_data();
    void soundImage_isValidAudibleWave();

    void bitmap_headerIsUncompressedBottomUp_data();
    void bitmap_headerIsUncompressedBottomUp();
    void boardPixel_hasZoneColour_data();
    void boardPixel_hasZoneColour();
    void boardPixels_showTheGeometryInSevenColours();

    void iconFile_headersMatchImagesWithTransparentCorner_data();
    void iconFile_headersMatchImagesWithTransparentCorner();

    void splash_namesTheMakerInTheVisibleRows();

private:
    QImage board_;
};

void TestResources::initTestCase()
{
    QVERIFY(board_.load(QStringLiteral(":/board.bmp")));
    board_ = board_.convertToFormat(QImage::Format_RGB32);
}

void TestResources::soundImage_isValidAudibleWave_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("dataBytes");
    QTest::addColumn<double>("seconds");
    QTest::newRow("HIT") << "HIT" << 3584 << 0.33;
    QTest::newRow("SHOTGUN") << "SHOTGUN" << 8384 << 0.76;
    QTest::newRow("EXPLOSION, odd data with pad byte") << "EXPLOSION" << 15987 << 1.45;
}

void TestResources::soundImage_isValidAudibleWave()
{
    QFETCH(QString, name);
    QFETCH(int, dataBytes);
    QFETCH(double, seconds);

    // Played straight from memory, so the stored bytes must be the file itself.
    QResource resource(QStringLiteral(":/WAVE/") + name);
    QCOMPARE(resource.compressionAlgorithm(), QResource::NoCompression);
    const QByteArray wave = read_resource(resource.fileName());
    const int padded = dataBytes + dataBytes % 2;
    QCOMPARE(wave.size(), 44 + padded); // nothing after the data chunk
    QCOMPARE(wave.mid(44 + dataBytes), QByteArray(padded - dataBytes, '\0'));
    QCOMPARE(wave.left(4) + wave.mid(8, 8) + wave.mid(36, 4), QByteArray("RIFFWAVEfmt data"));
    // RIFF size, fmt size, PCM, mono, samples per second, bytes per second, block align, bits, data size
    const QList<quint32> fields{le32(wave, 4),  le32(wave, 16), le16(wave, 20), le16(wave, 22), le32(wave, 24),
                                le32(wave, 28), le16(wave, 32), le16(wave, 34), le32(wave, 40)};
    QCOMPARE(fields, (QList<quint32>{quint32(36 + padded), 16, 1, 1, 11025, 11025, 1, 8, quint32(dataBytes)}));
    QCOMPARE(std::round(dataBytes / 11025.0 * 100.0) / 100.0, seconds);

    const QByteArray samples = wave.mid(44, dataBytes);
    const auto [lowest, highest] = std::ranges::minmax(samples, {}, [](char c) { return quint8(c); });
    QVERIFY2(quint8(lowest) > 0 && quint8(highest) < 255, "samples reach the rails");
    QVERIFY2(quint8(highest) - quint8(lowest) > 128, "too quiet");
    QVERIFY(std::abs(int(quint8(samples.back())) - 128) <= 1); // ends in silence, no click
}

void TestResources::bitmap_headerIsUncompressedBottomUp_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("fileBytes");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("colours");
    QTest::newRow("board, paletted") << ":/board.bmp" << 231478 << QSize(480, 480) << 8 << 256;
    // Beside the Windows installer's welcome and finish pages (embedded for this test only).
    QTest::newRow("installer's pages, true colour") << ":/installer.bmp" << 154542 << QSize(164, 314) << 24 << 0;
}

void TestResources::bitmap_headerIsUncompressedBottomUp()
{
    QFETCH(QString, path);
    QFETCH(int, fileBytes);
    QFETCH(QSize, size);
    QFETCH(int, bits);
    QFETCH(int, colours);
    const QByteArray bmp = read_resource(path);
    QCOMPARE(bmp.size(), fileBytes);
    QCOMPARE(bmp.left(2), QByteArray("BM"));
    // file size, pixel offset right after the colour table, BITMAPINFOHEADER, width, positive height
    // (bottom-up), planes, bits, BI_RGB, colours used
    const QList<quint32> fields{le32(bmp, 2),  le32(bmp, 10), le32(bmp, 14), le32(bmp, 18), le32(bmp, 22),
                                le16(bmp, 26), le16(bmp, 28), le32(bmp, 30), le32(bmp, 46)};
    QCOMPARE(fields, (QList<quint32>{quint32(fileBytes), quint32(14 + 40 + 4 * colours), 40, quint32(size.width()),
                                     quint32(size.height()), 1, quint32(bits), 0, quint32(colours)}));
    QCOMPARE(QImage(path).size(), size);
}

void TestResources::boardPixel_hasZoneColour_data()
{
    QTest::addColumn<double>("radius");
    QTest::addColumn<double>("degrees");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("inner bull") << 0.0 << 0.0 << kRed;
    QTest::newRow("inner bull edge") << 11.0 << 100.0 << kRed;
    QTest::newRow("outer bull") << 22.0 << 0.0 << kGreen;
    QTest::newRow("20 inner single") << 60.0 << 0.0 << kBlack;
    QTest::newRow("1 outer single") << 130.0 << 18.0 << kCream;
    QTest::newRow("20 treble") << 92.0 << 0.0 << kRed;
    QTest::newRow("20 double") << 172.0 << 0.0 << kRed;
    QTest::newRow("5 double") << 172.0 << 342.0 << kGreen;
    QTest::newRow("number ring between numbers") << 186.0 << 45.0 << kBlack;
    QTest::newRow("corner") << 330.0 << 315.0 << kLightGrey;
    QTest::newRow("beyond the edge on the axis") << 240.0 << 0.0 << kLightGrey;
}

void TestResources::boardPixel_hasZoneColour()
{
    QFETCH(double, radius);
    QFETCH(double, degrees);
    QFETCH(QColor, colour);
    QCOMPARE(board_.pixelColor(polar(radius, degrees)), colour);
}

// Every pixel is one of seven colours. Away from the border lines and numbers each has its region's
// colour, so the picture and the hit areas laid from the same geometry agree; the light grey numbers
// stand in their band, one on every segment.
void TestResources::boardPixels_showTheGeometryInSevenColours()
{
    QSet<QRgb> seen;
    std::array<int, 20> glyphPixels{};
    int checked = 0;
    for (int y = 0; y < board_.height(); ++y) {
        for (int x = 0; x < board_.width(); ++x) {
            const QColor colour = board_.pixelColor(x, y);
            seen.insert(colour.rgb());
            const double r = board::radius_of(x, y);
            if (colour == kLightGrey && r < board::kBoardEdge) {
                QVERIFY2(r >= board::kNumberInner && r <= board::kNumberOuter,
                         qPrintable(QStringLiteral("number pixel at radius %1").arg(r)));
                ++glyphPixels[static_cast<std::size_t>(board::segment_index(board::angle_of(x, y)))];
            }
            if ((r > board::kNumberInner - 4.0 && r < board::kNumberOuter + 4.0)
                || std::abs(r - board::kBoardEdge) < 2.0 || !board_pixels::is_measured(x, y))
                continue;
            if (colour != zone_colour(x, y))
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            ++checked;
        }
    }
    QCOMPARE(seen, (QSet<QRgb>{kBlack.rgb(), kLightGrey.rgb(), kCream.rgb(), kRed.rgb(), kGreen.rgb(), kDarkGrey.rgb(),
                               kMidGrey.rgb()}));
    QVERIFY(checked > 150000); // most of the picture
    for (std::size_t i = 0; i < glyphPixels.size(); ++i)
        QVERIFY2(glyphPixels[i] > 60,
                 qPrintable(QStringLiteral("segment %1 has no number").arg(board::kSegmentOrder[i])));
}

void TestResources::iconFile_headersMatchImagesWithTransparentCorner_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("fileBytes");
    QTest::addColumn<QList<int>>("sides");
    QTest::newRow("dart") << ":/icons/dart.ico" << 766 << QList<int>{32};
    QTest::newRow("dollar") << ":/icons/dollar.ico" << 766 << QList<int>{32};
    QTest::newRow("smiley") << ":/icons/smiley.ico" << 1078 << QList<int>{32, 16};
}

void TestResources::iconFile_headersMatchImagesWithTransparentCorner()
{
    QFETCH(QString, path);
    QFETCH(int, fileBytes);
    QFETCH(QList<int>, sides);
    const QByteArray ico = read_resource(path);
    QCOMPARE(ico.size(), fileBytes);
    QCOMPARE((QList<quint32>{le16(ico, 0), le16(ico, 2), le16(ico, 4)}), (QList<quint32>{0, 1, quint32(sides.size())}));
    quint32 offset = 6 + 16 * quint32(sides.size());
    for (qsizetype i = 0; i < sides.size(); ++i) {
        const qsizetype entry = 6 + 16 * i;
        const quint32 side = quint32(sides[i]);
        const quint32 rowBytes = (side * 4 + 31) / 32 * 4;
        const quint32 maskRowBytes = (side + 31) / 32 * 4;
        const quint32 imageBytes = 40 + 16 * 4 + (rowBytes + maskRowBytes) * side;
        // width, height, 16 colours, 4 bits, image size and place; then its header: size, width, colour image
        // and AND mask stacked, 4 bits, uncompressed
        const QList<quint32> fields{quint8(ico[entry]),     quint8(ico[entry + 1]), quint8(ico[entry + 2]),
                                    le16(ico, entry + 6),   le32(ico, entry + 8),   le32(ico, entry + 12),
                                    le32(ico, offset),      le32(ico, offset + 4),  le32(ico, offset + 8),
                                    le16(ico, offset + 14), le32(ico, offset + 16)};
        QCOMPARE(fields, (QList<quint32>{side, side, 16, 4, imageBytes, offset, 40, side, 2 * side, 4, 0}));
        offset += imageBytes;
    }
    QCOMPARE(offset, quint32(fileBytes));

    QImage icon;
    QVERIFY(icon.load(path));
    QCOMPARE(icon.size(), QSize(32, 32));
    QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
    int opaque = 0;
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x)
            opaque += qAlpha(icon.pixel(x, y)) == 255 ? 1 : 0;
    }
    QVERIFY(opaque > 150);
}

// The splash window shows only the top 61 rows: the maker's name lies there, the product line below.
void TestResources::splash_namesTheMakerInTheVisibleRows()
{
    QImage splash;
    QVERIFY(splash.load(QStringLiteral(":/splash.jpg")));
    QCOMPARE(splash.size(), QSize(379, 117));
    auto bright_pixels = [&splash](int top, int bottom) {
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = 0; x < splash.width(); ++x)
                count += qGray(splash.pixel(x, y)) > 200 ? 1 : 0;
        }
        return count;
    };
    QVERIFY(bright_pixels(0, 61) > 4000);
    QVERIFY(bright_pixels(61, 117) > 1500);
    QCOMPARE(bright_pixels(0, 4), 0); // black border above the name
}

QTEST_MAIN(TestResources)
#include "test_resources.moc"
