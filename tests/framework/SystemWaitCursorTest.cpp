#include "framework/SystemWaitCursor.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(SystemWaitCursor, ShowsTheWaitCursorAndThenTheOneBefore)
{
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    SetCursor(arrow);
    SystemWaitCursor cursor;
    cursor.show();
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
    cursor.restore();
    EXPECT_EQ(GetCursor(), arrow);
}
