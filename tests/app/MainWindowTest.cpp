// The main window's messages and commands on the real windows and device:
// activation, painting, resizing, zoom, the popup rule, mouse capture, quit.
#include <gtest/gtest.h>

#include "app/EditorApp.h"
#include "app/MainWindow.h"
#include "resource.h"
#include "tests/support/DeviceRecorder.h"
#include "tests/support/EditorHarness.h"

namespace
{
class MainWindowTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.failedStep;
        app.leftButtonDown = app.rightButtonDown = app.dragging = false;
    }
    void TearDown() override
    {
        if (GetCapture())
            ReleaseCapture();
        PumpMessages();
    }
    static LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return SendMessageA(app.mainWindow, message, wParam, lParam);
    }
};

// Counts popup menus shown while a right-button release is handled: a timer
// fires inside the menu's modal loop, notes that a menu window is up, and
// closes it.
int popupsSeen = 0;
void CALLBACK ClosePopup(HWND, UINT, UINT_PTR, DWORD)
{
    if (FindWindowA("#32768", nullptr))
    {
        ++popupsSeen;
        EndMenu();
    }
}

int PopupsShownByRightClick(int pressX, int pressY, int releaseX, int releaseY)
{
    popupsSeen = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, ClosePopup);
    SendMessageA(app.mainWindow, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pressX, pressY));
    SendMessageA(app.mainWindow, WM_RBUTTONUP, 0, MAKELPARAM(releaseX, releaseY));
    KillTimer(nullptr, timer);
    return popupsSeen;
}
} // namespace

TEST_F(MainWindowTest, WindowsComeFromTheResources)
{
    char caption[64] = "";
    GetWindowTextA(app.mainWindow, caption, sizeof(caption));
    EXPECT_STREQ(caption, "Map Editor 1.4a");
    GetWindowTextA(app.paletteWindow, caption, sizeof(caption));
    EXPECT_STREQ(caption, "Objects");
    EXPECT_EQ(GetWindow(app.paletteWindow, GW_OWNER), app.mainWindow);
    EXPECT_TRUE(IsWindowVisible(app.paletteWindow));

    HMENU bar = GetMenu(app.mainWindow);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetMenuItemCount(bar), 5);
    char text[64];
    const char* const titles[] = {"&File", "&Map", "&Import", "View", "Help"};
    for (int i = 0; i < 5; ++i)
    {
        GetMenuStringA(bar, i, text, sizeof(text), MF_BYPOSITION);
        EXPECT_STREQ(text, titles[i]);
    }
    HMENU file = GetSubMenu(bar, 0);
    const UINT fileIds[] = {ID_FILE_OPENMAP, ID_FILE_SAVEMAP, 0, ID_FILE_LOADOBJECTS,
                            ID_FILE_SAVEOBJECTS, 0, ID_FILE_EXIT};
    ASSERT_EQ(GetMenuItemCount(file), 7);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(GetMenuItemID(file, i), fileIds[i]) << "File item " << i;
    GetMenuStringA(file, ID_FILE_EXIT, text, sizeof(text), MF_BYCOMMAND);
    EXPECT_STREQ(text, "E&xit");
    HMENU zoom = GetSubMenu(GetSubMenu(bar, 3), 0);
    ASSERT_NE(zoom, nullptr);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(GetMenuItemID(zoom, i), (UINT)(ID_ZOOM_1X + i));
}

TEST_F(MainWindowTest, ActivationDecidesWhetherTheLoopDraws)
{
    Send(WM_ACTIVATE, WA_INACTIVE);
    EXPECT_FALSE(windowActive);
    Send(WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 0));
    EXPECT_TRUE(windowActive);
    Send(WM_ACTIVATE, WA_ACTIVE);
    EXPECT_TRUE(windowActive);
}

TEST_F(MainWindowTest, PaintDrawsAFrameOnlyOnceInitialised)
{
    DeviceRecorder recorder(app.device);
    app.initialised = false;
    InvalidateRect(app.mainWindow, nullptr, FALSE);
    UpdateWindow(app.mainWindow);
    EXPECT_EQ(recorder.Count(DeviceCall::Present), 0);

    app.initialised = true;
    InvalidateRect(app.mainWindow, nullptr, FALSE);
    UpdateWindow(app.mainWindow);
    EXPECT_EQ(recorder.Count(DeviceCall::Clear), 1);
    EXPECT_EQ(recorder.Count(DeviceCall::Present), 1);
}

TEST_F(MainWindowTest, SizeMovesTheViewportNotTheBackBuffer)
{
    Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    D3DVIEWPORT8 viewport;
    ASSERT_EQ(app.device->GetViewport(&viewport), D3D_OK);
    EXPECT_EQ(viewport.X, 0u);
    EXPECT_EQ(viewport.Y, 0u);
    EXPECT_EQ(viewport.Width, 300u);
    EXPECT_EQ(viewport.Height, 200u);
    EXPECT_EQ(viewport.MinZ, 0.0f);
    EXPECT_EQ(viewport.MaxZ, 1.0f);

    // Minimised: 0 x 0 goes to SetViewport, and frames go on whatever it said.
    Send(WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    app.DrawFrame();
    BackBufferPixels pixels;
    ASSERT_TRUE(ReadBackBuffer(app.device, &pixels));
    EXPECT_EQ(pixels.width, app.clientWidth);
    EXPECT_EQ(pixels.height, app.clientHeight);

    Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(app.clientWidth, app.clientHeight));
    ASSERT_EQ(app.device->GetViewport(&viewport), D3D_OK);
    EXPECT_EQ(viewport.Width, (DWORD)app.clientWidth);
}

TEST_F(MainWindowTest, ZoomCommandsScaleFromTheHeightmapWidthAndResetTheScroll)
{
    const struct
    {
        int command;
        int factor;
    } zooms[] = {{ID_ZOOM_1X, 2}, {ID_ZOOM_2X, 4}, {ID_ZOOM_4X, 8}, {ID_ZOOM_6X, 12},
                 {ID_ZOOM_8X, 16}};
    const int savedWidth = app.document.width;
    for (const auto& zoom : zooms)
    {
        app.document.width = 256;
        app.document.scrollX = 35.5f;
        app.document.scrollY = -12.0f;
        Send(WM_COMMAND, MAKEWPARAM(zoom.command, 0));
        EXPECT_EQ(app.document.viewScale, 256 * zoom.factor) << zoom.command;
        EXPECT_EQ(app.document.scrollX, 0.0f);
        EXPECT_EQ(app.document.scrollY, 0.0f);

        app.document.width = 0; // no heightmap ever loaded
        Send(WM_COMMAND, MAKEWPARAM(zoom.command, 1)); // the high word is ignored
        EXPECT_EQ(app.document.viewScale, 0);
    }
    app.document.width = savedWidth;
    Send(WM_COMMAND, ID_ZOOM_6X);
}

TEST_F(MainWindowTest, CommandsWithoutActionChangeNothing)
{
    app.document.viewScale = 777;
    app.document.scrollX = 3.0f;
    for (int command : {ID_HELP_ABOUT, ID_IMPORT_TILES, ID_POPUP_INSERTOBJECT,
                        ID_POPUP_DELETEOBJECT, 4242})
        Send(WM_COMMAND, command);
    EXPECT_EQ(app.document.viewScale, 777);
    EXPECT_EQ(app.document.scrollX, 3.0f);
    MSG quit;
    EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(MainWindowTest, PopupOnlyWhenReleasedWhereThePressWas)
{
    EXPECT_EQ(PopupsShownByRightClick(40, 50, 41, 50), 0);
    EXPECT_EQ(PopupsShownByRightClick(40, 50, 40, 49), 0);
    EXPECT_EQ(PopupsShownByRightClick(40, 50, 40, 50), 1);
    EXPECT_FALSE(app.rightButtonDown);
}

TEST_F(MainWindowTest, ButtonsCaptureTheMouseAndReleaseItWhenAllAreUp)
{
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(app.leftButtonDown);
    EXPECT_EQ(GetCapture(), app.mainWindow);
    Send(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(6, 6));
    EXPECT_TRUE(app.rightButtonDown);
    // The left button goes up while the right one is still held: keep it.
    Send(WM_LBUTTONUP, MK_RBUTTON, MAKELPARAM(5, 5));
    EXPECT_FALSE(app.leftButtonDown);
    EXPECT_TRUE(app.rightButtonDown);
    EXPECT_EQ(GetCapture(), app.mainWindow);
    // Released far outside the window: the release still arrives.
    Send(WM_RBUTTONUP, 0, MAKELPARAM(-300, 9000));
    EXPECT_FALSE(app.rightButtonDown);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(MainWindowTest, LosingTheCaptureClearsEveryButtonFlag)
{
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    Send(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(6, 6));
    app.dragging = true;
    ASSERT_EQ(GetCapture(), app.mainWindow);
    // Another window takes the mouse (a menu, a chooser, another program).
    SetCapture(app.paletteWindow);
    EXPECT_FALSE(app.leftButtonDown);
    EXPECT_FALSE(app.rightButtonDown);
    EXPECT_FALSE(app.dragging);
    ReleaseCapture();
}

TEST_F(MainWindowTest, QuitEndsTheLoopWithOne)
{
    PostQuitMessage(7);
    EXPECT_EQ(RunMainLoop(), 1);

    // File > Exit only posts the quit message.
    Send(WM_COMMAND, ID_FILE_EXIT);
    EXPECT_TRUE(IsWindowVisible(app.mainWindow));
    EXPECT_EQ(RunMainLoop(), 1);

    // The close box (Cancel) posts it and ends the dialog.
    Send(WM_COMMAND, IDCANCEL);
    EXPECT_EQ(RunMainLoop(), 1);
    ShowWindow(app.mainWindow, SW_SHOWMAXIMIZED);
}

TEST_F(MainWindowTest, LoopDrawsFramesOnlyWhileTheMainWindowIsActive)
{
    const auto runLoopFor150ms = [] {
        const UINT_PTR stop = SetTimer(nullptr, 0, 150, [](HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(nullptr, id);
            PostQuitMessage(0);
        });
        EXPECT_EQ(RunMainLoop(), 1);
        KillTimer(nullptr, stop);
    };
    DeviceRecorder recorder(app.device);
    windowActive = false;
    runLoopFor150ms();
    EXPECT_EQ(recorder.Count(DeviceCall::Present), 0);

    windowActive = true;
    runLoopFor150ms();
    EXPECT_GT(recorder.Count(DeviceCall::Present), 1);
}
