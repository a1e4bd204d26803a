#include "inputs/SensorCatalogs.h"

#include "inputs/RtdCatalog.h"
#include "inputs/ThermocoupleCatalog.h"

const RtdCatalog& rtds()
{
    static const RtdCatalog catalog;
    return catalog;
}

const ThermocoupleCatalog& thermocouples()
{
    static const ThermocoupleCatalog catalog;
    return catalog;
}
