// Point-file throughput and memory: generates point files of 1 and 10 million
// lines and times the first reading and both builders on each, with the peak
// resident memory of each reading; compares with numpy.loadtxt + numpy.polyfit
// on the same file when python3 has numpy.
//
//   pointfile_bench [--dir DIR] [--lines N]... [--order N] [--keep]

#include "linearization/LinearSpline.h"
#include "linearization/LinearizationTable.h"
#include "linearization/PointSet.h"
#include "linearization/PolynomialFit.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <time.h>

namespace fs = std::filesystem;

namespace {

struct Options {
    fs::path dir = fs::temp_directory_path() / "dnx8-pointfile-bench";
    std::vector<long> lines;
    int order = 5;
    bool keep = false;
};

// Measured points of a Pt100-like sensor: x in -50..150, y a gentle curve
// with noise, lines in no particular order, a few comments among them.
std::uintmax_t Generate(const fs::path& file, long lines)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    std::vector<char> buffer(1 << 20);
    std::size_t used = 0;
    std::uint64_t state = 0x9E3779B97F4A7C15u;
    auto random = [&] {
        state = state * 6364136223846793005u + 1442695040888963407u;
        return static_cast<double>(state >> 11) * 0x1p-53;
    };
    auto flush = [&] {
        out.write(buffer.data(), static_cast<std::streamsize>(used));
        used = 0;
    };
    const std::string header = "; generated points: x [degC], y [ohm]\n";
    std::copy(header.begin(), header.end(), buffer.begin());
    used = header.size();
    for (long i = 0; i < lines; ++i) {
        if (buffer.size() - used < 128)
            flush();
        if (i % 100000 == 99999) {
            const char comment[] = "; next block\n";
            std::copy(comment, comment + sizeof comment - 1, buffer.begin() + static_cast<long>(used));
            used += sizeof comment - 1;
        }
        const double x = -50 + 200 * random();
        const double y = 100 + 0.39 * x - 5.8e-5 * x * x + 0.01 * (random() - 0.5);
        char* p = buffer.data() + used;
        char* end = buffer.data() + buffer.size();
        p = std::to_chars(p, end, x, std::chars_format::fixed, 6).ptr;
        *p++ = '\t';
        p = std::to_chars(p, end, y, std::chars_format::fixed, 6).ptr;
        *p++ = '\n';
        used = static_cast<std::size_t>(p - buffer.data());
    }
    flush();
    out.close();
    return fs::file_size(file);
}

// Peak resident memory since the last reset, in KiB (Linux /proc).
long PeakKiB()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(1 << 12, '\n');
    }
    return -1;
}

bool ResetPeak()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

struct Measure {
    double seconds = 0;
    long peakKiB = 0;
};

// Processor time of this process: other work on a shared machine barely
// changes it, where it would change the wall-clock time.
double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

Measure Time(const std::function<void()>& work)
{
    ResetPeak();
    const double start = CpuSeconds();
    work();
    return {CpuSeconds() - start, PeakKiB()};
}

// Prints one reading's figures and returns its MB/s.
double Report(const char* what, const Measure& m, std::uintmax_t bytes, long lines)
{
    const double rate = static_cast<double>(bytes) / 1e6 / m.seconds;
    std::printf("  %-22s %9.3f s %9.1f MB/s %12.0f lines/s %9ld KiB peak\n", what, m.seconds, rate,
                static_cast<double>(lines) / m.seconds, m.peakKiB);
    return rate;
}

std::string FindNumpyPython()
{
    for (const char* python : {"python3", "/usr/bin/python3"}) {
        const std::string probe = std::string(python) + " -c 'import numpy' >/dev/null 2>&1";
        if (std::system(probe.c_str()) == 0)
            return python;
    }
    return {};
}

// Runs loadtxt + polyfit in python; returns its own processor time
// (interpreter start excluded) and the coefficients, lowest order first.
bool RunNumpy(const std::string& python, const fs::path& file, int order, double& seconds,
              std::vector<double>& coefficients)
{
    const std::string script = "import sys, time, numpy\n"
                               "t = time.process_time()\n"
                               "a = numpy.loadtxt(sys.argv[1], comments=';', usecols=(0, 1))\n"
                               "c = numpy.polyfit(a[:, 0], a[:, 1], int(sys.argv[2]))\n"
                               "print(time.process_time() - t, *c[::-1])\n";
    const fs::path scriptFile = file.parent_path() / "numpy_fit.py";
    std::ofstream(scriptFile) << script;
    // One thread, as the readings here have: the comparison is of work done.
    const std::string command = "OPENBLAS_NUM_THREADS=1 OMP_NUM_THREADS=1 MKL_NUM_THREADS=1 " + python +
                                " '" + scriptFile.string() + "' '" + file.string() + "' " +
                                std::to_string(order);
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        return false;
    double value = 0;
    if (std::fscanf(pipe.get(), "%lf", &seconds) != 1)
        return false;
    coefficients.clear();
    while (std::fscanf(pipe.get(), "%lf", &value) == 1)
        coefficients.push_back(value);
    return static_cast<int>(coefficients.size()) == order + 1;
}

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--keep") {
            options.keep = true;
        } else if (i + 1 < argc && arg == "--dir") {
            options.dir = argv[++i];
        } else if (i + 1 < argc && arg == "--lines") {
            options.lines.push_back(std::atol(argv[++i]));
        } else if (i + 1 < argc && arg == "--order") {
            options.order = std::clamp(std::atoi(argv[++i]), 1, MaxPolynomialDegree);
        } else {
            std::fprintf(stderr, "usage: pointfile_bench [--dir DIR] [--lines N]... [--order N] [--keep]\n");
            return false;
        }
    }
    if (options.lines.empty())
        options.lines = {1000000, 10000000};
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options))
        return 2;
    fs::create_directories(options.dir);
    const std::string python = FindNumpyPython();
    if (python.empty())
        std::printf("numpy not found: no comparison (install python3-numpy for it)\n");
    if (!ResetPeak())
        std::printf("peak memory cannot be reset here: the figures are peaks since start\n");

    // All files are written before anything is measured, so that the memory
    // the writing used does not count in the readings' peaks.
    std::vector<fs::path> files;
    std::vector<std::uintmax_t> sizes;
    for (long lines : options.lines) {
        files.push_back(options.dir / ("points-" + std::to_string(lines) + ".txt"));
        sizes.push_back(Generate(files.back(), lines));
    }

    std::vector<long> readingPeaks;
    double slowest = HUGE_VAL;
    for (std::size_t f = 0; f < files.size(); ++f) {
        const long lines = options.lines[f];
        const fs::path& file = files[f];
        const std::uintmax_t bytes = sizes[f];
        std::printf("\n%ld lines, %.1f MB (%s)\n", lines, static_cast<double>(bytes) / 1e6, file.c_str());

        PointSet set;
        LinearizationTable polynomial;
        LinearizationTable spline;
        bool fitted = false;
        bool joined = false;
        const Measure first = Time([&] { readPointSet(file, set); });
        const Measure fit = Time([&] { fitted = importPolynomial(file, options.order, polynomial); });
        const Measure segments = Time([&] { joined = importSpline(file, spline); });
        slowest = std::min(
            {slowest, Report("readPointSet", first, bytes, lines),
             Report(("importPolynomial(" + std::to_string(options.order) + ")").c_str(), fit, bytes, lines),
             Report("importSpline", segments, bytes, lines)});
        if (set.count != lines || !fitted || !joined)
            std::printf("  unexpected: count %d, polynomial %d, spline %d\n", set.count, fitted, joined);
        readingPeaks.push_back(std::max({first.peakKiB, fit.peakKiB, segments.peakKiB}));

        double numpySeconds = 0;
        std::vector<double> numpyCoefficients;
        if (!python.empty()) {
            if (RunNumpy(python, file, options.order, numpySeconds, numpyCoefficients)) {
                const double flow = first.seconds + fit.seconds;
                std::printf("  %-22s %9.3f s %9.1f MB/s\n", "numpy loadtxt+polyfit", numpySeconds,
                            static_cast<double>(bytes) / 1e6 / numpySeconds);
                std::printf(
                    "  numpy time / importPolynomial time: %.1f; / both readings of the import: %.1f\n",
                    numpySeconds / fit.seconds, numpySeconds / flow);
                // Same fit by another road: the coefficients should agree to float precision.
                double worst = 0;
                for (int k = 0; k <= options.order; ++k) {
                    const double ours = polynomial.coefficients[k];
                    const double theirs = numpyCoefficients[static_cast<std::size_t>(k)];
                    worst = std::max(worst, std::fabs(ours - theirs) / std::max(std::fabs(theirs), 1e-30));
                }
                std::printf("  largest relative difference of the coefficients from numpy's: %.2g\n", worst);
            } else {
                std::printf("  numpy run failed\n");
            }
        }
        if (!options.keep)
            fs::remove(file);
    }
    // Point files are read at least this fast; far more is not noticed.
    constexpr double FloorMBps = 100;
    std::printf("\nslowest reading: %.1f MB/s (%s %.0f MB/s)\n", slowest,
                slowest >= FloorMBps ? "at least" : "BELOW", FloorMBps);
    if (readingPeaks.size() >= 2) {
        const auto [low, high] = std::minmax_element(readingPeaks.begin(), readingPeaks.end());
        std::printf("\npeak resident memory of the readings: %ld..%ld KiB, spread %ld KiB\n", *low, *high,
                    *high - *low);
    }
    if (!options.keep)
        fs::remove(options.dir / "numpy_fit.py");
    return 0;
}
