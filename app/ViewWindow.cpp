// The map view: a child window of the main window whose client area the
// Direct3D device draws into. Its procedure turns the pointer and the keys
// into editing (left button), scrolling (right button), panning (middle
// button) and zooming (the wheel), and draws a frame when asked to paint.
//
// The mouse is captured while a button is held in the view, so that a button
// released outside still arrives here; when the capture is lost to another
// window, every button flag is cleared so that nothing keeps scrolling,
// panning or dragging.
#include "app/ViewWindow.h"

#include <windowsx.h>

#include "app/EditCommands.h"
#include "app/EditorApp.h"
#include "app/PointerEditing.h"
#include "app/StatusBar.h"
#include "app/ViewNavigation.h"
#include "resource.h"

const char kViewWindowClass[] = "MapEditorView";

namespace
{
// While the device is lost, how often the view looks whether it is back.
const UINT_PTR kLostDeviceTimer = 1;
const UINT kLostDeviceRetryMilliseconds = 100;

// Button messages carry client coordinates as signed 16-bit values: with the
// mouse captured, points left of or above the window are negative.
int X(LPARAM lParam)
{
    return GET_X_LPARAM(lParam);
}
int Y(LPARAM lParam)
{
    return GET_Y_LPARAM(lParam);
}

void OnMouseMove(LPARAM lParam)
{
    if (app.leftButtonDown)
    {
        EditAtPointer(X(lParam), Y(lParam), PointerMode::Edit);
        RequestFrame();
    }
    if (app.panning)
        PanTo(X(lParam), Y(lParam));
    ShowPointerInStatusBar(X(lParam), Y(lParam));
}

// The press is told apart from the movements that follow: it alone decides
// which object, if any, the movements drag.
void OnLeftButtonDown(HWND view, LPARAM lParam)
{
    SetFocus(view);
    app.leftButtonDown = true;
    SetCapture(view);
    EditAtPointer(X(lParam), Y(lParam), PointerMode::Press);
    RequestFrame();
}

// Gives the capture back once no button is held any more.
void ReleaseCaptureWhenIdle(WPARAM buttons)
{
    if (!(buttons & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)))
        ReleaseCapture();
}

void OnLeftButtonUp(WPARAM wParam)
{
    EndPointerPress();
    ReleaseCaptureWhenIdle(wParam);
    RefreshEditMenu(app.mainWindow);
}

void OnRightButtonDown(HWND view, LPARAM lParam)
{
    SetFocus(view);
    app.rightButtonDown = true;
    app.rightPressX = X(lParam);
    app.rightPressY = Y(lParam);
    SetCapture(view);
    // The first scrolling frame measures from the press, not from the last
    // frame drawn (which may be long ago: frames are drawn only on change).
    app.timer.Tick();
}

void ShowPopupMenu(HWND view, int x, int y)
{
    // Its two commands act where it was opened.
    app.popupX = x;
    app.popupY = y;
    HMENU menu = LoadMenuA(instanceHandle, MAKEINTRESOURCEA(IDR_POPUP));
    if (!menu)
        return;
    POINT at = {0, 0};
    GetCursorPos(&at);
    // The commands go to the main window, as the menu bar's do.
    TrackPopupMenu(GetSubMenu(menu, 0), 0, at.x, at.y, 0, app.mainWindow, nullptr);
    // Lets the menu close correctly when the user clicks elsewhere.
    PostMessageA(app.mainWindow, WM_NULL, 0, 0);
    DestroyMenu(menu);
    (void)view;
}

void OnRightButtonUp(HWND view, WPARAM wParam, LPARAM lParam)
{
    app.rightButtonDown = false;
    ReleaseCaptureWhenIdle(wParam);
    // Only a release exactly where the button went down opens the popup.
    if (X(lParam) == app.rightPressX && Y(lParam) == app.rightPressY)
        ShowPopupMenu(view, X(lParam), Y(lParam));
}

void OnMiddleButtonDown(HWND view, LPARAM lParam)
{
    SetFocus(view);
    SetCapture(view);
    StartPan(X(lParam), Y(lParam));
}

void OnMiddleButtonUp(WPARAM wParam)
{
    app.panning = false;
    ReleaseCaptureWhenIdle(wParam);
}

void OnWheel(HWND view, WPARAM wParam, LPARAM lParam)
{
    // The wheel's point is in screen coordinates.
    POINT at = {X(lParam), Y(lParam)};
    ScreenToClient(view, &at);
    app.wheelRemainder += GET_WHEEL_DELTA_WPARAM(wParam);
    const int steps = app.wheelRemainder / WHEEL_DELTA;
    app.wheelRemainder -= steps * WHEEL_DELTA;
    if (steps != 0)
        ZoomBySteps(steps, at.x, at.y);
}

void OnCaptureChanged(HWND view, LPARAM lParam)
{
    if ((HWND)lParam == view)
        return;
    CancelPointerPress();
    app.rightButtonDown = false;
    app.panning = false;
}

void OnPaint(HWND view)
{
    PAINTSTRUCT paint;
    BeginPaint(view, &paint);
    if (app.initialised)
    {
        app.DrawFrame();
        // A lost device drew nothing: look again in a moment, without
        // keeping the loop busy.
        if (app.deviceLost)
            SetTimer(view, kLostDeviceTimer, kLostDeviceRetryMilliseconds, nullptr);
    }
    EndPaint(view, &paint);
}
} // namespace

void RequestFrame()
{
    if (app.viewWindow)
        InvalidateRect(app.viewWindow, nullptr, FALSE);
}

LRESULT CALLBACK ViewWindowProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_PAINT:
        OnPaint(view);
        return 0;
    case WM_ERASEBKGND:
        return 1; // every frame covers the whole view
    case WM_TIMER:
        if (wParam == kLostDeviceTimer)
        {
            KillTimer(view, kLostDeviceTimer);
            RequestFrame();
        }
        return 0;
    case WM_SIZE:
        app.ResizeBackBuffer(LOWORD(lParam), HIWORD(lParam), app.fonts);
        // Before start-up ends the map has no size yet: nothing to keep in view.
        if (app.initialised)
            KeepScrollInBounds();
        RequestFrame();
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(view, wParam);
        RefreshEditMenu(app.mainWindow);
        return 0;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(view, lParam);
        return 0;
    case WM_LBUTTONDBLCLK: // the second press of a double click does nothing
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(lParam);
        return 0;
    case WM_LBUTTONUP:
        OnLeftButtonUp(wParam);
        return 0;
    case WM_RBUTTONDOWN:
        OnRightButtonDown(view, lParam);
        return 0;
    case WM_RBUTTONUP:
        OnRightButtonUp(view, wParam, lParam);
        return 0;
    case WM_MBUTTONDOWN:
        OnMiddleButtonDown(view, lParam);
        return 0;
    case WM_MBUTTONUP:
        OnMiddleButtonUp(wParam);
        return 0;
    case WM_MOUSEWHEEL:
        OnWheel(view, wParam, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        OnCaptureChanged(view, lParam);
        return 0;
    }
    return DefWindowProcA(view, message, wParam, lParam);
}

HWND CreateViewWindow(HINSTANCE instance, HWND parent)
{
    WNDCLASSA kind;
    ZeroMemory(&kind, sizeof(kind));
    kind.style = CS_DBLCLKS | CS_OWNDC;
    kind.lpfnWndProc = ViewWindowProc;
    kind.hInstance = instance;
    kind.hCursor = LoadCursor(nullptr, IDC_ARROW);
    kind.lpszClassName = kViewWindowClass;
    RegisterClassA(&kind); // a second call (tests make more windows) finds it there
    RECT client;
    GetClientRect(parent, &client);
    return CreateWindowExA(0, kViewWindowClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0,
                           client.right, client.bottom, parent, nullptr, instance, nullptr);
}
