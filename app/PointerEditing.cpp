// Pointer and keyboard editing in the map view: placing objects with Ctrl +
// click, picking, selecting and dragging objects with the left button
// (Shift adds or takes away one object, a press on empty space draws a
// rubber band), the keys of the selection (Delete, R, T, the arrows,
// Escape), and scrolling the view while the right button is held.
//
// The press decides what the movements that follow do: only the press runs
// the hit test, so a drag across another object keeps moving the picked
// selection. A press selects and moves nothing; the drag begins once the
// pointer leaves the system's drag distance around the press point and then
// moves the selection by the pointer's motion, so the picked object keeps
// the offset at which it was grabbed. A whole drag, from press to release,
// is one undoable step, and none when nothing moved.
#include "app/ViewWindow.h"

#include <math.h>
#include <stdlib.h>

#include "app/EditorEvents.h"
#include "app/PaletteDialog.h"
#include "document/MapDocument.h"
#include "resource.h"

namespace
{
// Scrolling speed: view pixels per second for each pixel that the pointer
// lies away from where the right button went down.
const int kScrollSpeed = 3;

bool KeyHeld(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}
} // namespace

void ViewWindow::ResetGesture()
{
    EndPress();
    gesture_.rightButtonDown = false;
    gesture_.panning = false;
}

void ViewWindow::BeginScroll(int px, int py)
{
    gesture_.rightButtonDown = true;
    gesture_.rightPressX = px;
    gesture_.rightPressY = py;
    // The first scrolling frame measures from the press, not from the last
    // frame drawn (which may be long ago: frames are drawn only on change).
    timer_.Tick();
}

void ViewWindow::SetPopupPoint(int px, int py)
{
    gesture_.popupX = px;
    gesture_.popupY = py;
}

// The rest of this press (movements until the release) does nothing.
void ViewWindow::EndPress()
{
    gesture_.leftButtonDown = false;
    gesture_.dragging = false;
    gesture_.moving = false;
    gesture_.banding = false;
    document_.EndDrag();
    EndStroke(); // a brush or eraser stroke becomes its step
}

void ViewWindow::FollowDocument()
{
    if (!gesture_.dragging)
        return;
    // Once begun, the drag is the document's: when it is no longer open, an
    // edit ended it. Before that, any step done, undone or redone since the
    // press may have moved or removed what the press picked.
    const bool ended = gesture_.moving ? !document_.Dragging()
                                       : document_.ChangeCount() != gesture_.changesAtPress;
    if (ended)
        StopDragging();
}

bool ViewWindow::PastDragDistance(int px, int py) const
{
    // The system's distance on either side of the press point within which
    // a press stays a click (a shaking hand moves nothing).
    return abs(px - gesture_.pressX) > GetSystemMetrics(SM_CXDRAG) ||
           abs(py - gesture_.pressY) > GetSystemMetrics(SM_CYDRAG);
}

bool ViewWindow::BeginDragAtPress()
{
    float grabX = 0.0f, grabY = 0.0f;
    const int picked = gesture_.picked;
    if (document_.ChangeCount() != gesture_.changesAtPress || picked < 0 ||
        !document_.IsSelected((size_t)picked) ||
        !ViewPointToMap(gesture_.pressX, gesture_.pressY, &grabX, &grabY))
        return false;
    document_.BeginDrag(picked, grabX, grabY);
    return document_.Dragging();
}

void ViewWindow::DragTo(int px, int py)
{
    FollowDocument();
    if (!gesture_.dragging)
        return;
    if (!gesture_.moving)
    {
        if (!PastDragDistance(px, py))
            return;
        if (!BeginDragAtPress())
        {
            StopDragging();
            return;
        }
        gesture_.moving = true;
    }
    float x = 0.0f, y = 0.0f;
    if (ViewPointToMap(px, py, &x, &y))
        document_.DragTo(x, y);
}

void ViewWindow::StartBand(int px, int py, bool adds)
{
    gesture_.banding = true;
    gesture_.bandAdds = adds;
    gesture_.bandX0 = gesture_.bandX1 = px;
    gesture_.bandY0 = gesture_.bandY1 = py;
}

void ViewWindow::StretchBand(int px, int py)
{
    gesture_.bandX1 = px;
    gesture_.bandY1 = py;
}

void ViewWindow::PressAt(int px, int py)
{
    if (KeyHeld(VK_CONTROL))
    {
        PlaceObjectAt(px, py);
        EndPress();
        return;
    }
    const int hit = document_.HitTest(px, py);
    if (KeyHeld(VK_SHIFT))
    {
        if (hit != -1)
        {
            document_.ToggleSelected(hit);
            EndPress();
            return;
        }
        StartBand(px, py, true);
        return;
    }
    if (hit == -1)
    {
        // A click on empty space selects nothing; dragging from it draws
        // a rubber band.
        document_.ClearSelection();
        StartBand(px, py, false);
        return;
    }
    // A plain press on an object not yet selected selects just it; on a
    // selected one it keeps the selection, which a drag moves together. The
    // press itself moves nothing.
    // The document's drag selects as a press does; it is closed again at
    // once (no step: nothing moved) and opened anew, grabbed at the press
    // point, once the pointer leaves the drag distance.
    document_.BeginDrag(hit);
    gesture_.dragging = document_.Dragging();
    gesture_.moving = false;
    document_.EndDrag();
    gesture_.picked = hit;
    gesture_.pressX = px;
    gesture_.pressY = py;
    gesture_.changesAtPress = document_.ChangeCount();
}

void ViewWindow::MoveTo(int px, int py)
{
    // Ctrl pressed during the press places an object at the pointer and ends
    // the drag (or the rubber band).
    if (KeyHeld(VK_CONTROL))
    {
        PlaceObjectAt(px, py);
        EndPress();
        return;
    }
    if (gesture_.dragging)
        DragTo(px, py);
    else if (gesture_.banding)
        StretchBand(px, py);
}

// The left button went up: the drag becomes one step, a rubber band selects
// what it holds.
void ViewWindow::EndPointerPress()
{
    if (gesture_.banding)
        document_.SelectInViewRect((float)gesture_.bandX0, (float)gesture_.bandY0,
                                   (float)gesture_.bandX1, (float)gesture_.bandY1,
                                   gesture_.bandAdds);
    EndPress();
}

// The view moves at kScrollSpeed pixels per second per pixel of offset, scaled
// by the measured frame time so the speed does not depend on the frame rate.
// It stops where the map's edge reaches the view's centre.
void ViewWindow::ScrollToward(int px, int py)
{
    // Offsets are taken in 64 bits: a pointer far outside the window cannot
    // overflow them.
    const long long offsetX = ((long long)px - gesture_.rightPressX) * kScrollSpeed;
    const long long offsetY = ((long long)py - gesture_.rightPressY) * kScrollSpeed;
    document_.scrollX += (float)offsetX * frameTime_;
    document_.scrollY += (float)offsetY * frameTime_;
    KeepScrollInBounds();
}

bool ViewWindow::ViewPointToMap(int px, int py, float* x, float* y) const
{
    // There is no map position while the map has no size on screen
    // (viewScale 0, when no heightmap was ever loaded): every point would map
    // to infinity or to NaN.
    if (document_.viewScale == 0)
        return false;
    const float mapX = document_.ViewToMapX(px);
    const float mapY = document_.ViewToMapY(py);
    if (!isfinite(mapX) || !isfinite(mapY))
        return false;
    *x = mapX;
    *y = mapY;
    return true;
}

bool ViewWindow::PlaceObjectAt(int px, int py)
{
    float x = 0.0f, y = 0.0f;
    if (!ViewPointToMap(px, py, &x, &y))
        return false;
    // Outside the map square, or of no type the record can hold: nothing.
    if (!document_.PlaceObject(x, y, palette_.Rotation()))
        return false;
    // The object just placed keeps the rotation it was built with.
    palette_.ObjectPlaced();
    return true;
}

void ViewWindow::OnKey(WPARAM key)
{
    const bool shift = KeyHeld(VK_SHIFT);
    const int step = shift ? 10 : 1;
    switch (key)
    {
    case VK_DELETE:
        events_.RunCommand(ID_EDIT_DELETE);
        break;
    case 'R':
        events_.RunCommand(shift ? ID_EDIT_ROTATELEFT : ID_EDIT_ROTATERIGHT);
        break;
    case 'T':
        events_.RunCommand(ID_EDIT_SETTYPE);
        break;
    case VK_ESCAPE:
        events_.RunCommand(ID_EDIT_SELECTNONE);
        break;
    case VK_LEFT:
        document_.NudgeSelection(-step, 0);
        break;
    case VK_RIGHT:
        document_.NudgeSelection(step, 0);
        break;
    case VK_UP:
        document_.NudgeSelection(0, -step);
        break;
    case VK_DOWN:
        document_.NudgeSelection(0, step);
        break;
    default: // S, B, E, [ and ]: the tools and the brush's size (Ctrl+S saves)
        if (ToolKeyCommand((unsigned)key) && !KeyHeld(VK_CONTROL))
            events_.RunCommand(ToolKeyCommand((unsigned)key));
        break;
    }
    // A key that edited ended an open drag: the press drags no more.
    FollowDocument();
}
