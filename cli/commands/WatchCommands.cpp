#include "cli/commands/WatchCommands.h"

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/ConverterSession.h"
#include "cli/ExitCode.h"
#include "cli/Failure.h"
#include "cli/LabelledLines.h"
#include "config/ConverterOpening.h"
#include "config/LiveValueTexts.h"
#include "config/LocalTime.h"
#include "cli/UserNumberOptions.h"
#include "config/UserNumbers.h"
#include "device/ParameterTexts.h"

#include <algorithm>
#include <chrono>
#include <iostream>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr double MaxInterval = 86400;
constexpr std::size_t ColumnWidth = 18; // "Chyba komunikace" and a gap

struct Options {
    std::string port;
    std::string interval = "1";
    std::int64_t count = 0; // 0: until Ctrl+C
    bool csv = false;
    bool json = false;
};

void printHeader(bool csv)
{
    std::string line = csv ? "time" : padRight("Čas", 10);
    for (LiveQuantity quantity : LiveQuantities)
        line += csv ? "," + std::string(liveKey(quantity))
                    : padRight(std::string(liveLabel(quantity)), ColumnWidth);
    if (csv)
        line += "_percent";
    else
        line.erase(line.find_last_not_of(' ') + 1);
    std::cout << line << '\n' << std::flush;
}

// One poll; false when a read failed.
bool printPoll(ConverterLink& link, bool csv, bool json)
{
    const LiveReading live = readLiveValues(link);
    const std::string stamp = localTimeStamp(std::chrono::system_clock::now());
    if (json) {
        Json line = Json{{"time", stamp}};
        line.update(liveJson(live));
        std::cout << line.dump() << '\n' << std::flush;
        return live.input && live.process && live.value && live.ratio;
    }
    std::string line = csv ? stamp : padRight(stamp.substr(11, 8), 10);
    bool complete = true;
    for (LiveQuantity quantity : LiveQuantities) {
        const std::optional<float> value = liveOf(live, quantity);
        complete = complete && value.has_value();
        // A value that could not be read is an empty CSV field.
        const std::string text = csv     ? liveExactText(quantity, value)
                                 : value ? liveText(quantity, value)
                                         : std::string(parameter_texts::CommunicationErrorText);
        line += csv ? "," + text : padRight(text, ColumnWidth);
    }
    if (!csv)
        line.erase(line.find_last_not_of(' ') + 1);
    std::cout << line << '\n' << std::flush;
    return complete;
}

// Waits until `until`, or less when Ctrl+C comes.
void waitUntil(Clock::time_point until)
{
    while (!Console::stopRequested() && Clock::now() < until)
        std::this_thread::sleep_for(
            std::min<Clock::duration>(until - Clock::now(), std::chrono::milliseconds(50)));
}

// The converter on a line that may drop and come back (a pulled adapter, a
// device server that restarts): after a failed poll the port or connection
// is closed and opened again, with a back-off, and standard error says when
// the line dropped and when it came back.
class WatchedLine {
public:
    WatchedLine(ConverterLink& link, std::string port, std::string openText)
        : link(link), port(std::move(port)), openText(std::move(openText))
    {
    }

    // After a poll: notes a drop, or tries to reopen when one is due.
    void afterPoll(bool complete)
    {
        if (up && !complete) {
            up = false;
            const std::string why(linkFailureText(link.lastFailure()));
            link.close();
            backoff = FirstBackoff;
            nextAttempt = Clock::now() + backoff;
            std::cerr << "dnx8: " << localTimeStamp(std::chrono::system_clock::now()) << ": the line to " << port
                      << " dropped (" << why << "); opening it again until it comes back." << std::endl;
            return;
        }
        if (up || Clock::now() < nextAttempt)
            return;
        if (reopen()) {
            up = true;
            std::cerr << "dnx8: " << localTimeStamp(std::chrono::system_clock::now()) << ": the line to " << port
                      << " is back." << std::endl;
            return;
        }
        link.close();
        backoff = std::min(backoff * 2, MaxBackoff);
        nextAttempt = Clock::now() + backoff;
    }

private:
    static constexpr Clock::duration FirstBackoff = std::chrono::seconds(1);
    static constexpr Clock::duration MaxBackoff = std::chrono::seconds(30);

    bool reopen()
    {
        link.close();
        return openDnx8(link, openText).outcome == ConverterOpening::Outcome::Opened;
    }

    ConverterLink& link;
    std::string port;
    std::string openText;
    bool up = true;
    Clock::duration backoff = FirstBackoff;
    Clock::time_point nextAttempt;
};

int runWatch(const GlobalOptions& global, const Options& options)
{
    const auto period = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(*readUserReal(options.interval)));
    auto session = openConverter(options.port, global);
    if (!session)
        return exit_code::DeviceFailed;

    if (!options.json)
        printHeader(options.csv);
    WatchedLine line(*session->link, options.port, session->openText);
    std::int64_t polls = 0;
    std::int64_t incomplete = 0;
    const Clock::time_point start = Clock::now();
    std::int64_t slot = 0;
    while (!Console::stopRequested()) {
        const bool complete = printPoll(*session->link, options.csv, options.json);
        if (!complete)
            ++incomplete;
        ++polls;
        if (options.count != 0 && polls >= options.count)
            break;
        line.afterPoll(complete);
        // The next slot of the grid start + k * period that is still ahead:
        // a slow poll or a reopen skips slots instead of shifting the rest.
        ++slot;
        if (period > Clock::duration::zero()) {
            const std::int64_t due = (Clock::now() - start) / period + 1;
            slot = std::max(slot, due);
        }
        waitUntil(start + slot * period);
    }
    if (incomplete != 0)
        return fail(exit_code::DeviceFailed, std::to_string(incomplete) + " of " + std::to_string(polls) +
                                                 " polls had reads that failed; check the cable.");
    return exit_code::Done;
}

CLI::Validator intervalValidator()
{
    return CLI::Validator(
        [](std::string& text) -> std::string {
            if (std::string problem = realProblem(text); !problem.empty())
                return problem;
            const float seconds = *readUserReal(text);
            if (seconds < 0 || seconds > MaxInterval)
                return "\"" + text + "\" is outside 0..86400 seconds";
            return {};
        },
        "SECONDS");
}

} // namespace

void addWatchCommands(CommandLine& commandLine)
{
    auto options = std::make_shared<Options>();
    CLI::App* watch =
        commandLine.add("watch", "The four live values every S seconds, with their fault texts",
                        [&commandLine, options] { return runWatch(commandLine.global(), *options); });
    watch->add_option("PORT", options->port, "Serial port: a device path (/dev/ttyUSB0) or a name (COM3)")
        ->required();
    watch->add_option("--interval", options->interval, "Seconds from one poll to the next (default 1)")
        ->check(intervalValidator());
    watch->add_option("--count", options->count, "Stop after N polls (default: until Ctrl+C)")
        ->check(userInteger(1, INT64_MAX));
    watch->add_flag("--csv", options->csv,
                    "One CSV line per poll: ISO 8601 local time, input, process, value, ratio in per cent; "
                    "fault texts in place of flagged values, an empty field for a failed read");
    CLI::Option* json = watch->add_flag("--json", options->json,
                                        "One JSON object per line and poll: time, input, process, value, "
                                        "ratio (a fraction), faults; every value exactly");
    json->excludes("--csv");
    watch->footer("Ctrl+C ends it. Example: dnx8 watch /dev/ttyUSB0 --interval 10 --csv > log.csv");
}
