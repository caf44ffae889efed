// The keys that move the keyboard in the main window (see MainWindow.h):
// the palette's own dialog navigation and F6 between the panes.
//
// The palette is a dialog whether it is docked or floats, but the main loop
// is no dialog's loop: without IsDialogMessage a list with the keyboard
// keeps Tab to itself. F6 goes from one pane to the other, as in Windows
// programs with panes, and comes back to the control of the palette that
// had the keyboard last.
#include "app/MainWindow.h"

#include "app/PaletteDialog.h"
#include "app/ViewWindow.h"
#include "resource.h"

namespace
{
bool IsWithin(HWND window, HWND ancestor)
{
    return window && ancestor && (window == ancestor || IsChild(ancestor, window));
}
} // namespace

bool MainWindow::TranslatePaletteKeys(MSG* message)
{
    HWND palette = palette_.Handle();
    if (!IsWithin(message->hwnd, palette) || !IsWindowVisible(palette))
        return false;
    // Only the keys: a click or a paint of the palette goes the usual way.
    if (message->message < WM_KEYFIRST || message->message > WM_KEYLAST)
        return false;
    return IsDialogMessageA(palette, message) != FALSE;
}

void MainWindow::FocusNextPane()
{
    HWND palette = palette_.Handle();
    HWND focus = GetFocus();
    if (IsWithin(focus, palette))
    {
        paletteFocus_ = focus;
        SetFocus(view_.Handle());
        return;
    }
    if (!palette || !IsWindowVisible(palette))
        return; // no other pane to go to
    HWND to = IsWithin(paletteFocus_, palette) && IsWindowEnabled(paletteFocus_)
                  ? paletteFocus_
                  : GetDlgItem(palette, IDC_OBJECTLIST);
    SetFocus(to);
}
