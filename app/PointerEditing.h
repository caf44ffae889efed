// Pointer and keyboard editing of the map document: Ctrl + click places an
// object, a press selects and drags, Delete removes the selection, and the
// right button held scrolls the view.
#ifndef MAPEDITOR_POINTEREDITING_H
#define MAPEDITOR_POINTEREDITING_H

#include <windows.h>

enum class PointerMode
{
    Edit,   // left button: place, select, drag
    Scroll, // right button held: scroll by the pointer's offset from the press
};

void EditAtPointer(int x, int y, PointerMode mode);
void OnKeyDown(WPARAM key);

#endif
