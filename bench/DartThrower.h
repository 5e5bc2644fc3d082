#pragma once

#include <QPoint>

#include <cstdint>
#include <random>
#include <vector>

class QWidget;
class frmmain;
struct Module1;

// Throws random darts at the main window's board by clicking its targets, in a two-player match
// of 501 that it starts at once and again whenever the last one has been won.
class DartThrower {
public:
    DartThrower(frmmain &window, Module1 &settings, std::uint32_t seed = 1);

    struct Dart {
        QPoint at;           // Picture1 pixels
        std::int16_t points; // what the board should enter for it
    };

    // The next dart; a won match is replaced by a new one first.
    Dart next();
    void click(const Dart &dart);
    QWidget &board() const { return *board_; }
    int matches_started() const { return matches_started_; }

private:
    void start_match();

    frmmain &window_;
    Module1 &settings_;
    QWidget *board_;
    std::vector<Dart> targets_;
    std::mt19937 random_;
    int matches_started_ = 0;
};
