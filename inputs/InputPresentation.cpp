#include "inputs/InputPresentation.h"

#include "device/ParameterTexts.h"
#include "inputs/RtdCatalog.h"
#include "inputs/ThermocoupleCatalog.h"

using parameter_texts::InputKind;

namespace {

std::string_view WiringText(std::uint8_t code, InputKind kind)
{
    using namespace parameter_texts;
    switch (kind) {
    case InputKind::Resistance:
        return ResistanceConnectionTexts[code - FirstResistanceCode];
    case InputKind::Potentiometer:
        return PotentiometerConnectionTexts[(code - FirstPotentiometerCode) %
                                            PotentiometerConnectionTexts.size()];
    case InputKind::Thermocouple:
        return CompensationTexts[code - FirstThermocoupleCode];
    default:
        return {};
    }
}

} // namespace

InputPresentation PresentInput(std::uint8_t inputType, const std::optional<CurveReading>& curve,
                               const RtdCatalog& rtds, const ThermocoupleCatalog& thermocouples)
{
    InputPresentation shown;
    auto description = parameter_texts::DescribeInputType(inputType);
    if (!description)
        return shown;

    shown.wiring = WiringText(inputType, description->kind);
    switch (description->kind) {
    case InputKind::Resistance: {
        const RtdCurve* rtd = curve ? rtds.FindByPolynomial(curve->degree, curve->coefficients) : nullptr;
        shown.rtdCurve = rtd;
        if (rtd != nullptr) {
            shown.listPosition = static_cast<int>(InputKind::Thermometer);
            shown.measurement = rtd->name();
        } else {
            shown.listPosition = static_cast<int>(InputKind::Resistance);
            shown.measurement = std::string(description->measurement);
        }
        break;
    }
    case InputKind::Thermocouple: {
        const ThermocoupleCurve* type =
            curve ? thermocouples.FindByPolynomial(curve->degree, curve->coefficients) : nullptr;
        shown.thermocoupleCurve = type;
        shown.listPosition = static_cast<int>(InputKind::Thermocouple);
        // Without a recognised type the text stays as it was.
        if (type != nullptr)
            shown.measurement = type->name();
        break;
    }
    default:
        shown.listPosition = static_cast<int>(description->kind);
        shown.measurement = std::string(description->measurement);
        break;
    }
    return shown;
}
