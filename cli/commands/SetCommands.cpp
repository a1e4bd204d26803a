#include "cli/commands/SetCommands.h"

#include "cli/CommandLine.h"
#include "cli/ConfigurationText.h"
#include "cli/ConverterSession.h"
#include "cli/DryRunOutput.h"
#include "cli/ExitCode.h"
#include "cli/Failure.h"
#include "config/WriteOutcome.h"
#include "cli/LabelledLines.h"
#include "config/ConfigurationJson.h"
#include "config/Settings.h"
#include "device/ParameterTexts.h"
#include "framework/NumberText.h"

#include <charconv>
#include <iostream>

namespace texts = parameter_texts;

namespace {

struct Options {
    std::string port;
    std::vector<std::string> settings;
    bool dryRun = false;
    bool json = false;
};

// A setting as the converter holds it after the write.
struct Echo {
    std::string label;
    std::string text;
    bool clipped = false;
    std::string parameter;
    Json held; // exactly, for scripts
};

std::string exactText(float value)
{
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

std::string relayText(const RelaySettings& r)
{
    const std::string mode = r.mode < texts::RelayModeTexts.size()
                                 ? std::string(texts::RelayModeTexts[r.mode])
                                 : "režim " + std::to_string(r.mode);
    return mode + ", sepnutí " + number_text::RealText(r.onValue, 2) + " (zpoždění " +
           std::to_string(r.onDelay) + "), rozepnutí " + number_text::RealText(r.offValue, 2) +
           " (zpoždění " + std::to_string(r.offDelay) + ")";
}

// Writes one setting; nothing when the converter did not answer.
std::optional<Echo> writeSetting(ConverterLink& link, const Setting& s)
{
    Echo echo;
    bool written = false;
    switch (s.kind) {
    case Setting::Kind::Filter: {
        std::uint8_t stored = 0;
        written = link.writeFilter(s.code, stored);
        echo = {"Filtr", std::to_string(stored), stored != s.code, "Filter", stored};
        break;
    }
    case Setting::Kind::ScaleMin:
    case Setting::Kind::ScaleMax: {
        float stored = s.real;
        const bool min = s.kind == Setting::Kind::ScaleMin;
        written = min ? link.writeScaleMin(stored) : link.writeScaleMax(stored);
        echo = {min ? "Min" : "Max", number_text::RealText(stored, 2), stored != s.real,
                min ? "ScaleMin" : "ScaleMax", stored};
        if (echo.clipped)
            echo.text += " (" + exactText(stored) + ", asked " + exactText(s.real) + ")";
        break;
    }
    case Setting::Kind::ErrorState: {
        std::uint8_t stored = s.code;
        written = link.writeErrorSignalling(stored);
        const std::string_view text = texts::ErrorSignallingText(stored);
        echo = {"Chybový stav", text.empty() ? "kód " + std::to_string(stored) : std::string(text),
                stored != s.code, "ErrorSignalling", stored};
        break;
    }
    case Setting::Kind::Relay1:
    case Setting::Kind::Relay2: {
        RelaySettings stored = s.relay;
        const bool first = s.kind == Setting::Kind::Relay1;
        written = first ? link.writeRelay1(stored) : link.writeRelay2(stored);
        echo = {first ? "Relé 1" : "Relé 2", relayText(stored), !(stored == s.relay), first ? "Relay1" : "Relay2",
                valueJson(stored)};
        break;
    }
    }
    if (!written)
        return std::nullopt;
    return echo;
}

int runSet(const GlobalOptions& global, const Options& options)
{
    // Every setting is checked before the port is opened.
    std::vector<Setting> settings;
    for (const std::string& text : options.settings) {
        std::string problem;
        auto setting = parseSetting(text, problem);
        if (!setting)
            return fail(exit_code::BadUsage, problem + ". Nothing was sent.");
        settings.push_back(*setting);
    }

    if (options.dryRun)
        return printDryRun(global, [&](ConverterLink& link) {
            for (const Setting& setting : settings)
                writeSetting(link, setting);
        });

    auto session = openConverter(options.port, global);
    if (!session)
        return exit_code::DeviceFailed;
    LabelledLines lines;
    Json echoes = Json::array();
    // Text for people, or the echoes exactly for scripts.
    auto print = [&](bool complete) {
        if (options.json)
            printJson(std::cout, Json{{"echoes", echoes}, {"complete", complete}});
        else
            lines.print(std::cout);
    };
    std::vector<std::string> clipped;
    int result = exit_code::Done;
    for (std::size_t i = 0; i < settings.size(); ++i) {
        const std::optional<Echo> echo = writeSetting(*session->link, settings[i]);
        if (!echo) {
            print(false);
            // The same account of an interrupted sequence as input and restore give.
            WriteOutcome outcome;
            std::string rest;
            for (std::size_t j = 0; j < settings.size(); ++j) {
                if (j < i)
                    outcome.confirmed.push_back(options.settings[j]);
                else
                    rest += " " + options.settings[j];
            }
            const LinkFailure failure = session->link->lastFailure();
            if (failure == LinkFailure::Nak)
                outcome.refused.push_back(options.settings[i]);
            else if (failure == LinkFailure::Silent || failure == LinkFailure::Broken)
                outcome.unconfirmed.push_back(options.settings[i]);
            else
                outcome.notSent.push_back(options.settings[i]);
            for (std::size_t j = i + 1; j < settings.size(); ++j)
                outcome.notSent.push_back(options.settings[j]);
            for (const std::string& line : outcome.lines("dnx8 set " + options.port + rest))
                std::cerr << "dnx8: " << line << '\n';
            return fail(exit_code::DeviceFailed, "set stopped at " + options.settings[i] + " (" +
                                                     std::string(linkFailureText(failure)) +
                                                     "); check the cable.");
        }
        lines.add(echo->label, echo->text);
        echoes.push_back(Json{{"setting", options.settings[i]},
                              {"parameter", echo->parameter},
                              {"held", echo->held},
                              {"clipped", echo->clipped}});
        if (echo->clipped) {
            clipped.push_back(options.settings[i] + " (the converter holds: " + echo->text + ")");
            result = exit_code::Mismatch;
        }
    }
    print(true);
    for (const std::string& text : clipped)
        fail(exit_code::Mismatch, "the converter stored another value than asked: " + text);
    return result;
}

} // namespace

void addSetCommands(CommandLine& commandLine)
{
    auto options = std::make_shared<Options>();
    CLI::App* set =
        commandLine.add("set", "Write settings in the order given and print what the converter echoed",
                        [&commandLine, options] { return runSet(commandLine.global(), *options); });
    set->add_option("PORT", options->port, "Serial port: a device path (/dev/ttyUSB0) or a name (COM3)")
        ->required();
    set->add_option("SETTING=VALUE", options->settings,
                    "filter=0..30, scale-min=X, scale-max=X, error-state=none|under|over|input, "
                    "relay1=MODE,ON,ONDELAY,OFF,OFFDELAY, relay2=... (MODE hysteresis|window, delays "
                    "0..65535, decimals with a point)")
        ->required();
    set->add_flag("--json", options->json,
                  "The echoes as JSON: {\"echoes\": [{\"setting\", \"parameter\", \"held\", \"clipped\"}], "
                  "\"complete\"}, every value exactly");
    set->add_flag("--dry-run", options->dryRun, "Check the settings and print the frames; send nothing, open nothing");
    set->footer(
        "Example: dnx8 set /dev/ttyUSB0 filter=5 scale-min=0 scale-max=100 relay1=hysteresis,80,2,75,2");
}
