#include "inputs/win32/SensorDialog.h"

#include "device/ConverterLink.h"
#include "device/ParameterTexts.h"
#include "framework/ComboBox.h"
#include "framework/ValueDisplay.h"
#include "inputs/SensorCatalog.h"

SensorDialog::SensorDialog(WindowObject* parent, int templateId, ConverterLink& converter,
                           StaticText& descriptionText, const SensorCatalog& sensors, const Kind& sensorKind)
    : DialogObject(parent, templateId), link(converter), typeList(MakeChild<ComboBox>(TypeListId, 0)),
      rangeText(MakeChild<ValueDisplay>(RangeTextId)), wiringList(MakeChild<ComboBox>(WiringListId, 0)),
      description(descriptionText), catalog(sensors), kind(sensorKind)
{
}

void SensorDialog::SetUp()
{
    DialogObject::SetUp();
    std::uint8_t code = 0;
    if (!link.readInputType(code)) {
        typeList->AddString(parameter_texts::CommunicationErrorText);
        typeList->SetCurSel(0);
        return;
    }
    for (int i = 0; i < catalog.Count(); ++i)
        typeList->AddString(catalog.At(i)->name());
    for (std::string_view text : kind.wiringTexts)
        wiringList->AddString(text);

    const SensorCurve* current = currentSensor();
    const int wiring = code - kind.firstCode;
    const bool ownMode = wiring >= 0 && wiring < static_cast<int>(kind.wiringTexts.size()) &&
                         (current != nullptr || !kind.unknownSensorMeansOtherMode);
    if (ownMode) {
        select(current);
        wiringList->SetCurSel(wiring);
    } else {
        select(catalog.At(kind.defaultSensor));
        wiringList->SetCurSel(kind.defaultWiring);
    }
}

void SensorDialog::OnChildNotification(WindowMessage& msg, int id)
{
    if (id != TypeListId) {
        DialogObject::OnChildNotification(msg, id);
        return;
    }
    // The lone error entry stands for no type at all.
    if (msg.WParamHigh() != CBN_SELCHANGE || typeList->GetItemCount() <= 1)
        return;
    const int index = typeList->GetCurSel();
    if (index >= 0 && index < catalog.Count())
        select(catalog.At(index));
}

void SensorDialog::Accept(WindowMessage& msg)
{
    if (selected != nullptr) {
        rememberSensor(*selected);
        description.SetText(selected->name());
        writeSensor(*selected, chosenWiring());
    }
    DialogObject::Accept(msg);
}

void SensorDialog::select(const SensorCurve* sensor)
{
    selected = sensor;
    if (sensor == nullptr)
        return;
    typeList->SetCurSel(catalog.IndexOf(sensor));
    const TemperatureRange range = rangeOf(*sensor);
    rangeText->SetRange(range.min, range.max);
}

int SensorDialog::chosenWiring() const
{
    // A chosen type comes with a set wiring list; the guard keeps a code of
    // another kind from ever being written.
    const int wiring = wiringList->GetCurSel();
    if (wiring < 0 || wiring >= static_cast<int>(kind.wiringTexts.size()))
        return kind.defaultWiring;
    return wiring;
}
