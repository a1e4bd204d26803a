#include "cli/CommandLine.h"

#include "cli/ExitCode.h"
#include "cli/PortArgument.h"
#include "dnx8_version.h"

#include <algorithm>
#include <iostream>
#include <string_view>

CommandLine::CommandLine()
    : parser("Configures a DNX8 converter over a serial port: reads it, watches its live values, "
             "writes settings and inputs with the same frames as config.exe.",
             "dnx8")
{
    parser.set_version_flag("--version", std::string("dnx8 ") + DNX8_VERSION_TEXT, "Print the version and exit");
    parser.add_flag("--trace", options.trace, "Print every frame in hex with a time stamp on standard error");
    parser
        .add_option("--timeout", options.timeoutMs,
                    "Wait up to MS milliseconds for each reply instead of 200 (a converter behind a slow "
                    "network or a device server)")
        ->option_text("MS")
        ->check(CLI::Range(200, 60000));
    parser.require_subcommand(1);
    // Global options may also follow the command: dnx8 read PORT --trace.
    parser.fallthrough();
    parser.footer("Exit codes: 0 done; 1 the port or the converter failed; 2 bad usage or input, nothing "
                  "sent; 3 the converter holds something other than what was asked.\n"
                  "Run dnx8 COMMAND --help for the options of a command.");
}

CLI::App* CommandLine::add(const std::string& name, const std::string& description, std::function<int()> work)
{
    return add(parser, name, description, std::move(work));
}

CLI::App* CommandLine::addGroup(const std::string& name, const std::string& description)
{
    CLI::App* group = parser.add_subcommand(name, description);
    group->fallthrough();
    group->require_subcommand(1);
    return group;
}

CLI::App* CommandLine::add(CLI::App& parent, const std::string& name, const std::string& description,
                           std::function<int()> work)
{
    CLI::App* command = parent.add_subcommand(name, description);
    command->fallthrough();
    command->callback([this, work = std::move(work)] { chosen = work; });
    return command;
}

namespace {

// Letters to change, add or drop to turn a into b.
std::size_t editDistance(std::string_view a, std::string_view b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The nearest of names to word, if it is near enough to be a typo.
std::string nearest(const std::string& word, const std::vector<std::string>& names)
{
    std::string best;
    std::size_t bestDistance = std::max<std::size_t>(2, word.size() / 3) + 1;
    for (const std::string& name : names) {
        const std::size_t d = editDistance(word, name);
        if (d < bestDistance) {
            best = name;
            bestDistance = d;
        }
    }
    return best;
}

const CLI::App* childNamed(const CLI::App& app, const std::string& name)
{
    for (const CLI::App* sub : app.get_subcommands([](const CLI::App*) { return true; }))
        if (sub->check_name(name))
            return sub;
    return nullptr;
}

// The deepest command the parser got to, with its path ("dnx8 input voltage").
CLI::App* deepestCommand(CLI::App& app, std::string& path)
{
    CLI::App* deepest = &app;
    path = "dnx8";
    for (;;) {
        const std::vector<CLI::App*> chosen = deepest->get_subcommands();
        if (chosen.empty())
            return deepest;
        deepest = chosen.front();
        path += " " + deepest->get_name();
    }
}

// What a typo meant: an option name or a command name near a word the
// parser did not take.
std::string suggestionFor(CLI::App& command, const std::vector<std::string>& words)
{
    std::vector<std::string> options;
    for (const CLI::Option* option : command.get_options())
        for (const std::string& name : option->get_lnames())
            options.push_back("--" + name);
    std::vector<std::string> commands;
    const CLI::App& constant = command;
    for (const CLI::App* sub : constant.get_subcommands([](const CLI::App*) { return true; }))
        commands.push_back(sub->get_name());
    for (const std::string& word : words) {
        if (word.starts_with("--")) {
            const std::string name = word.substr(0, word.find('='));
            if (std::string near = nearest(name, options); !near.empty())
                return "Did you mean " + near + " (not " + name + ")?";
        } else if (std::string near = nearest(word, commands); !near.empty()) {
            return "Did you mean " + near + " (not " + word + ")?";
        }
    }
    return {};
}

} // namespace

int CommandLine::run(const std::vector<std::string>& given)
{
    // "dnx8 help read" is "dnx8 read --help".
    std::vector<std::string> arguments = given;
    if (arguments.size() >= 2 && arguments[1] == "help") {
        arguments.erase(arguments.begin() + 1);
        arguments.push_back("--help");
    }
    // "dnx8 input voltage --help" asks for the kind's help: the group's PORT
    // is not there yet, so the kind would be taken for it.
    const bool help = std::find_if(arguments.begin(), arguments.end(), [](const std::string& a) {
                          return a == "--help" || a == "-h";
                      }) != arguments.end();
    if (help && arguments.size() >= 3)
        if (const CLI::App* group = childNamed(parser, arguments[1]);
            group != nullptr && group->get_require_subcommand_min() > 0 && childNamed(*group, arguments[2]))
            arguments.insert(arguments.begin() + 2, "PORT");
    std::vector<const char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());
    try {
        parser.parse(static_cast<int>(argv.size()), argv.data());
    } catch (const CLI::CallForHelp& error) {
        return parser.exit(error);
    } catch (const CLI::CallForAllHelp& error) {
        return parser.exit(error);
    } catch (const CLI::CallForVersion& error) {
        return parser.exit(error);
    } catch (const CLI::ParseError& error) {
        std::string path;
        CLI::App* command = deepestCommand(parser, path);
        std::vector<std::string> words = parser.remaining();
        if (words.empty())
            words.assign(arguments.begin() + 1, arguments.end());
        std::string message = error.what();
        if (!message.empty() && message.back() != '.')
            message += '.';
        const std::string suggestion = suggestionFor(*command, words);
        std::cerr << "dnx8: " << message << (suggestion.empty() ? "" : " " + suggestion)
                  << " Nothing was sent.\n"
                  << "Usage: " << path << (command == &parser ? " COMMAND" : "") << " ...; run " << path
                  << " --help for " << (command == &parser ? "the commands." : "its options.") << std::endl;
        return exit_code::BadUsage;
    }
    if (chosen && !portArgumentsValid(parser))
        return exit_code::BadUsage;
    return chosen ? chosen() : exit_code::BadUsage;
}
