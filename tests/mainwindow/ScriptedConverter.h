#pragma once

#include "device/ByteTransport.h"

#include <cstdint>
#include <deque>
#include <map>
#include <vector>

// A converter behind a byte pipe, answering from tables: a read gets the
// data set for its command (15 EB when there is none), a write gets the
// echo set for its command or else its own data back.
class ScriptedConverter : public ByteTransport {
  public:
    std::map<std::uint8_t, std::vector<std::uint8_t>> reads;
    std::map<std::uint8_t, std::vector<std::uint8_t>> echoes;
    // Every request's command code, in order.
    std::vector<std::uint8_t> commands;

    bool open(const std::string&) override { return opened = true; }
    void close() override { opened = false; }
    bool isOpen() const override { return opened; }
    std::int32_t read(std::uint8_t* buffer, std::int32_t count) override;
    std::int32_t write(const std::uint8_t* buffer, std::int32_t count) override;
    void purge(std::uint32_t) override { pending.clear(); }

  private:
    void reply(const std::vector<std::uint8_t>& data);

    bool opened = false;
    std::deque<std::uint8_t> pending;
};
