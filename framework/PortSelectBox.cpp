#include "framework/PortSelectBox.h"

#include "device/PortList.h"
#include "device/PortNameList.h"

PortSelectBox::PortSelectBox(WindowObject* parent, int x, int y, int width, int height, int id)
    : ComboBox(parent, x, y, width, height, id, 0, false), portNames(std::make_unique<PortNameList>())
{
    FillPortList(*portNames);
}

PortSelectBox::~PortSelectBox() = default;

void PortSelectBox::SetUp()
{
    // Inserted at the end one by one: the box's own sorting would put COM10
    // before COM2.
    portNames->ForEach([this](void* name) { InsertString(static_cast<const char*>(name), -1); });
}
