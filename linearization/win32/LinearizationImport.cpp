#include "linearization/win32/LinearizationImport.h"

#include "framework/Application.h"
#include "framework/StaticText.h"
#include "framework/WideText.h"
#include "linearization/FitOffer.h"
#include "linearization/win32/LinearizationDialog.h"
#include "linearization/PointSet.h"
#include "linearization/TableImport.h"

#include <commdlg.h>

#include <memory>
#include <string>
#include <string_view>

namespace {

UINT_PTR CALLBACK passiveHook(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

void showError(const WindowObject& owner, std::string_view text)
{
    MessageBoxW(owner.Handle(), Widen(text).c_str(), L"DNX8 config", MB_OK | MB_ICONERROR);
}

int runModal(std::unique_ptr<DialogObject> dialog)
{
    if (Application* application = Application::Instance())
        return application->RunModal(std::move(dialog));
    const auto result = static_cast<int>(dialog->RunDialogBox());
    dialog.release()->Free();
    return result;
}

// The name without its folders, as the main window shows it.
std::wstring_view leafName(std::wstring_view name)
{
    return name.substr(name.find_last_of(L"\\/:") + 1);
}

} // namespace

bool choosePointFile(HWND owner, FileName& fileName)
{
    // One filter: description and pattern, the list ended by a second zero.
    std::wstring filter = Widen("Textový soubor");
    filter.push_back(L'\0');
    filter += L"*.txt";
    filter.push_back(L'\0');

    wchar_t chosen[MAX_PATH] = {};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = chosen;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ENABLEHOOK | OFN_HIDEREADONLY;
    dialog.lpfnHook = passiveHook;
    if (GetOpenFileNameW(&dialog) == 0)
        return false;
    fileName = chosen;
    return true;
}

void importLinearization(WindowObject& owner, LinearizationTable& table, StaticText& fileNameText,
                         const LinearizationFileChooser& chooseFile)
{
    FileName fileName;
    if (!chooseFile(owner.Handle(), fileName))
        return;

    PointSet pointSet;
    readPointSet(fileName, pointSet);
    if (pointSet.count < fit_offer::MinImportPoints) {
        showError(owner, "Soubor neobsahuje dostatek bodů.");
        return;
    }
    if (runModal(std::make_unique<LinearizationDialog>(&owner, pointSet)) != IDOK)
        return;
    // The builders leave the table as it was when they fail.
    if (!importTable(fileName, pointSet, table)) {
        showError(owner, "Chyba při zpracování.");
        return;
    }
    fileNameText.SetText(Narrow(leafName(fileName.native())));
}
