#include "ProbeReport.h"

#include "BenchFigures.h"
#include "FirstPaintProbe.h"
#include "IdleMeter.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <cstdio>
#include <cstdlib>

namespace probe_report {

void value(std::string_view key, double value)
{
    std::printf("%.*s %.0f\n", static_cast<int>(key.size()), key.data(), value);
    std::fflush(stdout);
}

bool startup(std::int64_t main_ns, const FirstPaintProbe &probe)
{
    const QDeadlineTimer deadline(10'000);
    while (!probe.painted() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    if (!probe.painted())
        return false;
    value("main_ns", static_cast<double>(main_ns));
    value("paint_ns", static_cast<double>(probe.paint_started_ns()));
    value("painted_ns", static_cast<double>(probe.painted_ns()));
    value("hwm_kb", static_cast<double>(bench::status_kb("VmHWM")));
    value("rss_kb", static_cast<double>(bench::status_kb("VmRSS")));
    value("anon_kb", static_cast<double>(bench::status_kb("RssAnon")));
    value("file_kb", static_cast<double>(bench::status_kb("RssFile")));
    return true;
}

void idle(int ms)
{
    IdleMeter meter;
    meter.measure(std::chrono::milliseconds(500)); // let deferred deletes and late events settle
    const IdleMeter::Result result = meter.measure(std::chrono::milliseconds(ms));
    value("idle_ms", ms);
    value("idle_cpu_us", result.cpu_ms * 1000.0);
    value("idle_timer_events", static_cast<double>(result.timer_events));
    value("idle_other_events", static_cast<double>(result.other_events));
    value("idle_wakeups", static_cast<double>(result.wakeups));
}

int option(int argc, char **argv, std::string_view name)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (name == argv[i])
            return std::atoi(argv[i + 1]);
    }
    return 0;
}

} // namespace probe_report
