#include "report/ConverterCurve.h"
#include "framework/CzechPlural.h"

#include "config/ConverterReading.h"
#include "device/ParameterTexts.h"
#include "inputs/RtdCurve.h"
#include "inputs/ThermocoupleCurve.h"
#include "linearization/FitQuality.h"
#include "linearization/LinearizationTable.h"

#include <bit>
#include <cmath>
#include <memory>

namespace {

using parameter_texts::InputKind;

std::shared_ptr<LinearizationTable> polynomialTable(int degree, const float* coefficients)
{
    auto table = std::make_shared<LinearizationTable>();
    table->polynomialDegree = degree;
    for (int k = 0; k <= degree && k <= MaxPolynomialDegree; ++k)
        table->coefficients[k] = coefficients[k];
    return table;
}

CurvePlot tablePlot(std::shared_ptr<const LinearizationTable> table, float min, float max)
{
    CurvePlot plot;
    plot.min = min;
    plot.max = max;
    for (int i = 0; i < table->segmentCount; ++i)
        plot.breaks.push_back(table->segments[i].x0);
    plot.curve = [table](double x) { return tableValueAt(*table, x); };
    return plot;
}

// The piece whose lower bound is the largest at or below emf; the first one
// below its bound.
double thermocoupleTemperature(const ThermocoupleCurve& type, double emf)
{
    int piece = 0;
    while (piece + 1 < type.pieceCount() && type.range(piece + 1).lowerBound <= emf)
        ++piece;
    return type.range(piece).temperatureAt(emf);
}

// Whether the converter holds what the file gives, as far as it was read.
bool holdsTable(const ConverterReading& reading, const LinearizationTable& table)
{
    const Configuration& settings = reading.settings;
    if (!settings.curveDegree || !reading.settings.segmentCount)
        return true; // unknown: no claim either way
    if (table.segmentCount > 0)
        return *reading.settings.segmentCount == table.segmentCount && *settings.curveDegree == 0;
    if (*reading.settings.segmentCount != 0 || *settings.curveDegree != table.polynomialDegree)
        return false;
    for (int k = 0; settings.curveCoefficients && k <= MaxPolynomialDegree; ++k)
        if (std::bit_cast<std::uint32_t>((*settings.curveCoefficients)[k]) !=
            std::bit_cast<std::uint32_t>(table.coefficients[k]))
            return false;
    return true;
}

std::string methodText(const LinearizationTable& table)
{
    if (table.segmentCount > 0)
        return "lineární spline, " + segmentCountText(table.segmentCount);
    return "aproximační polynom, " + std::to_string(table.polynomialDegree) + ". řádu";
}

} // namespace

ConverterCurve chooseConverterCurve(const ConverterReading& reading, const LinearizationTable* userTable,
                                    const std::string& userFile)
{
    ConverterCurve result;
    const Configuration& settings = reading.settings;
    const InputPresentation* input = reading.input ? &*reading.input : nullptr;
    const RtdCurve* rtd = input && input->rtdCurve ? *input->rtdCurve : nullptr;
    const ThermocoupleCurve* thermocouple =
        input && input->thermocoupleCurve ? *input->thermocoupleCurve : nullptr;
    const bool rangeKnown = reading.settings.rangeMin && reading.settings.rangeMax;
    const auto range = [&](float min, float max) {
        return rangeKnown ? std::pair{*reading.settings.rangeMin, *reading.settings.rangeMax}
                          : std::pair{min, max};
    };

    if (userTable) {
        result.heading = "Uživatelská linearizace: " + methodText(*userTable) + " (" + userFile + ")";
        const auto [min, max] = range(userTable->min, userTable->max);
        // Not owned: the caller keeps the table until the page is written.
        result.plot = tablePlot(std::shared_ptr<const LinearizationTable>(userTable, [](auto*) {}), min, max);
        result.plot->xTitle = "vstup";
        result.plot->yTitle = "linearizovaná hodnota";
        result.userTableDiffers = !holdsTable(reading, *userTable);
        if (result.userTableDiffers)
            result.notes.push_back("Pozor: linearizace v převodníku se liší od souboru " + userFile + ".");
    } else if (rtd) {
        result.heading = "Charakteristika: " + std::string(rtd->name());
        const auto [min, max] = range(rtd->ResistanceAt(static_cast<float>(rtd->tmin())),
                                      rtd->ResistanceAt(static_cast<float>(rtd->tmax())));
        result.plot = tablePlot(polynomialTable(rtd->degree(), rtd->polynomial().data()), min, max);
        result.plot->xTitle = "R [ohm]";
        result.plot->yTitle = "t [°C]";
        result.notes.push_back("Teplota z odporu podle polynomu t(R) " + std::to_string(rtd->degree()) +
                               ". řádu, jak jej počítá převodník.");
    } else if (thermocouple) {
        result.heading = "Charakteristika: termočlánek " + std::string(thermocouple->name());
        const auto [min, max] = range(thermocouple->emfMin(), thermocouple->emfMax());
        result.plot.emplace();
        result.plot->min = min;
        result.plot->max = max;
        for (int piece = 1; piece < thermocouple->pieceCount(); ++piece)
            result.plot->breaks.push_back(thermocouple->range(piece).lowerBound);
        result.plot->curve = [thermocouple](double emf) {
            return thermocoupleTemperature(*thermocouple, emf);
        };
        result.plot->xTitle = "E [mV]";
        result.plot->yTitle = "t [°C]";
        result.notes.push_back("Teplota z termoelektrického napětí po " +
                               std::to_string(thermocouple->pieceCount()) +
                               " úsecích inverzní charakteristiky.");
    } else if (!settings.curveDegree || !reading.settings.segmentCount ||
               (*settings.curveDegree > 0 && !settings.curveCoefficients) || !input) {
        result.heading = "Linearizace";
        result.failed = true;
        return result;
    } else if (*reading.settings.segmentCount > 0) {
        result.heading = "Uživatelská linearizace: lineární spline, " +
                         segmentCountText(*reading.settings.segmentCount);
        result.notes.push_back("Segmenty nelze z převodníku přečíst: pro obrázek zadejte --linearization s "
                               "souborem bodů.");
    } else if (*settings.curveDegree > 0) {
        result.heading = "Uživatelská linearizace: aproximační polynom, " +
                         std::to_string(*settings.curveDegree) + ". řádu";
        if (!rangeKnown) {
            result.failed = true;
            return result;
        }
        result.plot = tablePlot(polynomialTable(*settings.curveDegree, settings.curveCoefficients->data()),
                                *reading.settings.rangeMin, *reading.settings.rangeMax);
        result.plot->xTitle = "vstup";
        result.plot->yTitle = "linearizovaná hodnota";
    } else {
        result.heading = "Linearizace vypnuta";
    }
    if (result.plot && !rangeKnown)
        result.notes.push_back("Rozsah se nepodařilo přečíst (" +
                               std::string(parameter_texts::CommunicationErrorText) +
                               "): obrázek ukazuje celý rozsah senzoru nebo souboru.");
    if (result.plot && !(std::isfinite(result.plot->min) && std::isfinite(result.plot->max) &&
                         result.plot->min < result.plot->max)) {
        result.notes.push_back("Rozsah převodníku je prázdný; křivku nelze nakreslit.");
        result.plot.reset();
    }
    return result;
}
