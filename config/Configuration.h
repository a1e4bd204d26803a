#pragma once

#include "device/ConverterLink.h"
#include "device/Protocol.h"
#include "device/RelaySettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The converter's settings that a backup holds, by the parameter names the
// file uses as keys. An empty member is one the converter did not give (or a
// file does not hold); restore leaves it alone.
struct Configuration {
    std::optional<std::uint8_t> inputType;
    std::optional<float> divider;
    std::optional<float> shunt;
    std::optional<float> rangeMin;
    std::optional<float> rangeMax;
    std::optional<std::uint8_t> curveDegree;
    std::optional<CurveCoefficients> curveCoefficients;
    std::optional<std::uint8_t> segmentCount;
    std::optional<std::uint8_t> filter;
    std::optional<float> scaleMin;
    std::optional<float> scaleMax;
    std::optional<std::uint8_t> errorSignalling;
    std::optional<RelaySettings> relay1;
    std::optional<RelaySettings> relay2;
};

// A key of Configuration: the parameter's name and number; a code (one
// byte) also has its largest valid value, the one the converter clips to.
struct ConfigurationKey {
    std::string_view name;
    protocol::Parameter parameter;
    std::uint8_t maxCode = 0;
};

// Calls visit(key, member...) for every key in file order, with the
// matching member of each configuration given: the file's reader and
// writer, the comparison and the plan all walk this one list.
template <typename Visit, typename... Config> void forEachKey(Visit&& visit, Config&... c)
{
    using P = protocol::Parameter;
    visit(ConfigurationKey{"InputType", P::InputType, 15}, c.inputType...);
    visit(ConfigurationKey{"Divider", P::Divider}, c.divider...);
    visit(ConfigurationKey{"Shunt", P::Shunt}, c.shunt...);
    visit(ConfigurationKey{"RangeMin", P::RangeMin}, c.rangeMin...);
    visit(ConfigurationKey{"RangeMax", P::RangeMax}, c.rangeMax...);
    visit(ConfigurationKey{"CurveDegree", P::CurveDegree, 9}, c.curveDegree...);
    visit(ConfigurationKey{"CurveCoefficients", P::CurveCoefficients}, c.curveCoefficients...);
    visit(ConfigurationKey{"SegmentCount", P::SegmentCount, 20}, c.segmentCount...);
    visit(ConfigurationKey{"Filter", P::Filter, 30}, c.filter...);
    visit(ConfigurationKey{"ScaleMin", P::ScaleMin}, c.scaleMin...);
    visit(ConfigurationKey{"ScaleMax", P::ScaleMax}, c.scaleMax...);
    visit(ConfigurationKey{"ErrorSignalling", P::ErrorSignalling, 3}, c.errorSignalling...);
    visit(ConfigurationKey{"Relay1", P::Relay1}, c.relay1...);
    visit(ConfigurationKey{"Relay2", P::Relay2}, c.relay2...);
}

// One parameter (or one coefficient, one relay field) that differs.
struct ConfigurationDifference {
    std::string name; // "Filter", "CurveCoefficients[3]", "Relay1.onDelay"
    std::string left; // the value as text, "(none)" where it is missing
    std::string right;
};

// Every difference between two configurations: reals bit for bit (so -0 and
// 0 differ), a key held by one side only counts as well. Coefficients that
// neither side's converter uses (CurveDegree 0, or above CurveDegree) are
// not differences: restore does not write them and diff shows them apart
// (unusedDifferences), so a clone that restore calls equal diff calls
// equal too.
std::vector<ConfigurationDifference> compareConfigurations(const Configuration& left,
                                                           const Configuration& right);
// The coefficients that differ where neither side uses them.
std::vector<ConfigurationDifference> unusedDifferences(const Configuration& left, const Configuration& right);

// Only the keys that `which` holds, from `from`.
Configuration keysOf(const Configuration& from, const Configuration& which);

// Values as diff and restore list them: a real as the shortest decimal that
// reads back as it ("80", "0.1", "-0", "nan").
std::string realText(float value);
std::string valueText(std::uint8_t value);
std::string valueText(float value);
std::string valueText(const CurveCoefficients& value);
std::string valueText(const RelaySettings& value);
