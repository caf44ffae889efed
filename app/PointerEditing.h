// Pointer and keyboard editing of the map document: Ctrl + click places an
// object, a press picks the object under the pointer (or starts a rubber
// band on empty space) and the movements that follow drag the selection (or
// stretch the band), Shift + click adds or takes away one object, the keys
// act on the selection, and the right button held scrolls the view.
#ifndef MAPEDITOR_POINTEREDITING_H
#define MAPEDITOR_POINTEREDITING_H

#include <windows.h>

enum class PointerMode
{
    Press,  // left button went down: place with Ctrl, else pick or start a rubber band
    Edit,   // pointer moved with the left button held: Ctrl places, else drag or stretch
    Scroll, // right button held: scroll by the pointer's offset from the press
};

// x, y are client pixels of the main window (negative outside it while the
// mouse is captured).
void EditAtPointer(int x, int y, PointerMode mode);

// The left button went up: the drag becomes one step, a rubber band selects
// what it holds.
void EndPointerPress();
// The press ends without its rubber band (the mouse was taken away); a drag
// so far is kept as its step.
void CancelPointerPress();

// Delete, R / Shift+R, T, Escape and the arrow keys (Shift: ten cells).
void OnKeyDown(HWND window, WPARAM key);

// The map position under a view point; false while the map has no size.
bool ViewPointToMap(int px, int py, float* x, float* y);

// Places an object of the palette's type and rotation at a view point
// (nothing outside the map square); "Randomize" then picks the next rotation.
bool PlaceObjectAt(int px, int py);

// Reads the text of a row of the palette's rotation box as a rotation in
// degrees: its decimal value (0 for text that is not a number), as a 16-bit
// value. False when the row does not exist.
bool ReadRotationRow(HWND rotationBox, int row, short* rotation);

#endif
