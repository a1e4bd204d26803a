#pragma once

#include "framework/Window.h"

#include <windows.h>

#include <string_view>
#include <vector>

// Handles every message waiting in this thread's queue.
void PumpPending();

// A window that records what reaches its handlers and can refuse to close.
class RecordingWindow : public Window {
public:
    explicit RecordingWindow(WindowObject* parent = nullptr, std::string_view title = "Test")
        : Window(parent, title)
    {
    }
    ~RecordingWindow() override
    {
        if (freed != nullptr)
            *freed = true;
    }

    void OnChildNotification(WindowMessage& msg, int id) override
    {
        childIds.push_back(id);
        Window::OnChildNotification(msg, id);
    }
    void DefaultProcessing(WindowMessage& msg) override
    {
        if (msg.message == WM_COMMAND && msg.lParam == 0)
            defaultCommands.push_back(msg.WParamLow());
        Window::DefaultProcessing(msg);
    }
    bool ReadyToClose() override
    {
        ++closeQuestions;
        return allowClose && Window::ReadyToClose();
    }

    std::vector<int> childIds;
    std::vector<int> defaultCommands; // menu commands that reached DefaultProcessing
    int closeQuestions = 0;
    bool allowClose = true;
    bool* freed = nullptr;
};
