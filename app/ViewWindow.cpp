// The map view's window procedure and its frames (see ViewWindow.h): the
// procedure turns the pointer and the keys into editing (left button),
// scrolling (right button), panning (middle button) and zooming (the
// wheel), and draws a frame when asked to paint.
//
// The mouse is captured while a button is held in the view, so that a button
// released outside still arrives here; when the capture is lost to another
// window, every button flag is cleared so that nothing keeps scrolling,
// panning or dragging.
#include "app/ViewWindow.h"

#include <windowsx.h>

#include "app/EditorEvents.h"
#include "app/StatusBar.h"
#include "document/MapDocument.h"
#include "render/Renderer.h"
#include "resource.h"
#include "text/FontRegistry.h"

namespace
{
const char kViewWindowClass[] = "MapEditorView";

// While the device is lost, how often the view looks whether it is back.
const UINT_PTR kLostDeviceTimer = 1;
const UINT kLostDeviceRetryMilliseconds = 100;

const D3DCOLOR kStatusTextColour = 0xFFFF0000; // opaque red

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

// Gives the capture back once no button is held any more.
void ReleaseCaptureWhenIdle(WPARAM buttons)
{
    if (!(buttons & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)))
        ReleaseCapture();
}
} // namespace

ViewWindow::ViewWindow(MapDocument& document, Renderer& renderer, FontRegistry& fonts,
                       StatusBar& status, PaletteDialog& palette, EditorEvents& events)
    : document_(document), renderer_(renderer), fonts_(fonts), status_(status), palette_(palette),
      events_(events), presenter_(renderer)
{
}

ViewWindow::~ViewWindow()
{
    // The window may outlive the object (until the process ends): messages
    // after this go to the default handling, not to a freed object.
    if (window_ && IsWindow(window_))
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
}

HWND ViewWindow::Create(HINSTANCE instance, HWND parent)
{
    WNDCLASSA kind;
    ZeroMemory(&kind, sizeof(kind));
    kind.style = CS_DBLCLKS | CS_OWNDC;
    kind.lpfnWndProc = Procedure;
    kind.hInstance = instance;
    kind.hCursor = LoadCursor(nullptr, IDC_ARROW);
    kind.lpszClassName = kViewWindowClass;
    RegisterClassA(&kind); // a second call (tests make more windows) finds it there
    RECT client;
    GetClientRect(parent, &client);
    HWND view = CreateWindowExA(0, kViewWindowClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0,
                                0, client.right, client.bottom, parent, nullptr, instance, this);
    presenter_.SetWindow(view);
    return view;
}

LRESULT CALLBACK ViewWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
    {
        ViewWindow* view = (ViewWindow*)((CREATESTRUCTA*)lParam)->lpCreateParams;
        SetWindowLongPtrA(window, GWLP_USERDATA, (LONG_PTR)view);
        view->window_ = window;
    }
    ViewWindow* view = (ViewWindow*)GetWindowLongPtrA(window, GWLP_USERDATA);
    if (!view)
        return DefWindowProcA(window, message, wParam, lParam);
    return view->OnMessage(message, wParam, lParam);
}

LRESULT ViewWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // every frame covers the whole view
    case WM_TIMER:
        if (wParam == kLostDeviceTimer)
        {
            KillTimer(window_, kLostDeviceTimer);
            RequestFrame();
        }
        return 0;
    case WM_SIZE:
        OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_KEYDOWN:
        OnKey(wParam);
        events_.Changed();
        return 0;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(X(lParam), Y(lParam));
        return 0;
    case WM_LBUTTONDBLCLK: // the second press of a double click does nothing
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(X(lParam), Y(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLeftButtonUp(wParam);
        return 0;
    case WM_RBUTTONDOWN:
        OnRightButtonDown(X(lParam), Y(lParam));
        return 0;
    case WM_RBUTTONUP:
        OnRightButtonUp(wParam, X(lParam), Y(lParam));
        return 0;
    case WM_MBUTTONDOWN:
        OnMiddleButtonDown(X(lParam), Y(lParam));
        return 0;
    case WM_MBUTTONUP:
        OnMiddleButtonUp(wParam);
        return 0;
    case WM_MOUSEWHEEL:
        OnWheel(wParam, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        OnCaptureChanged((HWND)lParam);
        return 0;
    case WM_MOUSELEAVE:
        PointerLeft();
        return 0;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

void ViewWindow::OnSize(int width, int height)
{
    renderer_.ResizeBackBuffer(width, height, fonts_);
    // Before start-up ends the map has no size yet: nothing to keep in view.
    if (framesEnabled_)
        KeepScrollInBounds();
    RequestFrame();
}

void ViewWindow::OnMouseMove(int x, int y)
{
    TrackPointer(x, y);
    if (gesture_.leftButtonDown)
    {
        if (brush_.stroking)
            StrokeAt(x, y);
        else
            MoveTo(x, y);
        RequestFrame();
    }
    if (gesture_.panning)
        PanTo(x, y);
    status_.ShowPointer(x, y);
}

// The press is told apart from the movements that follow: it alone decides
// which object, if any, the movements drag.
void ViewWindow::OnLeftButtonDown(int x, int y)
{
    SetFocus(window_);
    gesture_.leftButtonDown = true;
    SetCapture(window_);
    if (!BeginStrokeAt(x, y)) // the brush and the eraser stroke instead
        PressAt(x, y);
    RequestFrame();
}

void ViewWindow::OnLeftButtonUp(WPARAM buttons)
{
    EndPointerPress();
    ReleaseCaptureWhenIdle(buttons);
    events_.Changed();
}

void ViewWindow::OnRightButtonDown(int x, int y)
{
    SetFocus(window_);
    BeginScroll(x, y);
    SetCapture(window_);
}

void ViewWindow::ShowPopupMenu(int x, int y)
{
    // Its two commands act where it was opened.
    SetPopupPoint(x, y);
    HMENU menu = LoadMenuA((HINSTANCE)GetWindowLongPtrA(window_, GWLP_HINSTANCE),
                           MAKEINTRESOURCEA(IDR_POPUP));
    if (!menu)
        return;
    POINT at = {0, 0};
    GetCursorPos(&at);
    // The commands go to the main window, as the menu bar's do.
    HWND main = GetParent(window_);
    TrackPopupMenu(GetSubMenu(menu, 0), 0, at.x, at.y, 0, main, nullptr);
    // Lets the menu close correctly when the user clicks elsewhere.
    PostMessageA(main, WM_NULL, 0, 0);
    DestroyMenu(menu);
}

void ViewWindow::OnRightButtonUp(WPARAM buttons, int x, int y)
{
    gesture_.rightButtonDown = false;
    ReleaseCaptureWhenIdle(buttons);
    // Only a release exactly where the button went down opens the popup.
    if (x == gesture_.rightPressX && y == gesture_.rightPressY)
        ShowPopupMenu(x, y);
}

void ViewWindow::OnMiddleButtonDown(int x, int y)
{
    SetFocus(window_);
    SetCapture(window_);
    StartPan(x, y);
}

void ViewWindow::OnMiddleButtonUp(WPARAM buttons)
{
    gesture_.panning = false;
    ReleaseCaptureWhenIdle(buttons);
}

void ViewWindow::OnWheel(WPARAM wParam, LPARAM lParam)
{
    // The wheel's point is in screen coordinates.
    POINT at = {X(lParam), Y(lParam)};
    ScreenToClient(window_, &at);
    gesture_.wheelRemainder += GET_WHEEL_DELTA_WPARAM(wParam);
    const int steps = gesture_.wheelRemainder / WHEEL_DELTA;
    gesture_.wheelRemainder -= steps * WHEEL_DELTA;
    // With the brush or the eraser, Ctrl+wheel sizes the brush instead.
    if (steps != 0 && brush_.tool != Tool::Select && (GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL))
        StepBrushRadius(steps);
    else if (steps != 0)
        ZoomBySteps(steps, at.x, at.y);
}

void ViewWindow::OnCaptureChanged(HWND taker)
{
    if (taker == window_)
        return;
    // The press ends without its rubber band; a drag so far is kept as its step.
    EndPress();
    gesture_.rightButtonDown = false;
    gesture_.panning = false;
}

void ViewWindow::OnPaint()
{
    PAINTSTRUCT paint;
    BeginPaint(window_, &paint);
    const RECT update = paint.rcPaint;
    EndPaint(window_, &paint);
    // Drawn once the paint is over: while it lasts, the view's own device
    // context (CS_OWNDC), through which the frame is shown, is clipped to
    // the update region, and a frame may show more than that.
    if (framesEnabled_)
    {
        DrawFrame(&update);
        // A lost device drew nothing: look again in a moment, without
        // keeping the loop busy.
        if (renderer_.DeviceLost())
            SetTimer(window_, kLostDeviceTimer, kLostDeviceRetryMilliseconds, nullptr);
    }
}

void ViewWindow::RequestFrame()
{
    // One pixel asks for the paint: the update region the paint then finds
    // is that pixel and whatever the system itself wants repainted (a part
    // uncovered, whose pixels nothing else keeps), which the kept picture
    // covers even when the frame draws only what changed.
    const RECT corner = {0, 0, 1, 1};
    if (window_)
        InvalidateRect(window_, &corner, FALSE);
}

void ViewWindow::EnableFrames(int labelFont, int statusFont)
{
    map_.labelFont = labelFont;
    statusFont_ = statusFont;
    framesEnabled_ = true;
}

void ViewWindow::Tick()
{
    frameTime_ = timer_.Tick();
    POINT pointer = {0, 0};
    GetCursorPos(&pointer);
    ScreenToClient(window_, &pointer); // may lie outside the client area
    if (gesture_.rightButtonDown)
        ScrollToward(pointer.x, pointer.y);
    DrawFrame();
}

FrameInputs ViewWindow::Inputs() const
{
    const FrameBand band = {gesture_.banding, gesture_.bandX0, gesture_.bandY0, gesture_.bandX1,
                            gesture_.bandY1};
    return {fonts_, statusFont_, map_, document_, band, BrushOutline()};
}

KeptFrame::Plan ViewWindow::PlanFrame() const
{
    return presenter_.Plan(Inputs());
}

void ViewWindow::DrawFrame(const RECT* update)
{
    presenter_.ShowFrame(
        Inputs(), [this](const ViewArea* parts, int count) { DrawScene(parts, count); }, update);
}

void ViewWindow::DrawScene(const ViewArea* parts, int partCount)
{
    renderer_.BeginFrame();
    map_.DrawMap(renderer_, document_);
    map_.DrawObjects(renderer_, fonts_, document_, parts, partCount);
    if (gesture_.banding)
        map_.DrawRubberBand(renderer_, (float)gesture_.bandX0, (float)gesture_.bandY0,
                            (float)gesture_.bandX1, (float)gesture_.bandY1);
    const FrameOutline outline = BrushOutline();
    if (outline.shown)
        map_.DrawBrushOutline(renderer_, outline.x, outline.y, outline.radiusX, outline.radiusY);
    if (FontEntry* status = fonts_.Entry(statusFont_))
        status->Print(0.0f, 0.0f, false, kStatusTextColour, "Objects: %d", document_.ObjectCount());
}
