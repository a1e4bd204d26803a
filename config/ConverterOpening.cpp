#include "config/ConverterOpening.h"

#include "device/PortProblem.h"
#include "framework/NumberText.h"

ConverterOpening openDnx8(ConverterLink& link, const std::string& port)
{
    ConverterOpening result;
    if (!link.open(port)) {
        result.portProblem = portOpenProblem(port);
        return result;
    }
    std::optional<std::string> identity = link.identify();
    if (!identity) {
        result.failure = link.lastFailure();
        link.close();
        result.outcome = ConverterOpening::Outcome::Silent;
        return result;
    }
    result.identity = *identity;
    if (*identity != AcceptedIdentity) {
        link.close();
        result.outcome = ConverterOpening::Outcome::ForeignIdentity;
        return result;
    }
    result.outcome = ConverterOpening::Outcome::Opened;
    return result;
}

std::string printableIdentity(const std::string& bytes)
{
    std::string text;
    for (unsigned char c : bytes)
        text += c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c))
                                      : "\\x" + number_text::HexDigits(c, 2);
    return text;
}
