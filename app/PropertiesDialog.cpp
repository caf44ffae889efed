// The properties dialog's procedure. Not written yet: the fields stay empty
// and OK and Cancel both close it without changing anything.
#include "app/PropertiesDialog.h"

INT_PTR CALLBACK PropertiesDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))
    {
        EndDialog(window, 0);
        return TRUE;
    }
    return FALSE;
}
