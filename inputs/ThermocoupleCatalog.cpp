#include "inputs/ThermocoupleCatalog.h"

#include "inputs/ThermocoupleTables.h"

#include <memory>

ThermocoupleCatalog::ThermocoupleCatalog() : SensorCatalog(12)
{
    for (const ThermocoupleCurve::Data& type : ThermocoupleTypes())
        Append(std::make_unique<ThermocoupleCurve>(type));
}
