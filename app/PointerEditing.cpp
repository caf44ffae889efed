// Pointer and keyboard editing: placing objects with Ctrl + click, picking
// and dragging an object with the left button, deleting the selection with
// the Delete key, and scrolling the view while the right button is held.
//
// The press decides what the movements that follow do: only the press runs
// the hit test, so an object dragged across another one of lower index stays
// the one that moves. A press that hits nothing starts no drag.
#include "app/PointerEditing.h"

#include <math.h>
#include <stdlib.h>

#include <new>
#include <string>

#include "app/EditorApp.h"
#include "resource.h"

namespace
{
// The rotation box of the palette holds the eight multiples of 45 degrees.
const int kRotationRows = 8;

// Scrolling speed: view pixels per second for each pixel that the pointer
// lies away from where the right button went down.
const int kScrollSpeed = 3;

bool CtrlHeld()
{
    return (GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

bool RandomizeChecked()
{
    return SendDlgItemMessageA(app.paletteWindow, IDC_RANDOMIZE, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The map position under a view point. There is none while the map has no
// size on screen (viewScale 0, when no heightmap was ever loaded): every
// point would map to infinity or to NaN, and such an object could never be
// hit, drawn or saved sensibly.
bool ViewToMap(int px, int py, float* x, float* y)
{
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

// Places an object of the current type at the point. The type field holds
// 8 bits and names a catalog entry, so only a current type that is an entry
// of the catalog and fits those bits gives an object; any other (no entry
// selected, the catalog emptied or shortened by a reload, a row above 255)
// places nothing rather than an object of some other or of no type.
void PlaceObject(int px, int py)
{
    MapDocument& document = app.document;
    const int type = document.currentType;
    if (type < 0 || type >= (int)document.objectTypes.size() || type > 255)
        return;
    PlacedObject object = {}; // the reserved bytes of a new record are zero
    if (!ViewToMap(px, py, &object.x, &object.y))
        return;
    object.type = (uint8_t)type;
    object.rotation = app.currentRotation;
    try
    {
        document.AddObject(object);
    }
    catch (const std::bad_alloc&)
    {
        return; // no memory for one more record: nothing placed
    }
    // The object just placed keeps the rotation it was built with.
    if (RandomizeChecked())
        ChooseNextRotation();
}

// The rest of this press (movements until the release) does nothing.
void EndPress()
{
    app.leftButtonDown = false;
    app.dragging = false;
}

// The selected object jumps to the pointer: the offset between the press
// point and the object is not kept.
void MoveSelectedObject(int px, int py)
{
    MapDocument& document = app.document;
    const int selected = document.selectedObject;
    if (selected < 0 || selected >= document.ObjectCount())
        return;
    float x = 0.0f;
    float y = 0.0f;
    if (!ViewToMap(px, py, &x, &y))
        return;
    document.objects[(size_t)selected].x = x;
    document.objects[(size_t)selected].y = y;
}

void PressAt(int px, int py)
{
    if (CtrlHeld())
    {
        PlaceObject(px, py);
        EndPress();
        return;
    }
    const int hit = app.document.HitTest(px, py);
    app.dragging = hit != -1;
    if (hit == -1)
        return; // a press on empty space leaves the selection as it was
    app.document.selectedObject = hit;
    MoveSelectedObject(px, py);
}

void MoveTo(int px, int py)
{
    // Ctrl pressed during the press places an object at the pointer and ends
    // the drag.
    if (CtrlHeld())
    {
        PlaceObject(px, py);
        EndPress();
        return;
    }
    if (app.dragging)
        MoveSelectedObject(px, py);
}

// The view moves at kScrollSpeed pixels per second per pixel of offset, scaled
// by the measured frame time so the speed does not depend on the frame rate.
// It has no bounds: the view may leave the map entirely.
void ScrollToward(int px, int py)
{
    MapDocument& document = app.document;
    // Offsets are taken in 64 bits: a pointer far outside the window cannot
    // overflow them.
    const long long offsetX = ((long long)px - app.rightPressX) * kScrollSpeed;
    const long long offsetY = ((long long)py - app.rightPressY) * kScrollSpeed;
    document.scrollX += (float)offsetX * app.frameTime;
    document.scrollY += (float)offsetY * app.frameTime;
}
} // namespace

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

void OnKeyDown(WPARAM key)
{
    if (key != VK_DELETE)
        return;
    MapDocument& document = app.document;
    const int selected = document.selectedObject;
    if (selected < 0 || selected >= document.ObjectCount())
        return;
    // The selection is kept: it now designates the record that followed, or
    // lies past the end. A drag in progress ends with the removal, so that
    // the following record, which the user never picked, does not move.
    document.RemoveObject(selected);
    app.dragging = false;
}
