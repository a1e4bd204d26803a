#include "SimTestSupport.h"

Bytes RequestFrame(std::uint8_t command, const Bytes& data)
{
    Bytes frame;
    frame.reserve(data.size() + 4);
    frame.push_back(protocol::Start);
    frame.push_back(command);
    frame.push_back(static_cast<std::uint8_t>(data.size()));
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(protocol::Checksum(frame.data(), frame.size()));
    return frame;
}

Bytes RequestFrame(protocol::Parameter p, const Bytes& data)
{
    return RequestFrame(protocol::Code(p), data);
}

Bytes Ack(const Bytes& data)
{
    Bytes frame;
    frame.reserve(data.size() + 3);
    frame.push_back(protocol::Ack);
    frame.push_back(static_cast<std::uint8_t>(data.size()));
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(protocol::Checksum(frame.data(), frame.size()));
    return frame;
}

Bytes Ask(sim::SimulatedConverter& converter, const Bytes& frame, double seconds)
{
    auto exchanges = converter.receive(frame, seconds);
    return exchanges.size() == 1 ? exchanges[0].reply.bytes : Bytes{0xDE, 0xAD};
}

Bytes FloatBytes(float v)
{
    Bytes b(4);
    sim::PutReal(b.data(), v);
    return b;
}
