#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Works the modal windows (dialogs, message boxes) that open on this thread
// while a test's call runs: a thread timer, served by whatever modal loop is
// running, hands each newly opened one to the next step. A window that opens
// when no step is left is recorded and cancelled, and so is any window still
// open long after the last step, so a fault cannot hang the test.
class DialogDriver {
public:
    using Step = std::function<void(HWND)>;

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
    std::vector<HWND> handled;
    int taken = 0;
    int idleTicks = 0;
    UINT_PTR timer = 0;
};

// What a message box shows.
struct MessageBoxView {
    std::string caption;
    std::string text;
    bool hasIcon = false;
    std::vector<int> buttons; // control ids
};

MessageBoxView ReadMessageBox(HWND box);
// Presses the button as a user would; the modal loop handles it.
void PressButton(HWND dialog, int id);
void PressEscape(HWND dialog);
