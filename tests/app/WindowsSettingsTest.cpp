// What the application manifest gets from the system (the test programs
// link the editor's resources, manifest included), and the main window's
// and the palette's answer to a DPI change.
//
// Wine 8 honours the manifest's activeCodePage (GetACP() is 65001 with it,
// 1252 without) and its common controls dependency, but not its DPI
// entries: every Wine 8 process is per-monitor aware (v1), manifest or not.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "app/EditorApp.h"
#include "resource.h"
#include "tests/support/EditorHarness.h"

TEST(WindowsSettingsTest, ProcessRunsInUtf8WithVersion6ControlsAndPerMonitorDpi)
{
    ASSERT_TRUE(StartEditorOnce()) << app.Graphics().FailedStep();
    EXPECT_EQ(GetACP(), (UINT)CP_UTF8);
    // Only the version 6 buttons know BCM_GETIDEALSIZE.
    SIZE ideal = {0, 0};
    EXPECT_TRUE(
        SendDlgItemMessageA(app.Palette().Handle(), IDC_ADD, BCM_GETIDEALSIZE, 0, (LPARAM)&ideal));

    typedef DPI_AWARENESS_CONTEXT(WINAPI * ThreadContext)();
    typedef DPI_AWARENESS(WINAPI * AwarenessOf)(DPI_AWARENESS_CONTEXT);
    HMODULE user = GetModuleHandleA("user32.dll");
    const auto context = (ThreadContext)(void*)GetProcAddress(user, "GetThreadDpiAwarenessContext");
    const auto awareness =
        (AwarenessOf)(void*)GetProcAddress(user, "GetAwarenessFromDpiAwarenessContext");
    EXPECT_TRUE(IsProcessDPIAware());
    if (context && awareness) // Windows 10 version 1607 on, and Wine
    {
        EXPECT_EQ(awareness(context()), DPI_AWARENESS_PER_MONITOR_AWARE);
    }
}

TEST(WindowsSettingsTest, MainWindowAndPaletteTakeTheRectangleSuggestedForANewDpi)
{
    ASSERT_TRUE(StartEditorOnce()) << app.Graphics().FailedStep();
    // The palette is docked (a child window follows its parent's DPI); the
    // floating one answers as the main window does.
    for (HWND window : {app.Main().Handle()})
    {
        RECT before, after;
        GetWindowRect(window, &before);
        // As for a move from 144 to 96 DPI: two thirds of the size (a larger
        // rectangle would pass the screen, which a window's tracking size
        // may refuse).
        RECT suggested = {40, 30, 40 + (before.right - before.left) * 2 / 3,
                          30 + (before.bottom - before.top) * 2 / 3};
        SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(96, 96), (LPARAM)&suggested);
        GetWindowRect(window, &after);
        EXPECT_TRUE(EqualRect(&after, &suggested))
            << window << ": " << after.left << "," << after.top << " " << after.right << "x"
            << after.bottom;
        SetWindowPos(window, nullptr, before.left, before.top, before.right - before.left,
                     before.bottom - before.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    PumpMessages();
}
