#include "device/ParameterTable.h"

#include <array>
#include <cstdlib>

namespace protocol {
namespace {

using P = Parameter;

constexpr Field TextField[] = {Field::Text8};
constexpr Field ByteField[] = {Field::U8};
constexpr Field VersionField[] = {Field::Hex16};
constexpr Field IntegerField[] = {Field::I32};
constexpr Field RealField[] = {Field::Real};
constexpr Field CoefficientFields[] = {Field::Real, Field::Real, Field::Real, Field::Real, Field::Real,
                                       Field::Real, Field::Real, Field::Real, Field::Real, Field::Real};
constexpr Field RelayFields[] = {Field::Real, Field::Real, Field::U16, Field::U16, Field::U8};
// d0..d12, lower bound, degree
constexpr Field EmfPieceFields[] = {Field::Real, Field::Real, Field::Real, Field::Real, Field::Real,
                                    Field::Real, Field::Real, Field::Real, Field::Real, Field::Real,
                                    Field::Real, Field::Real, Field::Real, Field::Real, Field::U8};
// a0, a1, a2, a3, x0
constexpr Field SegmentFields[] = {Field::Real, Field::Real, Field::Real, Field::Real, Field::Real};

constexpr std::size_t MaxSegments = 20;
constexpr std::size_t EmfPieces = 4;

const std::array<ParameterInfo, 26> Table = {{
    {P::Identity, "Identity", Access::ReadOnly, TextField, IdentitySize, 1},
    {P::FirmwareVersion, "FirmwareVersion", Access::ReadOnly, VersionField, 2, 1},
    {P::SerialNumber, "SerialNumber", Access::ReadOnly, IntegerField, 4, 1},
    {P::LiveInput, "LiveInput", Access::Live, RealField, 4, 1},
    {P::LiveProcess, "LiveProcess", Access::Live, RealField, 4, 1},
    {P::LiveValue, "LiveValue", Access::Live, RealField, 4, 1},
    {P::LiveRatio, "LiveRatio", Access::Live, RealField, 4, 1},
    {P::Commit, "Commit", Access::Command, ByteField, 1, 1},
    {P::InputType, "InputType", Access::ReadWrite, ByteField, 1, 1},
    {P::OutputType, "OutputType", Access::ReadOnly, ByteField, 1, 1},
    {P::RelayOptions, "RelayOptions", Access::ReadOnly, ByteField, 1, 1},
    {P::Divider, "Divider", Access::ReadWrite, RealField, 4, 1},
    {P::Shunt, "Shunt", Access::ReadWrite, RealField, 4, 1},
    {P::RangeMin, "RangeMin", Access::ReadWrite, RealField, 4, 1},
    {P::RangeMax, "RangeMax", Access::ReadWrite, RealField, 4, 1},
    {P::CurveDegree, "CurveDegree", Access::ReadWrite, ByteField, 1, 1},
    {P::CurveCoefficients, "CurveCoefficients", Access::ReadWrite, CoefficientFields, CoefficientsSize, 1},
    {P::Relay1, "Relay1", Access::ReadWrite, RelayFields, RelaySettingsSize, 1},
    {P::Relay2, "Relay2", Access::ReadWrite, RelayFields, RelaySettingsSize, 1},
    {P::ScaleMin, "ScaleMin", Access::ReadWrite, RealField, 4, 1},
    {P::ScaleMax, "ScaleMax", Access::ReadWrite, RealField, 4, 1},
    {P::Filter, "Filter", Access::ReadWrite, ByteField, 1, 1},
    {P::SegmentCount, "SegmentCount", Access::ReadWrite, ByteField, 1, 1},
    {P::ErrorSignalling, "ErrorSignalling", Access::ReadWrite, ByteField, 1, 1},
    {P::EmfRange, "EmfRange", Access::Indexed, EmfPieceFields, EmfRangeSize, EmfPieces},
    {P::Segment, "Segment", Access::Indexed, SegmentFields, SegmentSize, MaxSegments},
}};

} // namespace

std::span<const ParameterInfo> parameters()
{
    return Table;
}

const ParameterInfo* findParameter(std::uint8_t code)
{
    for (const ParameterInfo& info : Table)
        if (info.code() == code)
            return &info;
    return nullptr;
}

const ParameterInfo* findParameter(std::string_view name)
{
    for (const ParameterInfo& info : Table)
        if (info.name == name)
            return &info;
    return nullptr;
}

const ParameterInfo& infoOf(Parameter id)
{
    const ParameterInfo* info = findParameter(Code(id));
    if (!info)
        std::abort(); // every enumerator has a row
    return *info;
}

std::size_t fieldSize(Field field)
{
    switch (field) {
    case Field::U8:
        return 1;
    case Field::U16:
    case Field::Hex16:
        return 2;
    case Field::I32:
    case Field::Real:
        return 4;
    case Field::Text8:
        return 8;
    }
    return 0;
}

std::span<const std::uint8_t> writeEcho(std::uint8_t command, std::span<const std::uint8_t> data)
{
    const ParameterInfo* info = findParameter(command);
    if (info && info->access == Access::Command)
        return {};
    if (info && info->access == Access::Indexed && !data.empty())
        return data.subspan(1);
    return data;
}

} // namespace protocol
