#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Why the last transaction of a ConverterLink failed. Each asks something
// else of the technician: a silent line points at the cable or the power, a
// broken reply at noise or a second program on the line, a NAK at the
// request itself.
enum class LinkFailure : std::uint8_t {
    None,     // the last transaction was answered
    Silent,   // not one byte of a reply came
    Broken,   // a reply came but was short, failed its checksum, had the wrong length or was noise
    Nak,      // the converter refused the request
    NotSent,  // the request could not be put on the line (the port is gone or closed)
    Stopped,  // not sent: the program was asked to stop
};

// One sentence, lower case, without a final stop: "no reply came".
std::string_view linkFailureText(LinkFailure failure);

// What a failed identification on port means for the technician, with
// what to check: a silent line, a broken reply and a NAK point to
// different places.
std::string noAnswerText(const std::string& port, LinkFailure failure);

// What happened to one request on the line.
struct LinkTransaction {
    std::uint8_t code = 0;            // the parameter
    bool write = false;               // the request carried data (writes and Commit)
    LinkFailure outcome = LinkFailure::None;
};

// One data-carrying request as it went (writes, table pieces, Commit): the
// data sent, and the data of the reply when it was answered.
struct LinkWrite {
    std::uint8_t code = 0;
    std::vector<std::uint8_t> sent;
    std::vector<std::uint8_t> echo; // empty unless outcome is None
    LinkFailure outcome = LinkFailure::None;
};
