#pragma once

#include "device/ConverterLink.h"
#include "device/Protocol.h"
#include "device/RelaySettings.h"
#include "inputs/InputWrites.h"

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

// What a key configures: restore and `dnx8 input` treat the input's range
// and linearization as one whole.
enum class KeyRole : std::uint8_t {
    Input,         // InputType, Divider, Shunt
    Linearization, // RangeMin, RangeMax, CurveDegree, CurveCoefficients, SegmentCount
    Other,
};

// A key of Configuration: the parameter's name and number; a code (one
// byte) also has its largest valid value, the one the converter clips to.
// readPosition is the key's place in read-all (see ConverterReading.h),
// which is not the file's order.
struct ConfigurationKey {
    std::string_view name;
    protocol::Parameter parameter;
    KeyRole role = KeyRole::Other;
    int readPosition = 0;
    std::uint8_t maxCode = 0;
};

// A key with the ConverterLink accessor that reads its member.
template <typename T> struct ReadableKey : ConfigurationKey {
    bool (ConverterLink::*read)(T&) = nullptr;
};

inline constexpr int ConfigurationKeyCount = 14;

// Calls visit(key, member...) for every key in file order, with the
// matching member of each configuration given: read-all, the file's reader
// and writer, the JSON output, the comparison and the plan all walk this
// one list. key is a ReadableKey<T> for a member of type std::optional<T>.
template <typename Visit, typename... Config> constexpr void forEachKey(Visit&& visit, Config&... c)
{
    using P = protocol::Parameter;
    using R = KeyRole;
    using L = ConverterLink;
    using Byte = ReadableKey<std::uint8_t>;
    using Real = ReadableKey<float>;
    using Relay = ReadableKey<RelaySettings>;
    visit(Byte{{"InputType", P::InputType, R::Input, 2, 15}, &L::readInputType}, c.inputType...);
    visit(Real{{"Divider", P::Divider, R::Input, 9}, &L::readDivider}, c.divider...);
    visit(Real{{"Shunt", P::Shunt, R::Input, 10}, &L::readShunt}, c.shunt...);
    visit(Real{{"RangeMin", P::RangeMin, R::Linearization, 11}, &L::readRangeMin}, c.rangeMin...);
    visit(Real{{"RangeMax", P::RangeMax, R::Linearization, 12}, &L::readRangeMax}, c.rangeMax...);
    visit(Byte{{"CurveDegree", P::CurveDegree, R::Linearization, 0, 9}, &L::readCurveDegree},
          c.curveDegree...);
    visit(ReadableKey<CurveCoefficients>{{"CurveCoefficients", P::CurveCoefficients, R::Linearization, 1},
                                         &L::readCurveCoefficients},
          c.curveCoefficients...);
    visit(Byte{{"SegmentCount", P::SegmentCount, R::Linearization, 13, 20}, &L::readSegmentCount},
          c.segmentCount...);
    visit(Byte{{"Filter", P::Filter, R::Other, 3, 30}, &L::readFilter}, c.filter...);
    visit(Real{{"ScaleMin", P::ScaleMin, R::Other, 4}, &L::readScaleMin}, c.scaleMin...);
    visit(Real{{"ScaleMax", P::ScaleMax, R::Other, 5}, &L::readScaleMax}, c.scaleMax...);
    visit(Byte{{"ErrorSignalling", P::ErrorSignalling, R::Other, 6, 3}, &L::readErrorSignalling},
          c.errorSignalling...);
    visit(Relay{{"Relay1", P::Relay1, R::Other, 7}, &L::readRelay1}, c.relay1...);
    visit(Relay{{"Relay2", P::Relay2, R::Other, 8}, &L::readRelay2}, c.relay2...);
}

// How a comparison shows a real.
using RealText = std::string (*)(float);

// Values as diff and restore list them: a real as the shortest decimal that
// reads back as it ("80", "0.1", "-0", "nan").
std::string realText(float value);

// One parameter (or one coefficient, one relay field) that differs.
struct ConfigurationDifference {
    std::string_view key; // the key it belongs to: "CurveCoefficients"
    std::string name;     // "Filter", "CurveCoefficients[3]", "Relay1.onDelay"
    std::string left;     // the value as text, "(none)" where it is missing
    std::string right;
};

// Every difference between two configurations, in file order: reals bit
// for bit (so -0 and 0 differ), a key held by one side only counts as well.
// Coefficients that neither side's converter uses (CurveDegree 0, or above
// CurveDegree) are not differences: restore does not write them and diff
// shows them apart (unusedDifferences), so a clone that restore calls
// equal diff calls equal too.
std::vector<ConfigurationDifference>
compareConfigurations(const Configuration& left, const Configuration& right, RealText real = realText);
// The coefficients that differ where neither side uses them.
std::vector<ConfigurationDifference> unusedDifferences(const Configuration& left, const Configuration& right,
                                                       RealText real = realText);

// Only the keys that `which` holds, from `from`.
Configuration keysOf(const Configuration& from, const Configuration& which);

// The range and linearization keys of what the converter holds after the
// input's sequence; coefficients only where written.
void expectLinearization(Configuration& expected, const StoredLinearization& stored);

// What a read-back shows of the writes before it.
struct WriteCheck {
    // Keys written that could not be read back, in file order.
    std::vector<std::string> unread;
    // Keys written and read back with another value, as compareConfigurations
    // gives them (written on the left).
    std::vector<ConfigurationDifference> differences;
};

// Verify-after-write: `written` holds the keys written with the values the
// converter should then hold; only those keys of readBack are compared.
WriteCheck checkWrites(const Configuration& written, const Configuration& readBack, RealText real = realText);
