// Pointer and keyboard editing. Not written yet: pointer and keys change
// nothing.
#include "app/PointerEditing.h"

void EditAtPointer(int x, int y, PointerMode mode) {}
void OnKeyDown(WPARAM key) {}
