#include "BoardGeometry.h"
#include "BoardPixels.h"
#include "HitAreas.h"
#include "Twips.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>
#include <numbers>

namespace {

const std::vector<std::string> kGroupsTopDown{
    "miss",  "sin15", "sin10", "sin2",  "sin17", "sin13", "sin4",    "sin18", "sin1",  "sin5",  "sin12",
    "sin9",  "sin14", "sin8",  "sin16", "tri18", "tri4",  "tri9",    "tri12", "tri5",  "tri1",  "tri13",
    "tri14", "tri8",  "tri16", "tri10", "tri15", "tri2",  "tri17",   "tri6",  "dbl17", "dbl2",  "dbl15",
    "dbl10", "dbl13", "dbl4",  "dbl18", "dbl1",  "dbl5",  "dbl12",   "dbl9",  "dbl14", "dbl8",  "dbl16",
    "tri7",  "sin7",  "dbl7",  "tri19", "dbl19", "sin19", "dbl6",    "sin6",  "dbl11", "tri11", "sin11",
    "sin3",  "tri3",  "dbl3",  "sin20", "tri20", "dbl20", "dblbull", "bull"};

constexpr int kSingles[21]{0, 5, 7, 2, 11, 4, 2, 6, 4, 7, 6, 2, 6, 7, 4, 8, 7, 6, 8, 5, 2};
constexpr int kDoubles[21]{0, 3, 3, 1, 3, 3, 1, 4, 3, 3, 3, 1, 4, 3, 3, 3, 3, 2, 3, 2, 1};
constexpr int kNothing = -1;

int twips_of(double pixels)
{
    return static_cast<int>(std::lround(pixels * twips::kPerPixel));
}

// The twips point at a radius on the centre line of a segment.
QPoint polar_point(double radius, int number)
{
    const auto at = std::ranges::find(board::kSegmentOrder, number) - board::kSegmentOrder.begin();
    const double radians = static_cast<double>(at) * board::kSegmentDegrees * std::numbers::pi / 180.0;
    return {twips_of(board::kCentre + radius * std::sin(radians)),
            twips_of(board::kCentre - radius * std::cos(radians))};
}

} // namespace

class TestHitAreas : public QObject {
    Q_OBJECT
private slots:
    void eachGroupHasItsCountAndValue_data();
    void eachGroupHasItsCountAndValue();
    void groupsAreStackedInTheDesignedOrder();
    void representativeRectanglesSitWhereDesigned_data();
    void representativeRectanglesSitWhereDesigned();
    void clickScoresTheValueUnderIt_data();
    void clickScoresTheValueUnderIt();
    void clickOutsideThePictureHitsNothing_data();
    void clickOutsideThePictureHitsNothing();
    void noClearPixelScoresAWrongValue();
};

void TestHitAreas::eachGroupHasItsCountAndValue_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("value");
    for (int n = 1; n <= 20; ++n) {
        const std::string number = std::to_string(n);
        QTest::newRow(("sin" + number).c_str()) << QString::fromStdString("sin" + number) << kSingles[n] << n;
        QTest::newRow(("tri" + number).c_str()) << QString::fromStdString("tri" + number) << 1 << 3 * n;
        QTest::newRow(("dbl" + number).c_str()) << QString::fromStdString("dbl" + number) << kDoubles[n] << 2 * n;
    }
    QTest::newRow("bull") << "bull" << 1 << 25;
    QTest::newRow("dblbull") << "dblbull" << 1 << 50;
    QTest::newRow("miss") << "miss" << 25 << 0;
}

void TestHitAreas::eachGroupHasItsCountAndValue()
{
    QFETCH(QString, group);
    QFETCH(int, count);
    QFETCH(int, value);
    const std::string name = group.toStdString();
    int found = 0;
    for (const HitArea &area : hit_areas()) {
        if (area.group == name) {
            ++found;
            QCOMPARE(area.value, value);
        }
    }
    QCOMPARE(found, count);
    QCOMPARE(hit_areas().size(), std::size_t{208});
}

void TestHitAreas::groupsAreStackedInTheDesignedOrder()
{
    std::vector<std::string> runs;
    for (const HitArea &area : hit_areas()) {
        if (runs.empty() || runs.back() != area.group)
            runs.emplace_back(area.group);
    }
    QCOMPARE(runs, kGroupsTopDown);
}

void TestHitAreas::representativeRectanglesSitWhereDesigned_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<int>("index");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("dblbull") << "dblbull" << -1 << QRect(3420, 3420, 375, 375);
    QTest::newRow("bull") << "bull" << -1 << QRect(3195, 3195, 825, 825);
    QTest::newRow("sin20 inner") << "sin20" << 1 << QRect(3465, 2340, 285, 780);
    QTest::newRow("tri20") << "tri20" << -1 << QRect(3375, 2115, 465, 240);
    QTest::newRow("sin20 outer") << "sin20" << 0 << QRect(3285, 1170, 645, 915);
    QTest::newRow("dbl20") << "dbl20" << -1 << QRect(3195, 900, 825, 285);
    QTest::newRow("miss above 20") << "miss" << 0 << QRect(1980, 90, 3390, 780);
}

void TestHitAreas::representativeRectanglesSitWhereDesigned()
{
    QFETCH(QString, group);
    QFETCH(int, index);
    QFETCH(QRect, rect);
    const std::string name = group.toStdString();
    const auto areas = hit_areas();
    const auto found = std::ranges::find_if(
        areas, [&](const HitArea &area) { return area.group == name && area.index == index; });
    QVERIFY(found != areas.end());
    QCOMPARE(QRect(found->left, found->top, found->width, found->height), rect);
}

void TestHitAreas::clickScoresTheValueUnderIt_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("value");
    QTest::newRow("inner bull, though bull lies under it") << QPoint(3600, 3600) << 50;
    QTest::newRow("outer bull") << polar_point((board::kInnerBullEdge + board::kOuterBullEdge) / 2.0, 20) << 25;
    for (const int n : board::kSegmentOrder) {
        const std::string number = std::to_string(n);
        const double inner_single = (board::kOuterBullEdge + board::kInnerSingleEdge) / 2.0;
        const double treble = (board::kInnerSingleEdge + board::kTrebleEdge) / 2.0;
        const double outer_single = (board::kTrebleEdge + board::kOuterSingleEdge) / 2.0;
        const double dbl = (board::kOuterSingleEdge + board::kDoubleEdge) / 2.0;
        QTest::newRow(("inner single " + number).c_str()) << polar_point(inner_single, n) << n;
        QTest::newRow(("treble " + number).c_str()) << polar_point(treble, n) << 3 * n;
        QTest::newRow(("outer single " + number).c_str()) << polar_point(outer_single, n) << n;
        QTest::newRow(("double " + number).c_str()) << polar_point(dbl, n) << 2 * n;
    }
    QTest::newRow("number ring above the 20")
        << polar_point((board::kNumberInner + board::kNumberOuter) / 2.0, 20) << 0;
    QTest::newRow("gap between the misses, upper left") << QPoint(twips_of(113), twips_of(88)) << kNothing;
    QTest::newRow("last pixel of the picture") << QPoint(7199, 7199) << 0;
}

void TestHitAreas::clickScoresTheValueUnderIt()
{
    QFETCH(QPoint, point);
    QFETCH(int, value);
    const HitArea *area = hit_test(point.x(), point.y());
    QCOMPARE(area ? area->value : kNothing, value);
}

void TestHitAreas::clickOutsideThePictureHitsNothing_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::newRow("left of the top-left corner") << QPoint(-1, 30);
    QTest::newRow("above the top-left corner") << QPoint(30, -1);
    QTest::newRow("right edge") << QPoint(7200, 3600);
    QTest::newRow("bottom edge") << QPoint(3600, 7200);
    QTest::newRow("beyond the bottom-right corner") << QPoint(7230, 7230);
}

void TestHitAreas::clickOutsideThePictureHitsNothing()
{
    QFETCH(QPoint, point);
    const auto areas = hit_areas();
    const bool on_an_area = std::ranges::any_of(
        areas, [&](const HitArea &area) { return area.contains(point.x(), point.y()); });
    QVERIFY2(on_an_area, "the point should lie on a miss area that reaches past the picture");
    QCOMPARE(hit_test(point.x(), point.y()), nullptr);
}

// Away from the printed border lines every click scores its region's value or nothing. The
// only exception is forced by the inner bull's square, whose corners reach into the outer bull.
void TestHitAreas::noClearPixelScoresAWrongValue()
{
    int forced = 0;
    for (int y = 0; y < board::kPictureSize; ++y) {
        for (int x = 0; x < board::kPictureSize; ++x) {
            const HitArea *area = hit_test(twips::from_pixels(x), twips::from_pixels(y));
            if (area == nullptr || !board_pixels::is_measured(x, y) || area->value == board_pixels::true_value(x, y))
                continue;
            QVERIFY2(area->group == "dblbull" && board::region_at(x, y).ring == board::Ring::OuterBull,
                     qPrintable(QString("pixel %1,%2").arg(x).arg(y)));
            ++forced;
        }
    }
    QVERIFY(forced < 60);
}

QTEST_APPLESS_MAIN(TestHitAreas)
#include "test_hitareas.moc"
