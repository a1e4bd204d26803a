#include "inputs/InputDialogFactory.h"

#include "device/ParameterTexts.h"
#include "inputs/CurrentDialog.h"
#include "inputs/PotentiometerDialog.h"
#include "inputs/ResistanceDialog.h"
#include "inputs/VoltageDialog.h"

std::unique_ptr<InputDialog> MakeInputDialog(int kind, WindowObject* parent, ConverterLink& link,
                                             StaticText& description, LinearizationTable& table,
                                             const RtdCurve*& currentRtdCurve)
{
    using parameter_texts::InputKind;
    switch (static_cast<InputKind>(kind)) {
    case InputKind::Voltage:
        return std::make_unique<VoltageDialog>(parent, link, description, table);
    case InputKind::Current:
        return std::make_unique<CurrentDialog>(parent, link, description, table);
    case InputKind::Resistance:
        return std::make_unique<ResistanceDialog>(parent, link, description, table, currentRtdCurve);
    case InputKind::Potentiometer:
        return std::make_unique<PotentiometerDialog>(parent, link, description, table);
    default:
        return nullptr;
    }
}
