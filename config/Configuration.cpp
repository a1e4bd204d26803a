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
    Comparison(const Configuration& left, const Configuration& right)
        : leftDegree(left.curveDegree), rightDegree(right.curveDegree)
    {
    }

    std::vector<ConfigurationDifference> found;
    // Coefficients that differ where neither side uses them.
    std::vector<ConfigurationDifference> unused;

    template <typename T>
    void operator()(ConfigurationKey key, const std::optional<T>& a, const std::optional<T>& b)
    {
        const std::string name(key.name);
        if (a && b)
            compare(name, *a, *b);
        else if (a || b)
            found.push_back({name, a ? valueText(*a) : "(none)", b ? valueText(*b) : "(none)"});
    }

private:
    template <typename T> void compare(std::string name, T a, T b)
    {
        if constexpr (std::is_same_v<T, float>) {
            if (same(a, b))
                return;
        } else if (a == b) {
            return;
        }
        found.push_back({std::move(name), valueText(a), valueText(b)});
    }
    void compare(const std::string& name, const CurveCoefficients& a, const CurveCoefficients& b)
    {
        for (std::size_t i = 0; i < a.size(); ++i) {
            const std::string element = name + "[" + std::to_string(i) + "]";
            if (coefficientUsed(i, leftDegree) || coefficientUsed(i, rightDegree))
                compare(element, a[i], b[i]);
            else if (!same(a[i], b[i]))
                unused.push_back({element, realText(a[i]), realText(b[i])});
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
    std::string valueText(std::uint32_t v) { return std::to_string(v); }

    std::optional<std::uint8_t> leftDegree;
    std::optional<std::uint8_t> rightDegree;
    template <typename T> std::string valueText(const T& v) { return ::valueText(v); }
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
                                                           const Configuration& right)
{
    Comparison comparison(left, right);
    forEachKey(comparison, left, right);
    return std::move(comparison.found);
}

std::vector<ConfigurationDifference> unusedDifferences(const Configuration& left, const Configuration& right)
{
    Comparison comparison(left, right);
    forEachKey(comparison, left, right);
    return std::move(comparison.unused);
}

Configuration keysOf(const Configuration& from, const Configuration& which)
{
    Configuration kept;
    forEachKey(KeepKeysOf{}, kept, from, which);
    return kept;
}

std::string realText(float value)
{
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

std::string valueText(std::uint8_t value)
{
    return std::to_string(value);
}

std::string valueText(float value)
{
    return realText(value);
}

std::string valueText(const CurveCoefficients& value)
{
    std::string text;
    for (float c : value)
        text += (text.empty() ? "" : " ") + realText(c);
    return text;
}

std::string valueText(const RelaySettings& value)
{
    return "onValue " + realText(value.onValue) + ", offValue " + realText(value.offValue) + ", onDelay " +
           std::to_string(value.onDelay) + ", offDelay " + std::to_string(value.offDelay) + ", mode " +
           std::to_string(value.mode);
}
