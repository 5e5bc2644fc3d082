// Measures the hit areas against the board: for every pixel of the picture clear of the border
// lines, whether a click there scores the right value, a wrong one or nothing, by kind of region.
// Writes a map of the outcomes as a PNG. With --csv it lists the rectangles instead.
// Usage: hit_accuracy [MAP.png] | hit_accuracy --csv

#include "BoardPixels.h"
#include "HitAreas.h"
#include "Twips.h"

#include <QImage>

#include <array>
#include <cstdio>
#include <string_view>

namespace {

enum class Outcome { Correct, Wrong, Nothing };

struct Counts {
    std::array<long, 3> by_outcome{};

    long total() const { return by_outcome[0] + by_outcome[1] + by_outcome[2]; }
    void add(const Counts &other)
    {
        for (std::size_t i = 0; i < by_outcome.size(); ++i)
            by_outcome[i] += other.by_outcome[i];
    }
};

Outcome outcome_at(int x, int y)
{
    const HitArea *area = hit_test(twips::from_pixels(x), twips::from_pixels(y));
    if (area == nullptr)
        return Outcome::Nothing;
    return area->value == board_pixels::true_value(x, y) ? Outcome::Correct : Outcome::Wrong;
}

QRgb colour_of(Outcome outcome, bool measured)
{
    constexpr std::array<QRgb, 3> strong{qRgb(150, 215, 150), qRgb(230, 0, 0), qRgb(0, 80, 255)};
    constexpr std::array<QRgb, 3> pale{qRgb(225, 240, 225), qRgb(255, 170, 170), qRgb(170, 200, 255)};
    const auto i = static_cast<std::size_t>(outcome);
    return measured ? strong[i] : pale[i];
}

void print_row(std::string_view name, const Counts &counts)
{
    const double total = static_cast<double>(counts.total());
    const auto percent = [total](long n) { return total > 0 ? 100.0 * static_cast<double>(n) / total : 0.0; };
    std::printf("%-26.*s %7ld %9.2f%% %8.2f%% %8.2f%%\n", static_cast<int>(name.size()), name.data(), counts.total(),
                percent(counts.by_outcome[0]), percent(counts.by_outcome[1]), percent(counts.by_outcome[2]));
}

int measure(const char *map_path)
{
    QImage map(board::kPictureSize, board::kPictureSize, QImage::Format_RGB32);
    std::array<Counts, board_pixels::kKindCount> by_kind{};
    for (int y = 0; y < board::kPictureSize; ++y) {
        for (int x = 0; x < board::kPictureSize; ++x) {
            const Outcome outcome = outcome_at(x, y);
            const bool measured = board_pixels::is_measured(x, y);
            map.setPixel(x, y, colour_of(outcome, measured));
            if (measured) {
                const auto kind = static_cast<std::size_t>(board_pixels::kind_of(board_pixels::region_at(x, y).ring));
                ++by_kind[kind].by_outcome[static_cast<std::size_t>(outcome)];
            }
        }
    }
    std::printf("Pixels at least %.0f pixels from every ring and segment border\n", board_pixels::kBorderMargin);
    std::printf("%-26s %7s %10s %9s %9s\n", "region", "pixels", "correct", "wrong", "nothing");
    Counts board_face;
    Counts all;
    for (std::size_t k = 0; k < by_kind.size(); ++k) {
        print_row(board_pixels::kKindNames[k], by_kind[k]);
        if (static_cast<board_pixels::Kind>(k) != board_pixels::Kind::Outside)
            board_face.add(by_kind[k]);
        all.add(by_kind[k]);
    }
    print_row("inside the double ring", board_face);
    print_row("all", all);
    if (!map.save(QString::fromLocal8Bit(map_path), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", map_path);
        return 1;
    }
    std::printf("map: %s (green right value, red wrong value, blue nothing; pale near border lines)\n", map_path);
    return 0;
}

void print_csv()
{
    std::printf("group,index,left,top,width,height\n");
    for (const HitArea &area : hit_areas()) {
        std::printf("%.*s,%d,%d,%d,%d,%d\n", static_cast<int>(area.group.size()), area.group.data(), area.index,
                    area.left, area.top, area.width, area.height);
    }
}

} // namespace

int main(int argc, char **argv)
{
    const std::string_view first = argc > 1 ? argv[1] : "";
    if (first == "--csv") {
        print_csv();
        return 0;
    }
    return measure(argc > 1 ? argv[1] : "hit_accuracy.png");
}
