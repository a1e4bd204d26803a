#include "inputs/SensorCatalogs.h"

#include "inputs/RtdCatalog.h"
#include "inputs/ThermocoupleCatalog.h"

const RtdCatalog& Rtds()
{
    static const RtdCatalog catalog;
    return catalog;
}

const ThermocoupleCatalog& Thermocouples()
{
    static const ThermocoupleCatalog catalog;
    return catalog;
}
