// Pointer and keyboard editing of the map document: Ctrl + click places an
// object, a press picks the object under the pointer and the movements that
// follow drag it, Delete removes the selection, and the right button held
// scrolls the view.
#ifndef MAPEDITOR_POINTEREDITING_H
#define MAPEDITOR_POINTEREDITING_H

#include <windows.h>

enum class PointerMode
{
    Press,  // left button went down: place with Ctrl, else pick the object to drag
    Edit,   // pointer moved with the left button held: Ctrl places, else drag the pick
    Scroll, // right button held: scroll by the pointer's offset from the press
};

// x, y are client pixels of the main window (negative outside it while the
// mouse is captured).
void EditAtPointer(int x, int y, PointerMode mode);

// Delete removes the selected object; every other key does nothing.
void OnKeyDown(WPARAM key);

// Reads the text of a row of the palette's rotation box as a rotation in
// degrees: its decimal value (0 for text that is not a number), as a 16-bit
// value. False when the row does not exist.
bool ReadRotationRow(HWND rotationBox, int row, short* rotation);

#endif
