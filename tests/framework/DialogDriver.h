#pragma once

#include "tests/framework/DialogView.h"

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Works the modal windows (dialogs, message boxes) that open on this thread
// while it lives: a thread timer, served by whatever modal loop is running,
// hands each newly shown one to the next step, which must close it. A window
// that opens when no step is left is recorded and escaped. A window still
// open long after the driver acted on it fails the test and is ended, so a
// fault cannot hang the test.
class DialogDriver {
public:
    using Step = std::function<void(DialogView&)>;

    explicit DialogDriver(std::vector<Step> steps);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    int stepsTaken() const { return taken; }
    // Captions of the windows that no step expected.
    const std::vector<std::string>& unexpected() const { return unexpectedWindows; }

private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD);
    void act();

    std::vector<Step> steps;
    std::vector<std::string> unexpectedWindows;
    // The windows acted on, with the time of it.
    std::vector<std::pair<HWND, ULONGLONG>> handled;
    int taken = 0;
    UINT_PTR timer = 0;
};
