#include "cli/commands/ServeCommands.h"

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "server/HttpServer.h"
#include "server/ListenAddress.h"

#include <iostream>
#include <memory>

void addServeCommands(CommandLine& commandLine)
{
    auto options = std::make_shared<ServeOptions>();
    CLI::App* serve = commandLine.add("serve",
                                      "Serve the converters to a browser: a page with live values and trends, and a "
                                      "JSON API for scripts",
                                      [options] {
                                          options->stopRequested = [] { return Console::stopRequested(); };
                                          Console::stopEndsNormally();
                                          switch (runServer(*options, std::cout, std::cerr)) {
                                          case ServeEnd::BadOptions:
                                              return exit_code::BadUsage;
                                          case ServeEnd::CannotListen:
                                              return exit_code::DeviceFailed;
                                          case ServeEnd::Stopped:
                                              break;
                                          }
                                          return exit_code::Done;
                                      });
    serve->add_option("PORT", options->ports,
                      "Serial ports connected at start (and retried until they answer); the page connects others");
    serve->add_option("--listen", options->listen,
                      "ADDR:PORT to listen on (default 127.0.0.1:8480; port 0 picks a free one). Any address "
                      "other than the loopback one needs the access token")
        ->check(CLI::Validator(
            [](std::string& text) {
                std::string problem;
                return ListenAddress::Parse(text, problem) ? std::string() : problem;
            },
            "ADDR:PORT"));
    serve->add_flag("--read-only", options->readOnly, "Refuse every write to a converter (403)");
    serve->add_flag("--open", options->openBrowser, "Open the page in the default browser");
    serve->add_option("--token-file", options->tokenFile,
                      "Read the access token from the first line of FILE instead of making one")
        ->check(CLI::ExistingFile);
    serve->add_option("--allow-host", options->allowedHosts,
                      "A further name (or NAME:PORT) the Host header may carry, e.g. a reverse proxy's (repeatable)");
    serve->add_option("--data", options->dataFolder,
                      "Folder for the journal of every write and the converters' configurations as found before "
                      "the first write (default: the per-user data folder, $XDG_DATA_HOME/dnx8 or "
                      "~/.local/share/dnx8; %LOCALAPPDATA%\\dnx8 on Windows)")
        ->option_text("DIR");
    serve->footer("The first line on standard output is the page's address (with ?token=... when a token is "
                  "needed). Ctrl+C ends the server. See docs/serve.md.");
}
