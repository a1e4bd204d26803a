#include "framework/ValueEdit.h"

#include "framework/NumberText.h"

ValueEdit::ValueEdit(WindowObject* parent, std::string_view title, int x, int y, int width, int height,
                     int id)
    : EditBox(parent, title, x, y, width, height, id, 0, false)
{
    // Right-aligned, without ES_AUTOHSCROLL.
    style = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | ES_RIGHT;
}

ValueEdit::ValueEdit(WindowObject* parent, int id) : EditBox(parent, id, 0) {}

void ValueEdit::SetInteger(std::int32_t value)
{
    SetText(number_text::IntegerText(value));
}

void ValueEdit::SetReal(float value, int decimals)
{
    SetText(number_text::RealText(value, decimals));
}

std::int32_t ValueEdit::GetInteger() const
{
    return number_text::IntegerFromText(GetText());
}

float ValueEdit::GetReal() const
{
    return number_text::RealFromText(GetText());
}
