// The reference for the start-up, memory and idle figures: a Qt program that shows one empty
// window of the main window's size, probed exactly as the program's start-up probe is.
// Options: --idle MS (stay idle that long after the first paint and report it).

#include "BenchFigures.h"
#include "FirstPaintProbe.h"
#include "ProbeReport.h"
#include "Twips.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    const std::int64_t main_ns = bench::now_ns();
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(twips::size(10815, 7620));
    FirstPaintProbe probe(window);
    window.show();
    if (!probe_report::startup(main_ns, probe))
        return 1;
    if (const int idle_ms = probe_report::option(argc, argv, "--idle"))
        probe_report::idle(idle_ms);
    return 0;
}
