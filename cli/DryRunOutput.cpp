#include "cli/DryRunOutput.h"

#include "cli/CommandLine.h"
#include "cli/ExitCode.h"
#include "cli/LabelledLines.h"
#include "config/WriteOutcome.h"
#include "device/DryRunTransport.h"
#include "device/TracingTransport.h"
#include "framework/NumberText.h"

#include <iostream>
#include <memory>

int printDryRun(const GlobalOptions& global, const std::function<void(ConverterLink&)>& sequence)
{
    auto transport = std::make_unique<DryRunTransport>();
    const DryRunTransport& sent = *transport;
    std::unique_ptr<ByteTransport> port = std::move(transport);
    if (global.trace)
        port = std::make_unique<TracingTransport>(std::move(port), std::cerr);
    ConverterLink link(std::move(port));
    sequence(link);

    std::size_t bytes = 0;
    for (const std::vector<std::uint8_t>& frame : sent.requests) {
        std::string hex;
        for (std::uint8_t b : frame)
            hex += (hex.empty() ? "" : " ") + number_text::HexDigits(b, 2);
        std::cout << padRight(frame.size() > 1 ? requestName(frame[1]) : "?", 18) << hex << '\n';
        bytes += frame.size();
    }
    std::cout << sent.requests.size() << " requests, " << bytes << " bytes; nothing was sent.\n";
    return exit_code::Done;
}
