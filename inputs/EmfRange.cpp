#include "inputs/EmfRange.h"

#include <bit>
#include <cstddef>

namespace {

void putLittleEndian(EmfRange::WireImage& image, std::size_t at, float value)
{
    const auto bits = std::bit_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i)
        image[at + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

} // namespace

EmfRange::WireImage EmfRange::wireImage() const
{
    WireImage image{};
    for (std::size_t i = 0; i < d.size(); ++i)
        putLittleEndian(image, 4 * i, d[i]);
    putLittleEndian(image, 4 * d.size(), lowerBound);
    image[4 * d.size() + 4] = static_cast<std::uint8_t>(degree & 0xFF);
    return image;
}

double EmfRange::temperatureAt(double emf) const
{
    double t = 0.0;
    for (auto c = d.rbegin(); c != d.rend(); ++c)
        t = t * emf + *c;
    return t;
}

bool EmfRange::isUnused() const
{
    return this == &UnusedEmfRange;
}
