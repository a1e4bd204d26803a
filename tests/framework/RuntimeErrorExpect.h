#pragma once

#include <gtest/gtest.h>

// Prepares a death test's child for the run-time stop. On Windows the stop
// shows a message box; a watcher copies its caption and text to standard
// error ("Error: Runtime error N") and presses OK, as a user would.
void WatchRuntimeErrorBox();

#define EXPECT_RUNERROR(statement, code)                                                                     \
    EXPECT_EXIT(                                                                                             \
        {                                                                                                    \
            WatchRuntimeErrorBox();                                                                          \
            statement;                                                                                       \
        },                                                                                                   \
        ::testing::ExitedWithCode(code), "Runtime error " #code)
