#pragma once

#include "framework/ComboBox.h"

#include <memory>

class StringCollection;

// The drop-down list of the system's serial ports. The names are gathered
// at construction and shown in the list's own order (shorter names first:
// COM2 before COM10), not in the box's alphabetical one.
class PortSelectBox : public ComboBox {
public:
    PortSelectBox(WindowObject* parent, int x, int y, int width, int height, int id);
    ~PortSelectBox() override;

    void SetUp() override;

    // The names the box shows once realised.
    StringCollection& PortNames() { return *portNames; }

private:
    std::unique_ptr<StringCollection> portNames;
};
