#pragma once

// Building frames: the one place where start byte, length and checksum are
// put around data, for the tool's requests and for the converter's replies.

#include "device/Protocol.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace protocol {

// Completes a request whose n data bytes already stand at
// frame[RequestHeader]: start, command, n before them, the checksum after.
// Returns the length of the whole frame. The buffer holds RequestHeader + n + 1.
std::size_t sealRequest(std::uint8_t* frame, std::uint8_t command, std::size_t n);
// The same for a positive reply: 06 n data chk.
std::size_t sealReply(std::uint8_t* frame, std::size_t n);

// 01 cmd n data chk
std::vector<std::uint8_t> requestFrame(std::uint8_t command, std::span<const std::uint8_t> data);
// 06 n data chk
std::vector<std::uint8_t> positiveReply(std::span<const std::uint8_t> data);
// 15 EB
std::vector<std::uint8_t> negativeReply();

} // namespace protocol
