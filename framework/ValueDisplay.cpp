#include "framework/ValueDisplay.h"

#include "device/ParameterTexts.h"
#include "framework/NumberText.h"

ValueDisplay::ValueDisplay(WindowObject* parent, std::string_view title, int x, int y, int width, int height)
    : StaticText(parent, title, x, y, width, height, 0, 0)
{
    style = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_RIGHT;
    exStyle = WS_EX_CLIENTEDGE;
}

ValueDisplay::ValueDisplay(WindowObject* parent, int id) : StaticText(parent, id, 0) {}

void ValueDisplay::SetInteger(std::int32_t value)
{
    SetText(number_text::IntegerText(value));
}

void ValueDisplay::SetReal(float value, int decimals)
{
    SetText(number_text::RealText(value, decimals));
}

void ValueDisplay::SetRealAuto(float value)
{
    SetText(number_text::RealAutoText(value));
}

void ValueDisplay::SetVersion(std::uint16_t value)
{
    SetText(number_text::VersionText(value));
}

void ValueDisplay::SetOutputKind(std::uint8_t code)
{
    SetText(parameter_texts::OutputTypeText(code));
}

void ValueDisplay::SetRelayKind(std::uint8_t code)
{
    SetText(parameter_texts::RelayOptionsText(code));
}

void ValueDisplay::SetRange(std::int32_t min, std::int32_t max)
{
    SetText(number_text::RangeText(min, max));
}
