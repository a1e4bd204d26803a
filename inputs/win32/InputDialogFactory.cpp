#include "inputs/win32/InputDialogFactory.h"

#include "device/ParameterTexts.h"
#include "inputs/win32/CurrentDialog.h"
#include "inputs/win32/PotentiometerDialog.h"
#include "inputs/win32/ResistanceDialog.h"
#include "inputs/win32/VoltageDialog.h"

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
