// Time of the tool's read-all against a simulated converter on a paced
// 9600-baud pseudo-terminal, compared with the wire minimum of the bytes
// exchanged (10 bits per byte). Also the cost of a silent converter.
//   link_bench [--rounds N] [--sim PATH] [--realtime]
#include "bench/BenchSimulator.h"
#include "device/ConverterLink.h"
#include "device/Protocol.h"
#include "device/RelaySettings.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Transaction {
    const char* name;
    std::size_t requestBytes; // whole frame
    std::size_t replyBytes;
    std::function<bool(ConverterLink&)> run;
};

// A transaction that reads one parameter into a throw-away value.
template <class T> std::function<bool(ConverterLink&)> Reads(bool (ConverterLink::*read)(T&))
{
    return [read](ConverterLink& link) {
        T value{};
        return (link.*read)(value);
    };
}

// The main window's read-all, one transaction per parameter.
std::vector<Transaction> ReadAll()
{
    std::vector<Transaction> list;
    auto add = [&](const char* name, std::size_t replyData, std::function<bool(ConverterLink&)> run) {
        // A read: request 01 cmd 00 chk, reply 06 n data chk.
        list.push_back({name, 4, 3 + replyData, std::move(run)});
    };
    add("Identity", 8, [](ConverterLink& l) { return l.identify().has_value(); });
    add("FirmwareVersion", 2, Reads(&ConverterLink::readFirmwareVersion));
    add("SerialNumber", 4, Reads(&ConverterLink::readSerialNumber));
    add("OutputType", 1, Reads(&ConverterLink::readOutputType));
    add("RelayOptions", 1, Reads(&ConverterLink::readRelayOptions));
    add("CurveDegree", 1, Reads(&ConverterLink::readCurveDegree));
    add("CurveCoefficients", 40, Reads(&ConverterLink::readCurveCoefficients));
    add("InputType", 1, Reads(&ConverterLink::readInputType));
    add("Filter", 1, Reads(&ConverterLink::readFilter));
    add("ScaleMin", 4, Reads(&ConverterLink::readScaleMin));
    add("ScaleMax", 4, Reads(&ConverterLink::readScaleMax));
    add("ErrorSignalling", 1, Reads(&ConverterLink::readErrorSignalling));
    add("LiveInput", 4, Reads(&ConverterLink::readLiveInput));
    add("LiveProcess", 4, Reads(&ConverterLink::readLiveProcess));
    add("LiveValue", 4, Reads(&ConverterLink::readLiveValue));
    add("LiveRatio", 4, Reads(&ConverterLink::readLiveRatio));
    add("Relay1", 13, Reads(&ConverterLink::readRelay1));
    add("Relay2", 13, Reads(&ConverterLink::readRelay2));
    return list;
}

double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

} // namespace

int main(int argc, char** argv)
{
    int rounds = 10;
    std::string program = DNX8SIM_PATH;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--rounds") == 0 && hasValue)
            rounds = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--sim") == 0 && hasValue)
            program = argv[++i];
        else if (std::strcmp(argv[i], "--realtime") == 0)
            RunRealtime();
    }

    BenchSimulator sim;
    if (!sim.start(program, {"--preset", "pt100", "--baud", "9600"})) {
        std::fprintf(stderr, "cannot start %s\n", program.c_str());
        return 1;
    }
    ConverterLink link;
    if (!link.open(sim.line())) {
        std::fprintf(stderr, "cannot open %s\n", sim.line().c_str());
        return 1;
    }

    const std::vector<Transaction> readAll = ReadAll();
    std::size_t bytes = 0;
    for (const Transaction& t : readAll)
        bytes += t.requestBytes + t.replyBytes;
    const double wire = bytes * 10.0 / 9600.0;

    int failures = 0;
    const Clock::time_point start = Clock::now();
    for (int r = 0; r < rounds; ++r)
        for (const Transaction& t : readAll)
            failures += t.run(link) ? 0 : 1;
    const double perReadAll = Seconds(Clock::now() - start) / rounds;

    std::printf("read-all at 9600 baud: %zu transactions, %zu bytes on the wire\n", readAll.size(), bytes);
    std::printf("  wire minimum %.1f ms, measured %.1f ms per read-all (%d rounds, %d failed)\n", wire * 1000,
                perReadAll * 1000, rounds, failures);
    std::printf("  ratio measured / wire minimum: %.3f\n", perReadAll / wire);

    // A converter that does not answer: one read time-out per transaction.
    link.close();
    BenchSimulator silent;
    if (silent.start(program, {"--preset", "pt100", "-c", "fault silence on"}) && link.open(silent.line())) {
        const Clock::time_point s = Clock::now();
        std::uint8_t v = 0;
        const bool answered = link.readFilter(v);
        std::printf(
            "silent converter: one transaction fails after %.0f ms (answered: %s; read time-out 200 ms)\n",
            Seconds(Clock::now() - s) * 1000, answered ? "yes" : "no");
    }
    return failures == 0 ? 0 : 1;
}
