#pragma once

class RtdCatalog;
class ThermocoupleCatalog;

// The built-in sensor catalogs, made once for the whole run: presented
// inputs point into them.
const RtdCatalog& rtds();
const ThermocoupleCatalog& thermocouples();
