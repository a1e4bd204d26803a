#include "config/Configuration.h"

#include <bit>
#include <charconv>

namespace {

bool same(float a, float b)
{
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

// Whether the converter computes with coefficient `index` at this degree:
// degree 0 is no polynomial at all. An unknown degree counts every one.
bool coefficientUsed(std::size_t index, const std::optional<std::uint8_t>& degree)
{
    return !degree || (*degree != 0 && index <= *degree);
}

class Comparison {
public:
    Comparison(RealText real, const Configuration& left, const Configuration& right)
        : real_(real), leftDegree(left.curveDegree), rightDegree(right.curveDegree)
    {
    }

    std::vector<ConfigurationDifference> found;
    // Coefficients that differ where neither side uses them.
    std::vector<ConfigurationDifference> unused;

    template <typename T>
    void operator()(ConfigurationKey key, const std::optional<T>& a, const std::optional<T>& b)
    {
        key_ = key.name;
        const std::string name(key.name);
        if (a && b)
            compare(name, *a, *b);
        else if (a || b)
            found.push_back({key_, name, a ? text(*a) : "(none)", b ? text(*b) : "(none)"});
    }

private:
    RealText real_;
    std::string_view key_;
    std::optional<std::uint8_t> leftDegree;
    std::optional<std::uint8_t> rightDegree;

    template <typename T> void compare(std::string name, T a, T b)
    {
        if constexpr (std::is_same_v<T, float>) {
            if (same(a, b))
                return;
        } else if (a == b) {
            return;
        }
        found.push_back({key_, std::move(name), text(a), text(b)});
    }
    void compare(const std::string& name, const CurveCoefficients& a, const CurveCoefficients& b)
    {
        for (std::size_t i = 0; i < a.size(); ++i) {
            const std::string element = name + "[" + std::to_string(i) + "]";
            if (coefficientUsed(i, leftDegree) || coefficientUsed(i, rightDegree))
                compare(element, a[i], b[i]);
            else if (!same(a[i], b[i]))
                unused.push_back({key_, element, text(a[i]), text(b[i])});
        }
    }
    void compare(const std::string& name, const RelaySettings& a, const RelaySettings& b)
    {
        compare(name + ".onValue", a.onValue, b.onValue);
        compare(name + ".offValue", a.offValue, b.offValue);
        compare<std::uint32_t>(name + ".onDelay", a.onDelay, b.onDelay);
        compare<std::uint32_t>(name + ".offDelay", a.offDelay, b.offDelay);
        compare(name + ".mode", a.mode, b.mode);
    }

    std::string text(std::uint32_t v) const { return std::to_string(v); }
    std::string text(std::uint8_t v) const { return std::to_string(v); }
    std::string text(float v) const { return real_(v); }
    std::string text(const CurveCoefficients& value) const
    {
        std::string joined;
        for (float c : value)
            joined += (joined.empty() ? "" : " ") + real_(c);
        return joined;
    }
    std::string text(const RelaySettings& value) const
    {
        return "onValue " + real_(value.onValue) + ", offValue " + real_(value.offValue) + ", onDelay " +
               std::to_string(value.onDelay) + ", offDelay " + std::to_string(value.offDelay) + ", mode " +
               std::to_string(value.mode);
    }
};

struct KeepKeysOf {
    template <typename T>
    void operator()(ConfigurationKey, std::optional<T>& out, const std::optional<T>& from,
                    const std::optional<T>& which) const
    {
        out = which ? from : std::nullopt;
    }
};

} // namespace

std::vector<ConfigurationDifference> compareConfigurations(const Configuration& left,
                                                           const Configuration& right, RealText real)
{
    Comparison comparison(real, left, right);
    forEachKey(comparison, left, right);
    return std::move(comparison.found);
}

std::vector<ConfigurationDifference> unusedDifferences(const Configuration& left, const Configuration& right,
                                                       RealText real)
{
    Comparison comparison(real, left, right);
    forEachKey(comparison, left, right);
    return std::move(comparison.unused);
}

Configuration keysOf(const Configuration& from, const Configuration& which)
{
    Configuration kept;
    forEachKey(KeepKeysOf{}, kept, from, which);
    return kept;
}

void expectLinearization(Configuration& expected, const StoredLinearization& stored)
{
    expected.rangeMin = stored.rangeMin;
    expected.rangeMax = stored.rangeMax;
    expected.segmentCount = stored.segmentCount;
    expected.curveDegree = stored.curveDegree;
    if (stored.coefficients)
        expected.curveCoefficients = stored.coefficients;
}

WriteCheck checkWrites(const Configuration& written, const Configuration& readBack, RealText real)
{
    WriteCheck check;
    forEachKey(
        [&check](ConfigurationKey key, const auto& asked, const auto& held) {
            if (asked && !held)
                check.unread.emplace_back(key.name);
        },
        written, readBack);
    const Configuration held = keysOf(readBack, written);
    check.differences = compareConfigurations(keysOf(written, held), held, real);
    return check;
}

std::string realText(float value)
{
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}
