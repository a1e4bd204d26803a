#include "device/RelaySettings.h"

#include "device/LittleEndian.h"

using namespace little_endian;

RelaySettings::Bytes RelaySettings::encode() const
{
    Bytes bytes{};
    encodeTo(bytes.data());
    return bytes;
}

void RelaySettings::encodeTo(std::uint8_t* bytes) const
{
    PutFloat(bytes + 0, onValue);
    PutFloat(bytes + 4, offValue);
    PutU16(bytes + 8, onDelay);
    PutU16(bytes + 10, offDelay);
    bytes[12] = mode;
}

RelaySettings RelaySettings::decode(const std::uint8_t* bytes)
{
    RelaySettings r;
    r.onValue = GetFloat(bytes + 0);
    r.offValue = GetFloat(bytes + 4);
    r.onDelay = GetU16(bytes + 8);
    r.offDelay = GetU16(bytes + 10);
    r.mode = bytes[12];
    return r;
}
