#pragma once

#include "inputs/win32/InputDialog.h"

#include <memory>

class RtdCurve;

// The dialog of a position in the main window's "Vstup:" list: 0 voltage,
// 1 current, 2 resistance, 3 potentiometer. Null for any other position
// (the thermometer and thermocouple have dialogs of their own). Run it with
// Application::RunModal; the dialog sets description itself on OK, and the
// resistance dialog clears currentRtdCurve.
std::unique_ptr<InputDialog> MakeInputDialog(int kind, WindowObject* parent, ConverterLink& link,
                                             StaticText& description, LinearizationTable& table,
                                             const RtdCurve*& currentRtdCurve);
