#pragma once

#include <cstdint>
#include <string_view>

class FirstPaintProbe;

// What the start-up probes hand to the start-up bench on their standard output: "key value" lines.
namespace probe_report {

void value(std::string_view key, double value);
// Waits (at most a few seconds) for the first paint, then reports its times and the memory in use.
bool startup(std::int64_t main_ns, const FirstPaintProbe &probe);
// Runs the event loop idle for `ms` and reports CPU, timer events and wake-ups.
void idle(int ms);
// Milliseconds asked for by "--name value" on the command line, 0 when absent.
int option(int argc, char **argv, std::string_view name);

} // namespace probe_report
