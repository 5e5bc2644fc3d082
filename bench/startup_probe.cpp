// Starts the program as its main() does and reports when its main window is first painted, the
// memory it then holds, and optionally how it idles and what a long match costs in memory.
// Options: --splash MS (splash timer interval, default 50), --idle MS, --darts N.

#include "ApplicationSetup.h"
#include "BenchFigures.h"
#include "DartThrower.h"
#include "FirstPaintProbe.h"
#include "FontConfigWarmUp.h"
#include "ModalCloser.h"
#include "Module1.h"
#include "ProbeReport.h"
#include "SystemSound.h"
#include "frmmain.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QIcon>

namespace {

void sound_off(frmmain &window)
{
    auto *sound = window.findChild<QAction *>(QStringLiteral("mnusound"));
    if (sound && sound->isChecked())
        sound->trigger();
}

// The device check answers while the splash is up; the menu shows the answer.
bool sound_device(frmmain &window)
{
    auto *sound = window.findChild<QAction *>(QStringLiteral("mnusound"));
    const QDeadlineTimer wait(5000);
    while (sound->isEnabled() && !sound->isChecked() && !wait.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return sound->isChecked();
}

void throw_darts(frmmain &window, Module1 &settings, int darts)
{
    sound_device(window);
    sound_off(window);
    DartThrower thrower(window, settings);
    probe_report::value("darts_rss_before_kb", static_cast<double>(bench::status_kb("VmRSS")));
    constexpr int kWarmUp = 100; // the notice and the first match are built on first use
    for (int dart = 1; dart <= darts; ++dart) {
        thrower.click(thrower.next());
        QCoreApplication::processEvents();
        if (dart == kWarmUp)
            probe_report::value("darts_rss_warm_kb", static_cast<double>(bench::status_kb("VmRSS")));
    }
    probe_report::value("darts_rss_after_kb", static_cast<double>(bench::status_kb("VmRSS")));
    probe_report::value("darts_hwm_kb", static_cast<double>(bench::status_kb("VmHWM")));
    probe_report::value("darts_matches", thrower.matches_started());
}

} // namespace

int main(int argc, char **argv)
{
    const std::int64_t main_ns = bench::now_ns();
    FontConfigWarmUp fonts;
    QApplication app(argc, argv);
    setup_application();
    fonts.wait();

    const std::unique_ptr<SoundInterface> sound = make_system_sound();
    Module1 settings;
    frmmain window(settings, *sound);
    FirstPaintProbe probe(window);
    ModalCloser closer;
    const int splash_ms = probe_report::option(argc, argv, "--splash");
    window.Form_Load(splash_ms > 0 ? splash_ms : 50);
    if (!probe_report::startup(main_ns, probe))
        return 1;
    probe_report::value("sound_device", sound_device(window) ? 1 : 0);
    if (const int idle_ms = probe_report::option(argc, argv, "--idle"))
        probe_report::idle(idle_ms);
    if (const int darts = probe_report::option(argc, argv, "--darts"))
        throw_darts(window, settings, darts);
    return 0;
}
