#include "device/LinkFailure.h"

#include <string>

std::string_view linkFailureText(LinkFailure failure)
{
    switch (failure) {
    case LinkFailure::None:
        return "answered";
    case LinkFailure::Silent:
        return "no reply came";
    case LinkFailure::Broken:
        return "the reply was broken (short, a bad checksum, a wrong length or noise)";
    case LinkFailure::Nak:
        return "the converter refused the request (NAK)";
    case LinkFailure::NotSent:
        return "the request could not be sent: the port is gone";
    case LinkFailure::Stopped:
        return "not sent: asked to stop";
    }
    return "unknown";
}

std::string noAnswerText(const std::string& port, LinkFailure failure)
{
    switch (failure) {
    case LinkFailure::Broken:
        return "a device on " + port + " answers, but its replies come broken (short, a bad checksum or "
               "noise). Check the cable's connections and screen, the line settings of a converter box, and "
               "that no other program uses the line.";
    case LinkFailure::Nak:
        return "the device on " + port + " refuses the request (NAK). Check that it is a DNX8 and that its "
               "firmware takes this request.";
    case LinkFailure::NotSent:
        return "cannot write to " + port + ": the port is gone (an unplugged adapter?). Plug it in and try "
               "again.";
    case LinkFailure::Stopped:
        return "stopped before the converter was asked.";
    case LinkFailure::Silent:
    case LinkFailure::None:
        break;
    }
    return "no converter answers on " + port +
           ". Check the cable, the converter's power and that this is its port.";
}
