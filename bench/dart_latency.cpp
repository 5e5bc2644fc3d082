// Time from a click on the board to the status bar showing the dart, with sound off, over
// thousands of darts in matches that start again when won; against a click on a plain widget
// that sets a label's text, measured the same way, in the same process, in alternating blocks.
// Two figures per dart: until the click has been handled (the panel's text has changed) and until
// the paint pass that shows the new text has returned. Darts that end in a notice (bust or win)
// wait for the notice to be answered and are reported on their own.
// Usage: dart_latency [DARTS]

#include "BenchFigures.h"
#include "DartThrower.h"
#include "ModalCloser.h"
#include "Module1.h"
#include "PaintCounter.h"
#include "ReferenceClickPad.h"
#include "StatusBar.h"
#include "SyntheticClick.h"
#include "SoundPlayer.h"
#include "frmmain.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

#include <cstdlib>
#include <functional>

namespace {

constexpr int kBlock = 100;
constexpr char kBlank[] = "-";

struct Samples {
    std::vector<double> handled_ms;
    std::vector<double> painted_ms;
    std::vector<double> notice_ms;
    int wrong = 0; // clicks that did not show what they should have
};

struct Target {
    QLabel &label;
    std::function<void()> blank;    // puts kBlank in the label, so every dart changes it
    std::function<QString()> click; // clicks, returns the text the label should now show
    PaintCounter paints{label};
};

double ms_since(std::int64_t start_ns)
{
    return static_cast<double>(bench::now_ns() - start_ns) / 1e6;
}

void measure_dart(Target &target, const ModalCloser &closer, Samples &samples)
{
    target.blank();
    target.paints.wait_for_paint();
    const int notices = closer.answered();

    const std::int64_t start = bench::now_ns();
    const QString expected = target.click();
    const double handled = ms_since(start);
    if (closer.answered() != notices) {
        // The notice's own loop has painted the panel already; the dart is shown with the notice.
        samples.notice_ms.push_back(handled);
        samples.wrong += target.label.text() != expected;
        return;
    }
    const bool painted = target.paints.wait_for_paint();
    const double shown = ms_since(start);
    if (!painted || target.label.text() != expected) {
        ++samples.wrong;
        return;
    }
    samples.handled_ms.push_back(handled);
    samples.painted_ms.push_back(shown);
}

void print(const char *name, const std::vector<double> &ours, const std::vector<double> &reference)
{
    bench::print_figure(std::string(name) + "_p50", bench::median(ours), "ms", bench::median(reference));
    bench::print_figure(std::string(name) + "_p99", bench::percentile(ours, 99), "ms",
                        bench::percentile(reference, 99));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int darts = argc > 1 ? std::max(std::atoi(argv[1]), kBlock) : 3000;

    SoundPlayer sound;
    Module1 settings; // sound_on stays false
    frmmain window(settings, sound);
    window.move(0, 0);
    window.show();
    ReferenceClickPad pad;
    pad.move(window.frameGeometry().right() + 20, 0);
    pad.show();
    if (!QTest::qWaitForWindowExposed(&window) || !QTest::qWaitForWindowExposed(&pad))
        return 1;

    ModalCloser closer;
    DartThrower thrower(window, settings);
    auto *bar = window.findChild<StatusBar *>(QStringLiteral("StatusBar1"));
    Target ours{*bar->panel(Match::kHitPanel),
                [bar] { bar->set_panel_text(Match::kHitPanel, QString::fromLatin1(kBlank)); },
                [&thrower, &window] {
                    const DartThrower::Dart dart = thrower.next();
                    const bool last_of_turn = window.match().darts_thrown == Match::kDartsPerTurn - 1;
                    thrower.click(dart);
                    return last_of_turn ? QStringLiteral("0") : QString::number(dart.points);
                }};
    int reference_count = 0;
    Target reference{pad.label(), [&pad] { pad.label().setText(QString::fromLatin1(kBlank)); },
                     [&pad, &reference_count] {
                         synthetic_click(pad.pad(), pad.pad().rect().center());
                         return QString::number(reference_count++ % 61);
                     }};

    Samples ours_samples, reference_samples;
    for (int done = 0; done < darts; done += kBlock) {
        for (int i = 0; i < kBlock; ++i)
            measure_dart(ours, closer, ours_samples);
        for (int i = 0; i < kBlock; ++i)
            measure_dart(reference, closer, reference_samples);
    }

    print("dart_handled", ours_samples.handled_ms, reference_samples.handled_ms);
    print("dart_painted", ours_samples.painted_ms, reference_samples.painted_ms);
    bench::print_figure("dart_with_notice_p50", bench::median(ours_samples.notice_ms), "ms");
    bench::print_figure("dart_with_notice_count", static_cast<double>(ours_samples.notice_ms.size()), "darts");
    bench::print_figure("dart_measured_count", static_cast<double>(ours_samples.painted_ms.size()), "darts",
                        static_cast<double>(reference_samples.painted_ms.size()));
    bench::print_figure("dart_matches_played", thrower.matches_started(), "matches");
    bench::print_figure("dart_wrong_count", ours_samples.wrong + reference_samples.wrong, "darts");
    return ours_samples.wrong + reference_samples.wrong == 0 ? 0 : 1;
}
