#include "simulator/SensorPresets.h"

#include "inputs/RtdCatalog.h"
#include "inputs/ThermocoupleCatalog.h"

#include <algorithm>

namespace sim {
namespace {

using P = protocol::Parameter;

template <class Catalog>
auto FindByName(const Catalog& catalog, std::string_view name) -> decltype(catalog.At(0))
{
    for (int i = 0; i < catalog.Count(); ++i)
        if (name == catalog.At(i)->name())
            return catalog.At(i);
    return nullptr;
}

void LoadPolynomial(ParameterMemory& memory, const SensorCurve& curve)
{
    for (std::size_t i = 0; i < curve.curveCoefficients().size(); ++i)
        memory.setReal(P::CurveCoefficients, curve.curveCoefficients()[i], 4 * i);
    memory.setByte(P::CurveDegree, static_cast<std::uint8_t>(curve.curveDegree()));
    memory.setByte(P::SegmentCount, 0);
}

} // namespace

bool LoadRtd(ParameterMemory& memory, std::string_view name)
{
    const RtdCatalog catalog;
    const RtdCurve* rtd = FindByName(catalog, name);
    if (!rtd)
        return false;
    memory.setReal(P::RangeMin, rtd->ResistanceAt(static_cast<float>(rtd->tmin())));
    memory.setReal(P::RangeMax, rtd->ResistanceAt(static_cast<float>(rtd->tmax())));
    LoadPolynomial(memory, *rtd);
    return true;
}

bool LoadThermocouple(ParameterMemory& memory, std::string_view name)
{
    const ThermocoupleCatalog catalog;
    const ThermocoupleCurve* tc = FindByName(catalog, name);
    if (!tc)
        return false;
    memory.setReal(P::RangeMin, tc->emfMin());
    memory.setReal(P::RangeMax, tc->emfMax());
    for (int slot = 0; slot < ThermocoupleCurve::PieceSlots; ++slot) {
        const EmfRange::WireImage piece = tc->range(slot).wireImage();
        auto stored = memory.value(P::EmfRange, static_cast<std::size_t>(slot));
        std::copy(piece.begin(), piece.end(), stored.begin());
    }
    LoadPolynomial(memory, *tc);
    return true;
}

} // namespace sim
