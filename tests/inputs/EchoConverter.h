#pragma once

#include "device/ByteTransport.h"
#include "device/Protocol.h"

#include <cstdint>
#include <deque>
#include <map>
#include <vector>

// A converter in memory: a read answers from `stored` (a parameter that is
// not there fails with 15 EB), a write answers as the converter does and is
// recorded with its data.
class EchoConverter : public ByteTransport {
  public:
    using Bytes = std::vector<std::uint8_t>;
    struct Write {
        protocol::Parameter parameter;
        Bytes data;
    };

    std::map<protocol::Parameter, Bytes> stored;
    std::vector<Write> writes;
    std::vector<protocol::Parameter> reads;

    void storeByte(protocol::Parameter p, std::uint8_t value) { stored[p] = {value}; }
    void storeReal(protocol::Parameter p, float value);

    // The parameters written, in order.
    std::vector<protocol::Parameter> writtenParameters() const;

    bool open(const std::string&) override { return true; }
    void close() override {}
    bool isOpen() const override { return true; }
    std::int32_t read(std::uint8_t* buffer, std::int32_t count) override;
    std::int32_t write(const std::uint8_t* buffer, std::int32_t count) override;
    void purge(std::uint32_t) override { pending.clear(); }

  private:
    void reply(const std::uint8_t* data, std::size_t size);

    std::deque<std::uint8_t> pending;
};

float RealOf(const EchoConverter::Bytes& data);
