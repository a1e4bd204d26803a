// Whole dnx8 commands against dnx8sim paced like a 9600-baud line: the time
// from starting dnx8 to its exit, against the wire minimum of the bytes the
// simulator's trace shows (10 bits a byte). Start-up, port opening, the
// link's waits and the program's own work all count.
//   cli_bench [--runs N] [--sim PATH] [--dnx8 PATH] [--realtime]
#include "bench/BenchSimulator.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

struct Case {
    const char* name;
    const char* preset;
    std::function<std::vector<std::string>(const std::string& line)> arguments;
};

struct Measurement {
    int status = 0;
    std::size_t bytes = 0;
    double seconds = 0;
    double wire() const { return static_cast<double>(bytes) * 10.0 / 9600.0; }
    double ratio() const { return seconds / wire(); }
};

Measurement Measure(const std::string& sim, const std::string& dnx8, const Case& c, const fs::path& trace)
{
    fs::remove(trace);
    Measurement m;
    BenchSimulator simulator;
    if (!simulator.start(sim, {"--baud", "9600", "--preset", c.preset, "--trace", trace.string()})) {
        m.status = -1;
        return m;
    }
    const std::vector<std::string> arguments = c.arguments(simulator.line());
    const Clock::time_point start = Clock::now();
    m.status = RunProgram(dnx8, arguments);
    m.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    simulator.stop();
    m.bytes = TracedBytes(trace.string());
    return m;
}

// 21 points: the spline's 20 segments, the most the converter holds.
void WritePoints(const fs::path& file)
{
    std::ofstream out(file);
    out << "; x y\n";
    for (int i = 0; i <= 20; ++i)
        out << i * 0.5 << ' ' << (i * 0.5) * (i * 0.5) / 10.0 + 0.25 * i << '\n';
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 5;
    std::string sim = DNX8SIM_PATH;
    std::string dnx8 = DNX8_PATH;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--runs") == 0 && hasValue)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--sim") == 0 && hasValue)
            sim = argv[++i];
        else if (std::strcmp(argv[i], "--dnx8") == 0 && hasValue)
            dnx8 = argv[++i];
        else if (std::strcmp(argv[i], "--realtime") == 0)
            RunRealtime();
    }

    char pattern[] = "/tmp/dnx8-cli-bench-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path dir = pattern;
    const fs::path trace = dir / "trace.txt";
    const fs::path points = dir / "points21.txt";
    const fs::path backup = dir / "thermocouple-k.json";
    WritePoints(points);

    const std::vector<Case> cases = {
        {"backup (thermocouple-k)", "thermocouple-k",
         [&](const std::string& line) {
             return std::vector<std::string>{"backup", line, "-o", backup.string()};
         }},
        {"restore it into a fresh one", "fresh",
         [&](const std::string& line) {
             return std::vector<std::string>{"restore", line, backup.string()};
         }},
        {"input thermocouple K", "fresh",
         [](const std::string& line) {
             return std::vector<std::string>{"input",          line,      "thermocouple", "--type", "K",
                                             "--compensation", "internal"};
         }},
        {"input voltage, 20 segments", "voltage",
         [&](const std::string& line) {
             return std::vector<std::string>{"input",         line,      "voltage",
                                             "--variant",     "10V",     "--linearization",
                                             points.string(), "--spline"};
         }},
    };

    std::printf("dnx8 against dnx8sim --baud 9600, %d runs each; ratio = measured / wire minimum\n", runs);
    std::printf("%-30s %7s %9s %14s %14s\n", "command", "bytes", "wire ms", "best ms (x)", "median ms (x)");
    bool failed = false;
    for (const Case& c : cases) {
        std::vector<Measurement> all;
        for (int r = 0; r < runs; ++r)
            all.push_back(Measure(sim, dnx8, c, trace));
        std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.seconds < b.seconds; });
        const Measurement& best = all.front();
        const Measurement& median = all[all.size() / 2];
        const bool ok = std::all_of(all.begin(), all.end(), [&](const Measurement& m) {
            return m.status == 0 && m.bytes == best.bytes;
        });
        failed = failed || !ok;
        std::printf("%-30s %7zu %9.1f %8.1f (%.3f) %8.1f (%.3f)%s\n", c.name, best.bytes, best.wire() * 1000,
                    best.seconds * 1000, best.ratio(), median.seconds * 1000, median.ratio(),
                    ok ? "" : "  FAILED (exit status or byte count differs)");
    }
    fs::remove_all(dir);
    return failed ? 1 : 0;
}
