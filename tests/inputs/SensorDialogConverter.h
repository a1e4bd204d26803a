#pragma once

#include "device/ByteTransport.h"

#include <windows.h>

#include <cstdint>
#include <deque>
#include <optional>
#include <ostream>
#include <vector>

// One request as the converter received it.
struct ConverterRequest {
    std::uint8_t command = 0;
    std::vector<std::uint8_t> data;

    bool operator==(const ConverterRequest&) const = default;
};
void PrintTo(const ConverterRequest& request, std::ostream* out);

// A converter in memory for the sensor dialogs: it answers the InputType
// read with inputType (refuses it when there is none) and echoes every
// write, or stays silent so that writes fail. Each request is kept, with
// the cursor shown when it arrived.
class SensorDialogConverter : public ByteTransport {
  public:
    std::optional<std::uint8_t> inputType;
    bool answerWrites = true;
    std::vector<ConverterRequest> requests;
    std::vector<HCURSOR> cursors;

    bool open(const std::string&) override { return true; }
    void close() override {}
    bool isOpen() const override { return true; }
    std::int32_t read(std::uint8_t* buffer, std::int32_t count) override;
    std::int32_t write(const std::uint8_t* buffer, std::int32_t count) override;
    void purge(std::uint32_t) override { pending.clear(); }

  private:
    void reply(const std::vector<std::uint8_t>& data);

    std::deque<std::uint8_t> pending;
};
