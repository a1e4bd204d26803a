#include "simulator/ProcessCurve.h"

#include "simulator/Clipping.h"

#include <algorithm>

namespace sim {
namespace {

using P = protocol::Parameter;

constexpr std::size_t EmfPieces = 4;
constexpr std::size_t EmfCoefficients = 13;
constexpr std::size_t EmfLowerBoundOffset = 52;
constexpr std::size_t EmfDegreeOffset = 56;
constexpr std::uint8_t FirstThermocoupleType = 13;
constexpr std::uint8_t LastThermocoupleType = 15;

// Horner over `degree + 1` reals stored 4 bytes apart.
double Polynomial(std::span<const std::uint8_t> reals, unsigned degree, double x)
{
    const unsigned last = std::min<unsigned>(degree, static_cast<unsigned>(reals.size() / 4) - 1);
    double y = 0.0;
    for (unsigned i = last + 1; i-- > 0;)
        y = y * x + GetReal(reals.data() + 4 * i);
    return y;
}

double SegmentsAt(const ParameterMemory& memory, unsigned count, double x)
{
    // Segments rise in x0; x below the first extrapolates the first one.
    unsigned chosen = 0;
    for (unsigned i = 1; i < count; ++i)
        if (memory.real(P::Segment, 16, i) <= x)
            chosen = i;
    auto s = memory.value(P::Segment, chosen);
    const double d = x - GetReal(s.data() + 16);
    return GetReal(s.data()) +
           d * (GetReal(s.data() + 4) + d * (GetReal(s.data() + 8) + d * GetReal(s.data() + 12)));
}

double ThermocoupleAt(const ParameterMemory& memory, double emf)
{
    const unsigned cjDegree = std::min(memory.byte(P::CurveDegree), ByteLimit(P::CurveDegree));
    const double coldJunction =
        cjDegree == 0 ? 0.0 : Polynomial(memory.value(P::CurveCoefficients), cjDegree, ColdJunctionOhms);
    const double total = emf + coldJunction;
    std::size_t chosen = 0;
    for (std::size_t i = 1; i < EmfPieces; ++i) {
        auto piece = memory.value(P::EmfRange, i);
        if (piece[EmfDegreeOffset] != 0 && GetReal(piece.data() + EmfLowerBoundOffset) <= total)
            chosen = i;
    }
    auto piece = memory.value(P::EmfRange, chosen);
    if (piece[EmfDegreeOffset] == 0)
        return emf; // no characteristic loaded
    return Polynomial(piece.first(4 * EmfCoefficients), piece[EmfDegreeOffset], total);
}

} // namespace

double ProcessOf(const ParameterMemory& memory, double input)
{
    const unsigned segments = std::min(memory.byte(P::SegmentCount), ByteLimit(P::SegmentCount));
    if (segments != 0)
        return SegmentsAt(memory, segments, input);
    const std::uint8_t type = memory.byte(P::InputType);
    if (type >= FirstThermocoupleType && type <= LastThermocoupleType)
        return ThermocoupleAt(memory, input);
    const unsigned degree = std::min(memory.byte(P::CurveDegree), ByteLimit(P::CurveDegree));
    if (degree != 0)
        return Polynomial(memory.value(P::CurveCoefficients), degree, input);
    return input;
}

} // namespace sim
