// The object palette's procedure. Not written yet: the palette shows its
// controls and answers nothing.
#include "app/PaletteDialog.h"

INT_PTR CALLBACK PaletteDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return FALSE;
}
