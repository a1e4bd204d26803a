#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Options that apply to every command.
struct GlobalOptions {
    bool trace = false; // every frame in hex on standard error
    std::uint32_t timeoutMs = 0; // a longer read time-out for slow networks; 0 keeps the default
};

// The program's command line: the parser with the global options and the
// work of the one command the user named. Each command family adds its
// subcommands here; the work runs only once the whole line has been parsed,
// so a bad option or value never reaches the converter.
class CommandLine {
public:
    CommandLine();

    // A subcommand whose work returns the exit code. The options the work
    // reads are added to the returned subcommand.
    CLI::App* add(const std::string& name, const std::string& description, std::function<int()> work);
    // A subcommand without work of its own that needs one of its own
    // subcommands (the kinds of `input`).
    CLI::App* addGroup(const std::string& name, const std::string& description);
    // A subcommand of such a group.
    CLI::App* add(CLI::App& parent, const std::string& name, const std::string& description,
                  std::function<int()> work);

    const GlobalOptions& global() const { return options; }

    // Parses the arguments (program name first) and runs the named command:
    // its exit code, or BadUsage for a line that does not parse (0 for
    // --help and --version).
    int run(const std::vector<std::string>& arguments);

private:
    CLI::App parser;
    GlobalOptions options;
    std::function<int()> chosen;
};
