// Start-up, memory and idle figures of the program against a minimal Qt window, both started as
// fresh processes by this launcher and probed the same way. Runs them alternately, prints medians.
// Usage: startup_bench [RUNS] [IDLE_MS] [DARTS] [SUFFIX]; the probes are looked for next to this program.
// With SUFFIX only the start-up lines are printed, their names ending in "_SUFFIX" (the same start-up
// with another sound server, say).

#include "BenchFigures.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

extern char **environ;

namespace {

using Report = std::map<std::string, double>;

struct Run {
    std::int64_t spawned_ns = 0;
    Report report;
};

// Starts `program` with `arguments`, collects its "key value" lines; the clock starts just before the spawn.
bool run(const std::filesystem::path &program, const std::vector<std::string> &arguments, Run &result)
{
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (std::string &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    result.spawned_ns = bench::now_ns();
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipe_ends[1]);
    if (spawned != 0) {
        close(pipe_ends[0]);
        return false;
    }
    std::string output;
    char buffer[4096];
    for (ssize_t n; (n = read(pipe_ends[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<std::size_t>(n));
    close(pipe_ends[0]);
    int status = 0;
    waitpid(child, &status, 0);
    std::istringstream lines(output);
    std::string key;
    double value = 0;
    while (lines >> key >> value)
        result.report[key] = value;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && result.report.count("paint_ns") == 1;
}

double ms_between(std::int64_t from_ns, double to_ns)
{
    return (to_ns - static_cast<double>(from_ns)) / 1e6;
}

struct Series {
    std::vector<double> exec_to_main, first_paint, painted, main_to_paint, hwm_mb, anon_mb, file_mb;

    void add(const Run &run)
    {
        const Report &r = run.report;
        exec_to_main.push_back(ms_between(run.spawned_ns, r.at("main_ns")));
        first_paint.push_back(ms_between(run.spawned_ns, r.at("paint_ns")));
        painted.push_back(ms_between(run.spawned_ns, r.at("painted_ns")));
        main_to_paint.push_back((r.at("paint_ns") - r.at("main_ns")) / 1e6);
        hwm_mb.push_back(r.at("hwm_kb") / 1024.0);
        anon_mb.push_back(r.at("anon_kb") / 1024.0);
        file_mb.push_back(r.at("file_kb") / 1024.0);
    }
};

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 11;
    const int idle_ms = argc > 2 ? std::atoi(argv[2]) : 10'000;
    const int darts = argc > 3 ? std::atoi(argv[3]) : 1000;
    const std::string suffix = argc > 4 ? std::string("_") + argv[4] : std::string();
    const auto here = std::filesystem::canonical("/proc/self/exe").parent_path();
    const auto program = here / "startup_probe";
    const auto minimal = here / "minimal_window";

    Series ours, reference;
    Run warm_up;
    if (!run(program, {}, warm_up) || !run(minimal, {}, warm_up)) { // also fills the page cache
        std::fprintf(stderr, "startup_bench: a probe failed to start or to paint\n");
        return 1;
    }
    for (int i = 0; i < runs; ++i) {
        Run a, b;
        if (!run(program, {}, a) || !run(minimal, {}, b))
            return 1;
        ours.add(a);
        reference.add(b);
    }
    using bench::median;
    using bench::print_figure;
    print_figure("startup_first_paint" + suffix, median(ours.first_paint), "ms", median(reference.first_paint));
    print_figure("startup_painted" + suffix, median(ours.painted), "ms", median(reference.painted));
    print_figure("startup_exec_to_main" + suffix, median(ours.exec_to_main), "ms", median(reference.exec_to_main));
    print_figure("startup_main_to_first_paint" + suffix, median(ours.main_to_paint), "ms",
                 median(reference.main_to_paint));
    if (!suffix.empty())
        return 0;
    print_figure("memory_peak_after_startup", median(ours.hwm_mb), "MB", median(reference.hwm_mb));
    print_figure("memory_peak_above_minimal", median(ours.hwm_mb) - median(reference.hwm_mb), "MB");
    print_figure("memory_rss_anonymous_after_startup", median(ours.anon_mb), "MB", median(reference.anon_mb));
    print_figure("memory_rss_file_backed_after_startup", median(ours.file_mb), "MB", median(reference.file_mb));

    Run long_ours, long_reference;
    const std::string idle = std::to_string(idle_ms);
    if (!run(program, {"--idle", idle, "--darts", std::to_string(darts)}, long_ours)
        || !run(minimal, {"--idle", idle}, long_reference))
        return 1;
    const Report &o = long_ours.report;
    const Report &m = long_reference.report;
    print_figure("memory_peak_after_darts", o.at("darts_hwm_kb") / 1024.0, "MB", m.at("hwm_kb") / 1024.0);
    print_figure("memory_peak_after_darts_above_minimal", (o.at("darts_hwm_kb") - m.at("hwm_kb")) / 1024.0, "MB");
    print_figure("memory_rss_before_darts", o.at("darts_rss_before_kb") / 1024.0, "MB");
    print_figure("memory_rss_after_100_darts", o.at("darts_rss_warm_kb") / 1024.0, "MB");
    print_figure("memory_rss_after_darts", o.at("darts_rss_after_kb") / 1024.0, "MB",
                 o.at("darts_rss_before_kb") / 1024.0);
    print_figure("memory_rss_growth_after_warm_up", (o.at("darts_rss_after_kb") - o.at("darts_rss_warm_kb")) / 1024.0,
                 "MB");
    print_figure("darts_matches_played", o.at("darts_matches"), "matches");
    print_figure("idle_cpu", o.at("idle_cpu_us") / 1000.0, "ms", m.at("idle_cpu_us") / 1000.0);
    print_figure("idle_timer_events", o.at("idle_timer_events"), "events", m.at("idle_timer_events"));
    print_figure("idle_other_events", o.at("idle_other_events"), "events", m.at("idle_other_events"));
    print_figure("idle_wakeups", o.at("idle_wakeups"), "switches", m.at("idle_wakeups"));
    print_figure("idle_period", o.at("idle_ms") / 1000.0, "s");
    print_figure("startup_sound_device", o.at("sound_device"), "flag");
    return 0;
}
