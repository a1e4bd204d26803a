#include "simulator/Presets.h"

#include "simulator/SensorPresets.h"

#include <array>

namespace sim {
namespace {

using P = protocol::Parameter;

struct Relay {
    float onValue, offValue;
    std::uint16_t onDelay, offDelay;
    std::uint8_t mode;
};

void SetRelay(ParameterMemory& m, P id, Relay r)
{
    auto at = m.value(id);
    PutReal(at.data(), r.onValue);
    PutReal(at.data() + 4, r.offValue);
    at[8] = static_cast<std::uint8_t>(r.onDelay);
    at[9] = static_cast<std::uint8_t>(r.onDelay >> 8);
    at[10] = static_cast<std::uint8_t>(r.offDelay);
    at[11] = static_cast<std::uint8_t>(r.offDelay >> 8);
    at[12] = r.mode;
}

// What every unit leaves the factory with: identity and fitted hardware.
void Fresh(ParameterMemory& m)
{
    m = ParameterMemory();
    m.setText(P::Identity, "DNX8");
    m.setWord(P::FirmwareVersion, 0x0105);
    m.setInteger(P::SerialNumber, 240117);
    m.setByte(P::OutputType, 0);   // passive 4..20 mA
    m.setByte(P::RelayOptions, 3); // both relays fitted
}

// A configured unit scaled to 0..100 with both relays in use.
void Configured(ParameterMemory& m, std::uint8_t inputType, float low, float high)
{
    Fresh(m);
    m.setByte(P::InputType, inputType);
    m.setReal(P::Divider, 1.0f);
    m.setReal(P::Shunt, 1.0f);
    m.setReal(P::RangeMin, low);
    m.setReal(P::RangeMax, high);
    m.setReal(P::ScaleMin, 0.0f);
    m.setReal(P::ScaleMax, 100.0f);
    m.setByte(P::Filter, 5);
    SetRelay(m, P::Relay1, {80.0f, 75.0f, 2, 2, 0});
    SetRelay(m, P::Relay2, {20.0f, 30.0f, 0, 5, 1});
}

void Voltage(ParameterMemory& m)
{
    Configured(m, 2, 0.0f, 10.0f);
}

void Current(ParameterMemory& m)
{
    Configured(m, 4, 4.0f, 20.0f);
    m.setByte(P::ErrorSignalling, 1); // under-current on a broken loop
}

void Pt100(ParameterMemory& m)
{
    Configured(m, 7, 0.0f, 0.0f); // three-wire
    LoadRtd(m, "Pt 100 (3850)");
    m.setReal(P::ScaleMin, -200.0f);
    m.setReal(P::ScaleMax, 850.0f);
}

void ThermocoupleK(ParameterMemory& m)
{
    Configured(m, 13, 0.0f, 0.0f); // internal cold-junction compensation
    LoadThermocouple(m, "K (Chromel-Alumel)");
    m.setReal(P::ScaleMin, -200.0f);
    m.setReal(P::ScaleMax, 1372.0f);
}

const std::array<Preset, 5> Table = {{
    {"voltage", "10 V input (InputType 2), range 0..10, scale 0..100", Voltage},
    {"current", "20 mA input (InputType 4), range 4..20, scale 0..100", Current},
    {"pt100", "Pt 100 (3850) three-wire (InputType 7), scale -200..850", Pt100},
    {"thermocouple-k", "K, internal compensation (InputType 13), scale -200..1372", ThermocoupleK},
    {"fresh", "out of the box: identity and fitted hardware only", Fresh},
}};

} // namespace

std::span<const Preset> Presets()
{
    return Table;
}

bool ApplyPreset(std::string_view name, ParameterMemory& memory)
{
    for (const Preset& p : Table)
        if (p.name == name) {
            p.fill(memory);
            return true;
        }
    return false;
}

} // namespace sim
