#pragma once

#include "linearization/FileName.h"

#include <windows.h>

#include <functional>

class LinearizationTable;
class StaticText;
class WindowObject;

// Asks for the point file to import; false when the user cancels.
using LinearizationFileChooser = std::function<bool(HWND owner, FileName& fileName)>;

// The open-file dialog for point files ("Textový soubor", *.txt).
bool choosePointFile(HWND owner, FileName& fileName);

// A user linearization from a point file: the user picks the file, the
// linearization dialog (owned by owner) shows its points and takes the method,
// and the chosen builder fills table. Only a successful import changes table
// (with the file's x range) and fileNameText (the file's name without its
// directory); every failure shows an error box over owner instead.
// Nothing is sent to the converter.
void importLinearization(WindowObject& owner, LinearizationTable& table, StaticText& fileNameText,
                         const LinearizationFileChooser& chooseFile = choosePointFile);
