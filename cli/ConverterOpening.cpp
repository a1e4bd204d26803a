#include "cli/ConverterOpening.h"

#include "cli/ConverterSession.h"
#include "framework/NumberText.h"

namespace {

// The identity is the converter's own bytes: show anything unusual in hex.
std::string Printable(const std::string& bytes)
{
    std::string text;
    for (unsigned char c : bytes)
        text += c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c))
                                      : "\\x" + number_text::HexDigits(c, 2);
    return text;
}

} // namespace

ConverterOpening OpenDnx8(ConverterLink& link, const std::string& port)
{
    ConverterOpening result;
    if (!link.open(port)) {
        result.outcome = ConverterOpening::Outcome::PortFailed;
        result.reason = "cannot open the port " + port +
                        ". Check its name (the port list shows the serial ports) and that no other "
                        "program, such as config.exe or dnx8, holds it.";
        return result;
    }
    std::optional<std::string> identity = link.identify();
    if (!identity) {
        link.close();
        result.outcome = ConverterOpening::Outcome::Silent;
        result.reason = "no converter answers on " + port +
                        ". Check the cable, the converter's power and that this is its port.";
        return result;
    }
    result.identity = *identity;
    if (*identity != AcceptedIdentity) {
        link.close();
        result.outcome = ConverterOpening::Outcome::ForeignIdentity;
        result.reason = "the device on " + port + " answers as \"" + Printable(*identity) +
                        "\", not as a DNX8 (Převodník není kompatibilní s tímto nástrojem). Only DNX8 "
                        "converters are configured; check that this is the right port.";
        return result;
    }
    result.outcome = ConverterOpening::Outcome::Opened;
    return result;
}
