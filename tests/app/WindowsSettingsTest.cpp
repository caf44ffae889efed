// What the application manifest gets from the system the program runs on
// (the test programs link the editor's resources, manifest included), and
// the answer of the top-level windows to a DPI change.
//
// Wine 8 honours the manifest's activeCodePage (GetACP() is 65001 with it,
// 1252 without) and its common controls dependency (comctl32 then comes
// from the side-by-side folder), but not its DPI entries: every Wine 8
// process is per-monitor aware (v1), with or without a manifest. Windows 10
// and 11 make the editor per-monitor v2 aware.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/EditorApp.h"
#include "app/PaletteDialog.h"
#include "app/PropertiesDialog.h"
#include "app/WindowDpi.h"
#include "resource.h"
#include "tests/app/EditingHarness.h"
#include "tests/support/EditorHarness.h"
#include "Version.h"

namespace
{
std::string ManifestText()
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    if (!loaded)
        return "";
    return std::string((const char*)LockResource(loaded), SizeofResource(nullptr, found));
}

bool UnderWine()
{
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

RECT WindowRect(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}
} // namespace

TEST(WindowsSettingsTest, ManifestIsResourceOneAndNamesWhatWineCannotShow)
{
    const std::string manifest = ManifestText();
    ASSERT_FALSE(manifest.empty()) << "no RT_MANIFEST resource 1";
    // Kept by hand beside Version.h: they must name one version.
    EXPECT_NE(manifest.find("name=\"MapEditor\" version=\"" MAPEDITOR_FILE_VERSION_TEXT "\""),
              std::string::npos);
    for (const char* entry : {
             ">PerMonitorV2, PerMonitor</dpiAwareness>", ">true/pm</dpiAware>",
             ">true</longPathAware>",
             "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", // Windows 7
             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", // Windows 10 and 11
         })
        EXPECT_NE(manifest.find(entry), std::string::npos) << entry;
}

TEST(WindowsSettingsTest, ProcessRunsInUtf8WithVersion6ControlsAndPerMonitorDpi)
{
    ASSERT_TRUE(StartEditorOnce()) << app.failedStep;
    // The 8-bit functions take UTF-8: CP_ACP conversions give any character.
    EXPECT_EQ(GetACP(), (UINT)CP_UTF8);
    wchar_t wide[8] = L"";
    MultiByteToWideChar(CP_ACP, 0, "\xD0\x9A\xC3\xA4", -1, wide, 8);
    EXPECT_EQ(std::wstring(wide), L"Кä");

    // The palette's buttons are the version 6 controls: only those know
    // BCM_GETIDEALSIZE, and their library lies in the side-by-side store.
    SIZE ideal = {0, 0};
    EXPECT_TRUE(
        SendDlgItemMessageA(app.paletteWindow, IDC_ADD, BCM_GETIDEALSIZE, 0, (LPARAM)&ideal));
    char library[MAX_PATH] = "";
    GetModuleFileNameA(GetModuleHandleA("comctl32.dll"), library, sizeof(library));
    CharLowerA(library);
    EXPECT_NE(std::string(library).find("winsxs"), std::string::npos) << library;

    EXPECT_TRUE(IsProcessDPIAware());
    typedef DPI_AWARENESS_CONTEXT(WINAPI * ThreadContext)();
    typedef DPI_AWARENESS(WINAPI * AwarenessOf)(DPI_AWARENESS_CONTEXT);
    typedef BOOL(WINAPI * SameContext)(DPI_AWARENESS_CONTEXT, DPI_AWARENESS_CONTEXT);
    HMODULE user = GetModuleHandleA("user32.dll");
    const auto context = (ThreadContext)(void*)GetProcAddress(user, "GetThreadDpiAwarenessContext");
    const auto awareness =
        (AwarenessOf)(void*)GetProcAddress(user, "GetAwarenessFromDpiAwarenessContext");
    const auto same = (SameContext)(void*)GetProcAddress(user, "AreDpiAwarenessContextsEqual");
    if (!context || !awareness || !same)
        GTEST_SKIP() << "a system before Windows 10 version 1607";
    EXPECT_EQ(awareness(context()), DPI_AWARENESS_PER_MONITOR_AWARE);
    if (!UnderWine()) // Wine 8 stays per-monitor v1 whatever the manifest says
    {
        EXPECT_TRUE(same(context(), DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2));
    }
}

TEST(WindowsSettingsTest, TopLevelWindowsTakeTheRectangleSuggestedForANewDpi)
{
    ASSERT_TRUE(StartEditorOnce()) << app.failedStep;
    HWND properties =
        CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PROPERTIESDIALOG),
                           app.mainWindow, PropertiesDialogProc, 0);
    ASSERT_NE(properties, nullptr);
    for (HWND window : {app.mainWindow, app.paletteWindow, properties})
    {
        const RECT before = WindowRect(window);
        // As for a move to a 144 DPI monitor: half as large again.
        RECT suggested = {40, 30, 40 + (before.right - before.left) * 3 / 2,
                          30 + (before.bottom - before.top) * 3 / 2};
        SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(144, 144), (LPARAM)&suggested);
        const RECT after = WindowRect(window);
        EXPECT_TRUE(EqualRect(&after, &suggested)) << window;
        if (window == app.paletteWindow) // its list follows the new client area
        {
            RECT client;
            GetClientRect(window, &client);
            const RECT list = WindowRect(GetDlgItem(window, IDC_OBJECTLIST));
            EXPECT_EQ(list.right - list.left, client.right);
            EXPECT_EQ(list.bottom - list.top,
                      client.bottom - PaletteControlsRowHeight(window, WindowDpi(window)));
        }
        SetWindowPos(window, nullptr, before.left, before.top, before.right - before.left,
                     before.bottom - before.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    DestroyWindow(properties);
    PumpMessages();
}
