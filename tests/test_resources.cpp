// The embedded pictures, icons and sounds: formats, sizes and the board's colours.

#include "BoardGeometry.h"

#include <QFile>
#include <QImage>
#include <QResource>
#include <QSet>
#include <QTemporaryFile>
#include <QtTest>
#include <cmath>
#include <numbers>

namespace {

QByteArray read_resource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

quint32 le16(const QByteArray& bytes, qsizetype at)
{
    return static_cast<quint8>(bytes[at]) | static_cast<quint8>(bytes[at + 1]) << 8;
}

quint32 le32(const QByteArray& bytes, qsizetype at)
{
    return le16(bytes, at) | le16(bytes, at + 2) << 16;
}

qint32 le32s(const QByteArray& bytes, qsizetype at)
{
    return static_cast<qint32>(le32(bytes, at));
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
    const board::Region region = board::region_at(x, y);
    const bool dark = board::segment_is_dark(board::segment_index(board::angle_of(x, y)));
    switch (region.ring) {
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

// Distance in pixels from the nearest segment border line, along the arc.
double distance_from_segment_border(int x, int y)
{
    const double degrees = std::fmod(board::angle_of(x, y) + board::kSegmentDegrees / 2.0, board::kSegmentDegrees);
    const double off = std::min(degrees, board::kSegmentDegrees - degrees);
    return board::radius_of(x, y) * std::sin(off * std::numbers::pi / 180.0);
}

double distance_from_ring_border(double radius)
{
    double nearest = 1e9;
    for (const double edge : {board::kInnerBullEdge, board::kOuterBullEdge, board::kInnerSingleEdge, board::kTrebleEdge,
                              board::kOuterSingleEdge, board::kDoubleEdge})
        nearest = std::min(nearest, std::abs(radius - edge));
    return nearest;
}

} // namespace

class TestResources : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void soundImage_writtenOut_isValidWaveFile_data();
    void soundImage_writtenOut_isValidWaveFile();
    void soundImage_isAudibleAndUnclipped_data();
    void soundImage_isAudibleAndUnclipped();

    void boardBitmap_headerIsPalettedUncompressedBottomUp();
    void boardPixel_hasZoneColour_data();
    void boardPixel_hasZoneColour();
    void boardPixels_useOnlyTheSevenColours();
    void boardRegions_matchTheHitGeometry();
    void boardNumbers_standInTheirBandOnEverySegment();

    void iconFile_headersMatchImages_data();
    void iconFile_headersMatchImages();
    void iconFile_loadsWithTransparentCorner_data();
    void iconFile_loadsWithTransparentCorner();

    void splash_isBaselineJfifAt96Dpi();
    void splash_namesTheMakerInTheVisibleRows();

private:
    QImage board_;
    QByteArray boardBytes_;
};

void TestResources::initTestCase()
{
    boardBytes_ = read_resource(QStringLiteral(":/board.bmp"));
    QVERIFY(board_.load(QStringLiteral(":/board.bmp")));
    board_ = board_.convertToFormat(QImage::Format_RGB32);
}

void TestResources::soundImage_writtenOut_isValidWaveFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("fileBytes");
    QTest::addColumn<int>("dataBytes");
    QTest::addColumn<double>("seconds");
    QTest::newRow("HIT") << "HIT" << 3628 << 3584 << 0.33;
    QTest::newRow("SHOTGUN") << "SHOTGUN" << 8428 << 8384 << 0.76;
    QTest::newRow("EXPLOSION, odd data with pad byte") << "EXPLOSION" << 16032 << 15987 << 1.45;
}

void TestResources::soundImage_writtenOut_isValidWaveFile()
{
    QFETCH(QString, name);
    QFETCH(int, fileBytes);
    QFETCH(int, dataBytes);
    QFETCH(double, seconds);

    // Played straight from memory, so the stored bytes must be the file itself.
    QResource resource(QStringLiteral(":/WAVE/") + name);
    QVERIFY(resource.isValid());
    QCOMPARE(resource.compressionAlgorithm(), QResource::NoCompression);

    QTemporaryFile file;
    QVERIFY(file.open());
    file.write(read_resource(resource.fileName()));
    file.seek(0);
    const QByteArray wave = file.readAll();

    QCOMPARE(wave.size(), fileBytes);
    QCOMPARE(wave.left(4), QByteArray("RIFF"));
    QCOMPARE(le32(wave, 4), quint32(fileBytes - 8));
    QCOMPARE(wave.mid(8, 4), QByteArray("WAVE"));
    QCOMPARE(wave.mid(12, 4), QByteArray("fmt "));
    QCOMPARE(le32(wave, 16), 16u);
    QCOMPARE(le16(wave, 20), 1u);     // PCM
    QCOMPARE(le16(wave, 22), 1u);     // mono
    QCOMPARE(le32(wave, 24), 11025u); // samples per second
    QCOMPARE(le32(wave, 28), 11025u); // bytes per second
    QCOMPARE(le16(wave, 32), 1u);     // block align
    QCOMPARE(le16(wave, 34), 8u);     // bits per sample
    QCOMPARE(wave.mid(36, 4), QByteArray("data"));
    QCOMPARE(le32(wave, 40), quint32(dataBytes));
    const int padded = dataBytes + dataBytes % 2;
    QCOMPARE(44 + padded, fileBytes); // nothing after the data chunk
    if (padded != dataBytes)
        QCOMPARE(wave.at(fileBytes - 1), '\0');
    QCOMPARE(std::round(dataBytes / 11025.0 * 100.0) / 100.0, seconds);
}

void TestResources::soundImage_isAudibleAndUnclipped_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("HIT") << "HIT";
    QTest::newRow("SHOTGUN") << "SHOTGUN";
    QTest::newRow("EXPLOSION") << "EXPLOSION";
}

void TestResources::soundImage_isAudibleAndUnclipped()
{
    QFETCH(QString, name);
    const QByteArray wave = read_resource(QStringLiteral(":/WAVE/") + name);
    QVERIFY(wave.size() > 44);
    const QByteArray samples = wave.mid(44, le32(wave, 40));
    int lowest = 255;
    int highest = 0;
    for (const char sample : samples) {
        lowest = std::min(lowest, int(static_cast<quint8>(sample)));
        highest = std::max(highest, int(static_cast<quint8>(sample)));
    }
    QVERIFY2(lowest > 0 && highest < 255, "samples reach the rails");
    QVERIFY2(highest - lowest > 128, "too quiet");
    QVERIFY(std::abs(int(static_cast<quint8>(samples.back())) - 128) <= 1); // ends in silence, no click
}

void TestResources::boardBitmap_headerIsPalettedUncompressedBottomUp()
{
    const QByteArray& bmp = boardBytes_;
    QCOMPARE(bmp.size(), 231478);
    QCOMPARE(bmp.left(2), QByteArray("BM"));
    QCOMPARE(le32(bmp, 2), 231478u);
    QCOMPARE(le32(bmp, 10), 14u + 40u + 1024u); // pixels right after the colour table
    QCOMPARE(le32(bmp, 14), 40u);               // BITMAPINFOHEADER
    QCOMPARE(le32s(bmp, 18), 480);
    QCOMPARE(le32s(bmp, 22), 480); // positive height: bottom-up
    QCOMPARE(le16(bmp, 26), 1u);
    QCOMPARE(le16(bmp, 28), 8u);
    QCOMPARE(le32(bmp, 30), 0u); // BI_RGB
    QCOMPARE(le32(bmp, 46), 256u);
    QCOMPARE(board_.size(), QSize(480, 480));
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
    QTest::newRow("20 outer single") << 130.0 << 0.0 << kBlack;
    QTest::newRow("1 outer single") << 130.0 << 18.0 << kCream;
    QTest::newRow("1 inner single") << 60.0 << 18.0 << kCream;
    QTest::newRow("20 treble") << 92.0 << 0.0 << kRed;
    QTest::newRow("1 treble") << 92.0 << 18.0 << kGreen;
    QTest::newRow("20 double") << 172.0 << 0.0 << kRed;
    QTest::newRow("1 double") << 172.0 << 18.0 << kGreen;
    QTest::newRow("3 inner single") << 60.0 << 180.0 << kBlack;
    QTest::newRow("6 outer single") << 130.0 << 90.0 << kCream;
    QTest::newRow("5 double") << 172.0 << 342.0 << kGreen;
    QTest::newRow("number ring between numbers") << 186.0 << 45.0 << kBlack;
    QTest::newRow("number ring near edge") << 236.0 << 9.0 << kBlack;
    QTest::newRow("corner") << 330.0 << 315.0 << kLightGrey;
    QTest::newRow("beyond the edge on the axis") << 240.0 << 0.0 << kLightGrey;
}

void TestResources::boardPixel_hasZoneColour()
{
    QFETCH(double, radius);
    QFETCH(double, degrees);
    QFETCH(QColor, colour);
    const QPoint point = polar(radius, degrees);
    QCOMPARE(board_.pixelColor(point), colour);
}

void TestResources::boardPixels_useOnlyTheSevenColours()
{
    const QSet<QRgb> allowed{kBlack.rgb(), kLightGrey.rgb(), kCream.rgb(), kRed.rgb(),
                             kGreen.rgb(), kDarkGrey.rgb(), kMidGrey.rgb()};
    QSet<QRgb> seen;
    for (int y = 0; y < board_.height(); ++y) {
        for (int x = 0; x < board_.width(); ++x)
            seen.insert(board_.pixel(x, y));
    }
    QCOMPARE(seen, allowed);
}

// Away from the border lines and numbers every pixel has its region's colour, so the picture
// and the hit areas laid from the same geometry agree.
void TestResources::boardRegions_matchTheHitGeometry()
{
    int checked = 0;
    for (int y = 0; y < board_.height(); ++y) {
        for (int x = 0; x < board_.width(); ++x) {
            const double r = board::radius_of(x, y);
            if (r > board::kNumberInner - 4.0 && r < board::kNumberOuter + 4.0)
                continue;
            if (distance_from_ring_border(r) < 1.5 || std::abs(r - board::kBoardEdge) < 1.5)
                continue;
            if (r > board::kOuterBullEdge && r < board::kDoubleEdge && distance_from_segment_border(x, y) < 1.5)
                continue;
            if (board_.pixelColor(x, y) != zone_colour(x, y))
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            ++checked;
        }
    }
    QVERIFY(checked > 150000); // most of the picture
}

void TestResources::boardNumbers_standInTheirBandOnEverySegment()
{
    std::array<int, 20> glyphPixels{};
    for (int y = 0; y < board_.height(); ++y) {
        for (int x = 0; x < board_.width(); ++x) {
            if (board_.pixelColor(x, y) != kLightGrey)
                continue;
            const double r = board::radius_of(x, y);
            if (r >= board::kBoardEdge)
                continue;
            QVERIFY2(r >= board::kNumberInner && r <= board::kNumberOuter,
                     qPrintable(QStringLiteral("number pixel at radius %1").arg(r)));
            ++glyphPixels[static_cast<std::size_t>(board::segment_index(board::angle_of(x, y)))];
        }
    }
    for (std::size_t i = 0; i < glyphPixels.size(); ++i)
        QVERIFY2(glyphPixels[i] > 60, qPrintable(QStringLiteral("segment %1 has no number").arg(board::kSegmentOrder[i])));
}

void TestResources::iconFile_headersMatchImages_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("fileBytes");
    QTest::addColumn<QList<int>>("sides");
    QTest::newRow("dart") << ":/icons/dart.ico" << 766 << QList<int>{32};
    QTest::newRow("dollar") << ":/icons/dollar.ico" << 766 << QList<int>{32};
    QTest::newRow("smiley") << ":/icons/smiley.ico" << 1078 << QList<int>{32, 16};
}

void TestResources::iconFile_headersMatchImages()
{
    QFETCH(QString, path);
    QFETCH(int, fileBytes);
    QFETCH(QList<int>, sides);
    const QByteArray ico = read_resource(path);
    QCOMPARE(ico.size(), fileBytes);
    QCOMPARE(le16(ico, 0), 0u);
    QCOMPARE(le16(ico, 2), 1u); // icon, not cursor
    QCOMPARE(le16(ico, 4), quint32(sides.size()));
    quint32 expectedOffset = 6 + 16 * quint32(sides.size());
    for (qsizetype i = 0; i < sides.size(); ++i) {
        const qsizetype entry = 6 + 16 * i;
        const int side = sides[i];
        const quint32 rowBytes = quint32((side * 4 + 31) / 32 * 4);
        const quint32 maskRowBytes = quint32((side + 31) / 32 * 4);
        const quint32 imageBytes = 40 + 16 * 4 + (rowBytes + maskRowBytes) * quint32(side);
        QCOMPARE(int(static_cast<quint8>(ico[entry])), side);
        QCOMPARE(int(static_cast<quint8>(ico[entry + 1])), side);
        QCOMPARE(int(static_cast<quint8>(ico[entry + 2])), 16);
        QCOMPARE(le16(ico, entry + 6), 4u);
        QCOMPARE(le32(ico, entry + 8), imageBytes);
        const quint32 offset = le32(ico, entry + 12);
        QCOMPARE(offset, expectedOffset);
        QCOMPARE(le32(ico, offset), 40u);
        QCOMPARE(le32s(ico, offset + 4), side);
        QCOMPARE(le32s(ico, offset + 8), 2 * side); // colour image and AND mask
        QCOMPARE(le16(ico, offset + 14), 4u);
        QCOMPARE(le32(ico, offset + 16), 0u);
        expectedOffset += imageBytes;
    }
    QCOMPARE(expectedOffset, quint32(fileBytes));
}

void TestResources::iconFile_loadsWithTransparentCorner_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("dart") << ":/icons/dart.ico";
    QTest::newRow("dollar") << ":/icons/dollar.ico";
    QTest::newRow("smiley") << ":/icons/smiley.ico";
}

void TestResources::iconFile_loadsWithTransparentCorner()
{
    QFETCH(QString, path);
    QImage icon;
    QVERIFY(icon.load(path));
    QCOMPARE(icon.size(), QSize(32, 32));
    QVERIFY(icon.hasAlphaChannel());
    QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
    int opaque = 0;
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x)
            opaque += qAlpha(icon.pixel(x, y)) == 255 ? 1 : 0;
    }
    QVERIFY(opaque > 150);
}

void TestResources::splash_isBaselineJfifAt96Dpi()
{
    const QByteArray jpeg = read_resource(QStringLiteral(":/splash.jpg"));
    QVERIFY(jpeg.startsWith("\xFF\xD8\xFF\xE0"));
    QCOMPARE(jpeg.mid(6, 5), QByteArray("JFIF\0", 5));
    QCOMPARE(jpeg.mid(11, 2), QByteArray("\x01\x01", 2)); // version 1.01
    QCOMPARE(int(jpeg[13]), 1);                           // dots per inch
    QCOMPARE(int(jpeg[14]) << 8 | int(jpeg[15]), 96);
    const qsizetype frame = jpeg.indexOf("\xFF\xC0");
    QVERIFY(frame > 0);
    QCOMPARE(jpeg.indexOf("\xFF\xC2"), -1); // not progressive
    QCOMPARE(int(jpeg[frame + 9]), 3);      // components

    QImage splash;
    QVERIFY(splash.load(QStringLiteral(":/splash.jpg")));
    QCOMPARE(splash.size(), QSize(379, 117));
}

// The splash window shows only the top 61 rows: the maker's name lies there, the product line below.
void TestResources::splash_namesTheMakerInTheVisibleRows()
{
    QImage splash(QStringLiteral(":/splash.jpg"));
    QVERIFY(!splash.isNull());
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
