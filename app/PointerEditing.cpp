// Pointer and keyboard editing: placing objects with Ctrl + click, picking,
// selecting and dragging objects with the left button (Shift adds or takes
// away one object, a press on empty space draws a rubber band), the keys of
// the selection (Delete, R, T, the arrows, Escape), and scrolling the view
// while the right button is held.
//
// The press decides what the movements that follow do: only the press runs
// the hit test, so a drag across another object keeps moving the picked
// selection. A whole drag, from press to release, is one undoable step.
#include "app/PointerEditing.h"

#include <math.h>
#include <stdlib.h>

#include <string>

#include "app/EditCommands.h"
#include "app/EditorApp.h"
#include "app/ViewNavigation.h"
#include "resource.h"

namespace
{
// The rotation box of the palette holds the eight multiples of 45 degrees.
const int kRotationRows = 8;

// Scrolling speed: view pixels per second for each pixel that the pointer
// lies away from where the right button went down.
const int kScrollSpeed = 3;

bool KeyHeld(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

bool RandomizeChecked()
{
    return SendDlgItemMessageA(app.paletteWindow, IDC_RANDOMIZE, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// "Randomize": a random row of the rotation box becomes the rotation of the
// next placement, so the box always shows what the next object gets.
void ChooseNextRotation()
{
    HWND rotationBox = GetDlgItem(app.paletteWindow, IDC_ROTATION);
    const int row = rand() % kRotationRows;
    SendMessageA(rotationBox, CB_SETCURSEL, (WPARAM)row, 0);
    short rotation = 0;
    if (ReadRotationRow(rotationBox, row, &rotation))
        app.currentRotation = rotation;
}

// The rest of this press (movements until the release) does nothing.
void EndPress()
{
    app.leftButtonDown = false;
    app.dragging = false;
    app.banding = false;
    app.document.EndDrag();
}

void DragTo(int px, int py)
{
    float x = 0.0f, y = 0.0f;
    if (ViewPointToMap(px, py, &x, &y))
        app.document.DragTo(x, y);
}

void StartBand(int px, int py, bool adds)
{
    app.banding = true;
    app.bandAdds = adds;
    app.bandX0 = app.bandX1 = px;
    app.bandY0 = app.bandY1 = py;
}

void PressAt(int px, int py)
{
    MapDocument& document = app.document;
    if (KeyHeld(VK_CONTROL))
    {
        PlaceObjectAt(px, py);
        EndPress();
        return;
    }
    const int hit = document.HitTest(px, py);
    if (KeyHeld(VK_SHIFT))
    {
        if (hit != -1)
        {
            document.ToggleSelected(hit);
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
        document.ClearSelection();
        StartBand(px, py, false);
        return;
    }
    // A plain press on an object not yet selected selects just it; on a
    // selected one it keeps the selection, which the drag moves together.
    // The picked object jumps to the pointer: the offset is not kept.
    document.BeginDrag(hit);
    app.dragging = document.Dragging();
    if (app.dragging)
        DragTo(px, py);
}

void MoveTo(int px, int py)
{
    // Ctrl pressed during the press places an object at the pointer and ends
    // the drag (or the rubber band).
    if (KeyHeld(VK_CONTROL))
    {
        PlaceObjectAt(px, py);
        EndPress();
        return;
    }
    if (app.dragging)
        DragTo(px, py);
    else if (app.banding)
    {
        app.bandX1 = px;
        app.bandY1 = py;
    }
}

// The view moves at kScrollSpeed pixels per second per pixel of offset, scaled
// by the measured frame time so the speed does not depend on the frame rate.
// It stops where the map's edge reaches the view's centre.
void ScrollToward(int px, int py)
{
    MapDocument& document = app.document;
    // Offsets are taken in 64 bits: a pointer far outside the window cannot
    // overflow them.
    const long long offsetX = ((long long)px - app.rightPressX) * kScrollSpeed;
    const long long offsetY = ((long long)py - app.rightPressY) * kScrollSpeed;
    document.scrollX += (float)offsetX * app.frameTime;
    document.scrollY += (float)offsetY * app.frameTime;
    // Up to where the map's edge reaches the view's centre.
    KeepScrollInBounds();
}
} // namespace

bool ViewPointToMap(int px, int py, float* x, float* y)
{
    // There is no map position while the map has no size on screen
    // (viewScale 0, when no heightmap was ever loaded): every point would map
    // to infinity or to NaN.
    const MapDocument& document = app.document;
    if (document.viewScale == 0)
        return false;
    const float mapX = document.ViewToMapX(px);
    const float mapY = document.ViewToMapY(py);
    if (!isfinite(mapX) || !isfinite(mapY))
        return false;
    *x = mapX;
    *y = mapY;
    return true;
}

bool PlaceObjectAt(int px, int py)
{
    float x = 0.0f, y = 0.0f;
    if (!ViewPointToMap(px, py, &x, &y))
        return false;
    // Outside the map square, or of no type the record can hold: nothing.
    if (!app.document.PlaceObject(x, y, app.currentRotation))
        return false;
    // The object just placed keeps the rotation it was built with.
    if (RandomizeChecked())
        ChooseNextRotation();
    return true;
}

bool ReadRotationRow(HWND rotationBox, int row, short* rotation)
{
    const LRESULT length = SendMessageA(rotationBox, CB_GETLBTEXTLEN, (WPARAM)row, 0);
    if (length == CB_ERR || length < 0)
        return false;
    std::string text((size_t)length + 1, '\0');
    if (SendMessageA(rotationBox, CB_GETLBTEXT, (WPARAM)row, (LPARAM)&text[0]) == CB_ERR)
        return false;
    // Decimal text as atoi reads it, but without its undefined result for
    // numbers beyond the int range: strtol saturates instead.
    *rotation = (short)strtol(text.c_str(), nullptr, 10);
    return true;
}

void EditAtPointer(int x, int y, PointerMode mode)
{
    switch (mode)
    {
    case PointerMode::Press:
        PressAt(x, y);
        break;
    case PointerMode::Edit:
        MoveTo(x, y);
        break;
    case PointerMode::Scroll:
        ScrollToward(x, y);
        break;
    }
}

void EndPointerPress()
{
    if (app.banding)
    {
        app.document.SelectInViewRect((float)app.bandX0, (float)app.bandY0, (float)app.bandX1,
                                      (float)app.bandY1, app.bandAdds);
    }
    EndPress();
}

void CancelPointerPress()
{
    EndPress();
}

void OnKeyDown(HWND window, WPARAM key)
{
    const bool shift = KeyHeld(VK_SHIFT);
    const int step = shift ? 10 : 1;
    switch (key)
    {
    case VK_DELETE:
        RunEditCommand(window, ID_EDIT_DELETE);
        break;
    case 'R':
        RunEditCommand(window, shift ? ID_EDIT_ROTATELEFT : ID_EDIT_ROTATERIGHT);
        break;
    case 'T':
        RunEditCommand(window, ID_EDIT_SETTYPE);
        break;
    case VK_ESCAPE:
        RunEditCommand(window, ID_EDIT_SELECTNONE);
        break;
    case VK_LEFT:
        app.document.NudgeSelection(-step, 0);
        break;
    case VK_RIGHT:
        app.document.NudgeSelection(step, 0);
        break;
    case VK_UP:
        app.document.NudgeSelection(0, -step);
        break;
    case VK_DOWN:
        app.document.NudgeSelection(0, step);
        break;
    default: // every other key does nothing
        break;
    }
}
