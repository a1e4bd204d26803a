#include "simulator/RequestReceiver.h"

#include "device/Protocol.h"

namespace sim {

RequestReceiver::Event RequestReceiver::push(std::uint8_t byte)
{
    if (partial_.empty() && byte != protocol::Start) {
        noise_.push_back(byte);
        return Event::None;
    }
    partial_.push_back(byte);
    if (partial_.size() < protocol::RequestHeader)
        return Event::None;
    const std::size_t n = partial_[2];
    if (n > protocol::MaxRequestData) {
        frame_.swap(partial_);
        partial_.clear();
        return Event::Oversized;
    }
    if (partial_.size() < protocol::RequestHeader + n + 1)
        return Event::None;
    frame_.swap(partial_);
    partial_.clear();
    return protocol::SumsToZero(frame_.data(), frame_.size()) ? Event::Frame : Event::BadChecksum;
}

std::vector<std::uint8_t> RequestReceiver::takeNoise()
{
    std::vector<std::uint8_t> out;
    out.swap(noise_);
    return out;
}

void RequestReceiver::abandon()
{
    noise_.insert(noise_.end(), partial_.begin(), partial_.end());
    partial_.clear();
}

} // namespace sim
