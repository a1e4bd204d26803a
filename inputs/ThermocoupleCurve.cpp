#include "inputs/ThermocoupleCurve.h"

int ThermocoupleCurve::pieceCount() const
{
    int used = 0;
    for (const EmfRange* piece : data.ranges)
        if (!piece->isUnused())
            ++used;
    return used;
}

const EmfRange& ThermocoupleCurve::range(int slot) const
{
    if (slot < 0 || slot >= PieceSlots)
        return UnusedEmfRange;
    return *data.ranges[static_cast<std::size_t>(slot)];
}
