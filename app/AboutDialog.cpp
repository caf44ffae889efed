// The About dialog's procedure. Name and version come from Version.h, the
// build date from the compiler: the day this file was compiled, which for a
// release built from clean sources is the day of the build.
#include "app/AboutDialog.h"

#include <stdio.h>
#include <stdlib.h>

#include "app/WindowDpi.h"
#include "resource.h"
#include "Version.h"

namespace
{
void FillTexts(HWND dialog)
{
    SetDlgItemTextA(dialog, IDC_ABOUTNAME, MAPEDITOR_PRODUCT_NAME " " MAPEDITOR_VERSION_TEXT);
    SetDlgItemTextA(dialog, IDC_ABOUTVERSION, "Version " MAPEDITOR_FILE_VERSION_TEXT);
    // __DATE__ is "Mmm dd yyyy" with the day padded by a space: "Dec  8 2025".
    const char date[] = __DATE__;
    char text[40];
    snprintf(text, sizeof(text), "Built on %d %.3s %s", atoi(date + 4), date, date + 7);
    SetDlgItemTextA(dialog, IDC_ABOUTBUILD, text);
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_INITDIALOG:
        FillTexts(dialog);
        return TRUE;
    case WM_DPICHANGED: // the dialog manager scales the controls (FALSE)
        MoveToSuggestedRect(dialog, lParam);
        return FALSE;
    case WM_COMMAND:
        // OK, Enter, Escape and the close box all just close it.
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
        {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}
} // namespace

void ShowAboutDialog(HWND owner)
{
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUTDIALOG), owner,
                    AboutDialogProc, 0);
}
