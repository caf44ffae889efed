// The main window's messages and commands on the real windows and device:
// activation and the main loop, painting (and again on a timer while the
// device is lost), the back buffer following the view's size, zoom, the popup rule,
// mouse capture, quit; the layout as the window narrows and its smallest
// size; Tab among the palette's controls and F6 between the panes.
#include <gtest/gtest.h>

#include "app/EditCommands.h"
#include "app/EditorApp.h"
#include "app/EditorMain.h"
#include "app/MainWindow.h"
#include "app/ViewWindow.h"
#include "resource.h"
#include "tests/app/EditingHarness.h"
#include "tests/support/DeviceRecorder.h"
#include "tests/support/EditorHarness.h"
#include "tests/support/MethodPatch.h"

namespace
{
class MainWindowTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.Graphics().FailedStep();
        app.View().ResetGesture();
    }
    void TearDown() override
    {
        if (GetCapture())
            ReleaseCapture();
        PumpMessages();
    }
};

// Popup menus shown while a right-button press and release are handled: a
// timer fires inside the menu's modal loop, counts the menu and closes it.
int popupsSeen = 0;
int PopupsShownByRightClick(int pressX, int pressY, int releaseX, int releaseY)
{
    popupsSeen = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100,
                                    [](HWND, UINT, UINT_PTR, DWORD)
                                    {
                                        if (FindWindowA("#32768", nullptr))
                                        {
                                            ++popupsSeen;
                                            EndMenu();
                                        }
                                    });
    SendToView(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pressX, pressY));
    SendToView(WM_RBUTTONUP, 0, MAKELPARAM(releaseX, releaseY));
    KillTimer(nullptr, timer);
    return popupsSeen;
}
} // namespace

TEST_F(MainWindowTest, WindowsComeFromTheResources)
{
    char caption[64] = "";
    // The resource's caption, which the editor prefixes with the map's name.
    RefreshEditMenu(app);
    GetWindowTextA(app.Main().Handle(), caption, sizeof(caption));
    EXPECT_STREQ(caption, "Untitled - Map Editor 1.4a");
    GetWindowTextA(app.Palette().Handle(), caption, sizeof(caption));
    EXPECT_STREQ(caption, "Objects");
    // Docked at the main window's right edge, beside the view and above the
    // status bar.
    EXPECT_EQ(GetParent(app.Palette().Handle()), app.Main().Handle());
    EXPECT_EQ(GetParent(app.View().Handle()), app.Main().Handle());
    RECT view, palette, bar;
    GetWindowRect(app.View().Handle(), &view);
    GetWindowRect(app.Palette().Handle(), &palette);
    GetWindowRect(app.Status().Handle(), &bar);
    EXPECT_LE(view.right, palette.left);
    EXPECT_LE(palette.bottom, bar.top);
    EXPECT_LE(view.bottom, bar.top);
    EXPECT_TRUE(IsWindowVisible(app.Palette().Handle()));
    // File, Edit, Tools, Map, Import, View, Help.
    HMENU menu = GetMenu(app.Main().Handle());
    ASSERT_EQ(GetMenuItemCount(menu), 7);
    char text[32] = "";
    GetMenuStringA(menu, 1, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ(text, "&Edit");
    GetMenuStringA(menu, 2, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ(text, "&Tools");
    // Every menu has its letter; Import > Tiles, which does nothing, is greyed.
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
    {
        GetMenuStringA(menu, (UINT)i, text, sizeof(text), MF_BYPOSITION);
        EXPECT_EQ(text[0], '&') << text;
    }
    EXPECT_EQ(GetMenuItemCount(menu), 7);
    EXPECT_TRUE(GetMenuState(menu, ID_IMPORT_TILES, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(MainWindowTest, StartUpLoadsTheSampleMapThroughTheTextureTable)
{
    // Loaded in this order into the lowest free slots: heightmap, detail map,
    // marker, colormap; the labels' font is the registry's "tahoma", which
    // the status text shares.
    const MapDocument& started = app.Document();
    EXPECT_EQ(started.heightmapTexture, 0);
    EXPECT_EQ(app.Graphics().Textures().FindTexture("..\\maps\\detail-map.bmp"), 1);
    EXPECT_EQ(started.objectImageTexture, 2);
    EXPECT_EQ(started.colormapTexture, 3);
    EXPECT_EQ(started.width, 256);
    EXPECT_EQ(app.View().Map().labelFont, app.Fonts().FindOrRegister("tahoma"));
    EXPECT_EQ(app.View().StatusFont(), app.View().Map().labelFont);
    EXPECT_EQ(app.Fonts().owner, app.Graphics().Device());
}

TEST_F(MainWindowTest, TheLoopDrawsFramesOnlyWhileTheWindowIsActiveAndQuitGivesOne)
{
    const auto runLoopFor150ms = []
    {
        const UINT_PTR stop =
            SetTimer(nullptr, 0, 150,
                     [](HWND, UINT, UINT_PTR id, DWORD)
                     {
                         KillTimer(nullptr, id);
                         PostQuitMessage(7); // the loop's result is 1 whatever the code
                     });
        EXPECT_EQ(RunMainLoop(app), 1);
        KillTimer(nullptr, stop);
    };
    // Frames reach the window only when something asked for one, or
    // continuously while the right button scrolls in the active window.
    PumpMessages();
    const struct
    {
        bool active, scrolling, changed;
        int frames; // -1: more than one
    } cases[] = {
        {false, false, false, 0}, {true, false, false, 0}, {true, false, true, 1},
        {false, true, false, 0},  {true, true, false, -1},
    };
    for (const auto& c : cases)
    {
        SendToMain(WM_ACTIVATE, c.active ? MAKEWPARAM(WA_CLICKACTIVE, 0) : WA_INACTIVE);
        EXPECT_EQ(app.Main().Active(), c.active);
        // The pointer may be anywhere: scrolling stops at the map's edge,
        // where the first tick takes it (the last tick was long ago).
        if (c.scrolling)
        {
            app.View().BeginScroll(0, 0);
            app.View().Timer().lastTime = (float)(app.View().Timer().Elapsed() - 1.0);
        }
        if (c.changed)
            app.View().RequestFrame();
        const unsigned shownBefore = app.View().Presenter().Statistics().framesShown;
        runLoopFor150ms();
        const int frames = (int)(app.View().Presenter().Statistics().framesShown - shownBefore);
        if (c.frames < 0)
            EXPECT_GT(frames, 1);
        else
            EXPECT_EQ(frames, c.frames) << c.active << c.scrolling << c.changed;
        app.View().ResetGesture();
    }
    app.Document().scrollX = app.Document().scrollY = 0.0f;
    SendToMain(WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 0));

    SendToMain(WM_COMMAND, ID_FILE_EXIT); // only posts the quit message
    EXPECT_TRUE(IsWindowVisible(app.Main().Handle()));
    EXPECT_EQ(RunMainLoop(app), 1);
    SendToMain(WM_COMMAND, IDCANCEL); // the close box: posts it and ends the dialog
    EXPECT_EQ(RunMainLoop(app), 1);
    ShowWindow(app.Main().Handle(), SW_SHOWMAXIMIZED);
}

TEST_F(MainWindowTest, PaintDrawsAFrameOnlyOnceInitialised)
{
    const unsigned shownBefore = app.View().Presenter().Statistics().framesShown;
    for (bool initialised : {false, true})
    {
        app.View().EnableFrames(initialised);
        InvalidateRect(app.View().Handle(), nullptr, FALSE);
        UpdateWindow(app.View().Handle());
    }
    EXPECT_EQ(app.View().Presenter().Statistics().framesShown - shownBefore, 1u);
}

HRESULT cooperativeLevel = D3D_OK;
HRESULT WINAPI PatchedTestCooperativeLevel(IDirect3DDevice8*)
{
    return cooperativeLevel;
}

TEST_F(MainWindowTest, WhileTheDeviceIsLostTheViewAsksForAFrameAgainOnATimer)
{
    MethodPatch level(app.Graphics().Device(), &IDirect3DDevice8::TestCooperativeLevel,
                      (void*)PatchedTestCooperativeLevel);
    cooperativeLevel = D3DERR_DEVICELOST;
    DeviceRecorder recorder(app.Graphics().Device());
    InvalidateRect(app.View().Handle(), nullptr, FALSE);
    UpdateWindow(app.View().Handle());
    EXPECT_TRUE(app.Graphics().DeviceLost());
    EXPECT_EQ(recorder.Count(DeviceCall::Clear), 0);
    // Given back: the timer's next look draws the frame, without any other
    // message asking for one.
    cooperativeLevel = D3DERR_DEVICENOTRESET;
    for (int i = 0; i < 100 && recorder.Count(DeviceCall::Clear) == 0; ++i)
    {
        Sleep(10);
        PumpMessages();
    }
    EXPECT_EQ(recorder.Count(DeviceCall::Clear), 1);
    EXPECT_FALSE(app.Graphics().DeviceLost());
    cooperativeLevel = D3D_OK;
}

TEST_F(MainWindowTest, SizeResetsTheBackBufferToTheClientArea)
{
    // Without a window manager Wine may put the window back to its dialog
    // size at any message: each size is read back before any is pumped.
    const int width = app.Graphics().Width(), height = app.Graphics().Height();
    const struct
    {
        WPARAM kind;
        int width, height;             // sent
        int bufferWidth, bufferHeight; // the back buffer after it
    } sizes[] = {{SIZE_RESTORED, 300, 200, 300, 200},
                 // Minimised: no back buffer that small, the last one stays
                 // and frames go on.
                 {SIZE_MINIMIZED, 0, 0, 300, 200},
                 {SIZE_RESTORED, width, height, width, height}};
    for (const auto& size : sizes)
    {
        SendToView(WM_SIZE, size.kind, MAKELPARAM(size.width, size.height));
        D3DVIEWPORT8 viewport;
        ASSERT_EQ(app.Graphics().Device()->GetViewport(&viewport), D3D_OK);
        EXPECT_EQ(viewport.X, 0u);
        EXPECT_EQ(viewport.Y, 0u);
        EXPECT_EQ((int)viewport.Width, size.bufferWidth);
        EXPECT_EQ((int)viewport.Height, size.bufferHeight);
        EXPECT_EQ(viewport.MaxZ, 1.0f);
        app.View().DrawFrame();
        BackBufferPixels pixels;
        ASSERT_TRUE(ReadBackBuffer(app.Graphics().Device(), &pixels));
        EXPECT_EQ(pixels.width, size.bufferWidth) << size.width;
        EXPECT_EQ(pixels.height, size.bufferHeight) << size.width;
    }
}

TEST_F(MainWindowTest, ZoomScalesFromTheHeightmapWidthAndOtherCommandsDoNothing)
{
    const int zooms[][2] = {
        {ID_ZOOM_1X, 2}, {ID_ZOOM_2X, 4}, {ID_ZOOM_4X, 8}, {ID_ZOOM_6X, 12}, {ID_ZOOM_8X, 16}};
    const int savedWidth = app.Document().width;
    for (const auto& zoom : zooms)
    {
        app.Document().width = 256;
        app.Document().scrollX = 35.5f;
        app.Document().scrollY = -12.0f;
        SendToMain(WM_COMMAND, MAKEWPARAM(zoom[0], 0));
        EXPECT_EQ(app.Document().viewScale, 256 * zoom[1]) << zoom[0];
        EXPECT_EQ(app.Document().scrollX, 0.0f);
        EXPECT_EQ(app.Document().scrollY, 0.0f);

        app.Document().width = 0;                       // no heightmap ever loaded
        SendToMain(WM_COMMAND, MAKEWPARAM(zoom[0], 1)); // the high word is ignored
        EXPECT_EQ(app.Document().viewScale, 0);
    }
    app.Document().width = savedWidth;
    app.Document().viewScale = 777;
    app.Document().scrollX = 3.0f;
    // Help > About opens a modal dialog: AboutDialogTest.
    for (int command : {ID_IMPORT_TILES, ID_POPUP_INSERTOBJECT, ID_POPUP_DELETEOBJECT, 4242})
        SendToMain(WM_COMMAND, command);
    EXPECT_EQ(app.Document().viewScale, 777);
    EXPECT_EQ(app.Document().scrollX, 3.0f);
    MSG quit;
    EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    SendToMain(WM_COMMAND, ID_ZOOM_6X);
}

TEST_F(MainWindowTest, PopupOnlyWhenReleasedWhereThePressWas)
{
    EXPECT_EQ(PopupsShownByRightClick(40, 50, 41, 50), 0);
    EXPECT_EQ(PopupsShownByRightClick(40, 50, 40, 49), 0);
    EXPECT_EQ(PopupsShownByRightClick(40, 50, 40, 50), 1);
    EXPECT_FALSE(app.View().Gesture().rightButtonDown);
}

TEST_F(MainWindowTest, ButtonsHoldTheCaptureUntilAllAreUpAndLosingItClearsTheFlags)
{
    SendToView(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(app.View().Gesture().leftButtonDown);
    EXPECT_EQ(GetCapture(), app.View().Handle());
    SendToView(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(6, 6));
    EXPECT_TRUE(app.View().Gesture().rightButtonDown);
    // The left button goes up while the right one is still held: keep it.
    SendToView(WM_LBUTTONUP, MK_RBUTTON, MAKELPARAM(5, 5));
    EXPECT_FALSE(app.View().Gesture().leftButtonDown);
    EXPECT_EQ(GetCapture(), app.View().Handle());
    // Released far outside the window: the release still arrives.
    SendToView(WM_RBUTTONUP, 0, MAKELPARAM(-300, 9000));
    EXPECT_FALSE(app.View().Gesture().rightButtonDown);
    EXPECT_EQ(GetCapture(), nullptr);

    // This time the press picks an object, which the movements would drag.
    float x = 0.0f, y = 0.0f;
    ASSERT_TRUE(app.View().ViewPointToMap(5, 5, &x, &y));
    app.Document().AddObject(PlacedObject{0, x, y, {0, 0}, 0, {0, 0, 0, 0}});
    SendToView(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendToView(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(6, 6));
    ASSERT_TRUE(app.View().Gesture().dragging);
    ASSERT_EQ(GetCapture(), app.View().Handle());
    // Another window takes the mouse (a menu, a chooser, another program).
    SetCapture(app.Palette().Handle());
    EXPECT_FALSE(app.View().Gesture().leftButtonDown);
    EXPECT_FALSE(app.View().Gesture().rightButtonDown);
    EXPECT_FALSE(app.View().Gesture().dragging);
    app.Document().RemoveObject(app.Document().ObjectCount() - 1);
    app.Document().StartNewHistory();
}

TEST_F(MainWindowTest, TabGoesThroughThePalettesControlsAndF6BetweenThePanes)
{
    HWND palette = app.Palette().Handle();
    const auto press = [](WPARAM key, bool shift)
    {
        SetShift(shift);
        MSG message = {GetFocus(), WM_KEYDOWN, key, 1, GetTickCount(), {0, 0}};
        const bool taken =
            app.Main().TranslateShortcut(&message) || app.Main().TranslatePaletteKeys(&message);
        SetShift(false);
        PumpMessages();
        return taken;
    };
    SetFocus(GetDlgItem(palette, IDC_OBJECTLIST));
    // As the controls are read: the row from the left, then the list.
    const int order[] = {IDC_ROTATION, IDC_RANDOMIZE, IDC_ADD, IDC_REMOVE, IDC_OBJECTLIST};
    for (int id : order)
    {
        EXPECT_TRUE(press(VK_TAB, false));
        EXPECT_EQ(GetFocus(), GetDlgItem(palette, id)) << id;
    }
    EXPECT_TRUE(press(VK_TAB, true));
    EXPECT_EQ(GetFocus(), GetDlgItem(palette, IDC_REMOVE)) << "Shift+Tab goes back";
    EXPECT_TRUE(press(VK_F6, false));
    EXPECT_EQ(GetFocus(), app.View().Handle());
    EXPECT_FALSE(press(VK_TAB, false)) << "the view's keys are its own";
    EXPECT_TRUE(press(VK_F6, true));
    EXPECT_EQ(GetFocus(), GetDlgItem(palette, IDC_REMOVE)) << "back where it was";
    EXPECT_TRUE(press(VK_F6, false));
    EXPECT_EQ(GetFocus(), app.View().Handle());
}

TEST_F(MainWindowTest, NarrowingTakesTheViewsWidthFirstAndNeverTheStatusBar)
{
    HWND main = app.Main().Handle(), palette = app.Palette().Handle();
    const auto in = [main](HWND window)
    {
        RECT rect;
        GetWindowRect(window, &rect);
        MapWindowPoints(nullptr, main, (POINT*)&rect, 2);
        return rect;
    };
    const int controlsRow = in(GetDlgItem(palette, IDC_REMOVE)).right - in(palette).left;
    ShowWindow(main, SW_RESTORE);
    int lastPalette = 1 << 30;
    for (int width = 1400; width >= 150; width -= 20)
    {
        // Below its smallest size only as a small screen makes it: the
        // size is not offered to the window first (WM_WINDOWPOSCHANGING).
        SetWindowPos(main, nullptr, 0, 0, width, 600,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
        SCOPED_TRACE(width);
        RECT client;
        GetClientRect(main, &client);
        const RECT bar = in(app.Status().Handle()), view = in(app.View().Handle());
        EXPECT_EQ(bar.bottom, client.bottom);
        EXPECT_EQ(view.bottom, bar.top);
        const bool shown = IsWindowVisible(palette) != FALSE;
        EXPECT_EQ(shown, app.Main().PaletteShown());
        const int paletteWidth = shown ? in(palette).right - in(palette).left : 0;
        // Narrower: the view down to 100 pixels first, then the palette to
        // its controls row, then it hides, for good.
        EXPECT_LE(paletteWidth, lastPalette);
        EXPECT_TRUE(!shown || paletteWidth >= controlsRow);
        EXPECT_EQ(view.right, shown ? in(palette).left - kSplitterWidth : client.right);
        EXPECT_EQ(shown ? in(palette).right : client.right, client.right);
        EXPECT_GE(view.right - view.left, shown ? 100 : 0);
        if (shown && paletteWidth < lastPalette && lastPalette < (1 << 30))
            EXPECT_EQ(view.right - view.left, 100) << "the view gives up its width first";
        lastPalette = paletteWidth;
    }
    EXPECT_EQ(lastPalette, 0) << "hidden at last";
    SendToMain(WM_COMMAND, ID_VIEW_PALETTE); // with no room beside the view: floating
    EXPECT_TRUE(IsWindowVisible(palette));
    EXPECT_FALSE(app.Main().PaletteDocked());
    SendToMain(WM_COMMAND, ID_VIEW_FLOATINGPALETTE);

    // The smallest size a user can give it: the menu bar on one line, the
    // palette's controls whole, the status bar at the bottom.
    SetWindowPos(main, nullptr, 0, 0, 1, 1, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(IsWindowVisible(palette) && app.Main().PaletteDocked());
    EXPECT_GE(in(palette).right - in(palette).left, controlsRow);
    MENUBARINFO menu = {};
    menu.cbSize = sizeof(menu);
    ASSERT_TRUE(GetMenuBarInfo(main, OBJID_MENU, 0, &menu));
    EXPECT_LE(menu.rcBar.bottom - menu.rcBar.top, GetSystemMetrics(SM_CYMENU) + 1);
    RECT client;
    GetClientRect(main, &client);
    EXPECT_EQ(in(app.Status().Handle()).bottom, client.bottom);
    EXPECT_GT(in(app.View().Handle()).bottom, 0);
    ShowWindow(main, SW_SHOWMAXIMIZED);
}
