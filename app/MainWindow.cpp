// The main window's procedure (see MainWindow.h): it places its children,
// hands the menu commands, the opening menus, dropped files and the
// autosave timer to the EditorEvents, and gives the keys it gets to the view.
//
// Every message is answered with FALSE (TRUE only for WM_INITDIALOG) so that
// the default dialog handling also runs.
#include "app/MainWindow.h"

#include "app/EditorEvents.h"
#include "app/PaletteDialog.h"
#include "app/StatusBar.h"
#include "app/ViewWindow.h"
#include "app/WindowDpi.h"
#include "resource.h"

#include <algorithm>

MainWindow::~MainWindow()
{
    // The window may outlive the object (until the process ends): messages
    // after this go to the default handling, not to a freed object.
    if (window_ && IsWindow(window_))
        SetWindowLongPtrA(window_, DWLP_USER, 0);
}

HWND MainWindow::Create(HINSTANCE instance)
{
    return CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, Procedure,
                              (LPARAM)this);
}

void MainWindow::AdoptChildren(HINSTANCE instance)
{
    // Docked at the main window's right edge, as wide as its dialog.
    RECT palette = {0, 0, 0, 0};
    GetWindowRect(palette_.Handle(), &palette);
    paletteWidth_ = palette.right - palette.left;
    DockPalette(true);
    accelerators_ = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    // Files dropped anywhere on the main window (the view and the docked
    // palette take none themselves, so their drops come here).
    DragAcceptFiles(window_, TRUE);
}

namespace
{
// A key that a list or a box takes for itself: one without Ctrl or Alt,
// other than the function keys (a letter jumps to a row, Home and the
// arrows move in the list, Delete and + and - are typed).
bool KeyOfTheFocusedControl(const MSG& message)
{
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN)
        return false;
    if ((GetKeyState(VK_CONTROL) & 0x8000) || (GetKeyState(VK_MENU) & 0x8000))
        return false;
    return message.wParam < VK_F1 || message.wParam > VK_F24;
}
} // namespace

bool MainWindow::TranslateShortcut(MSG* message) const
{
    // The shortcuts with Ctrl, and the function keys, work whichever of the
    // main window and the palette (or one of its controls) has the keyboard;
    // the single keys act on the map only while the view (or the main window
    // itself) has it. The commands go to the main window. Other windows
    // (choosers, message boxes) run their own loops.
    HWND target = message->hwnd;
    HWND palette = palette_.Handle();
    if (!accelerators_ || !target)
        return false;
    const bool ours = target == window_ || target == palette || IsChild(window_, target) ||
                      IsChild(palette, target);
    if (!ours)
        return false;
    const bool mapHasKeyboard = target == window_ || target == view_.Handle();
    if (!mapHasKeyboard && KeyOfTheFocusedControl(*message))
        return false;
    return TranslateAcceleratorA(window_, accelerators_, message);
}

INT_PTR CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
    {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        if (lParam)
            ((MainWindow*)lParam)->window_ = window;
        return TRUE;
    }
    MainWindow* main = (MainWindow*)GetWindowLongPtrA(window, DWLP_USER);
    if (!main)
        return FALSE;
    if (main->OnSplitterMessage(message, wParam, lParam))
        return message == WM_SETCURSOR;
    main->OnMessage(message, wParam, lParam);
    return FALSE;
}

void MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_SIZE:
        LayOut();
        break;
    case WM_DPICHANGED:
        MoveToSuggestedRect(window_, lParam);
        break;
    case WM_GETMINMAXINFO:
    {
        MINMAXINFO* limits = (MINMAXINFO*)lParam;
        const SIZE least = SmallestSize();
        limits->ptMinTrackSize.x = std::max(limits->ptMinTrackSize.x, least.cx);
        limits->ptMinTrackSize.y = std::max(limits->ptMinTrackSize.y, least.cy);
        break;
    }
    case WM_ACTIVATE:
        active_ = LOWORD(wParam) != WA_INACTIVE;
        break;
    case WM_KEYDOWN: // the main window itself has the keyboard: as the view
        view_.OnKey(wParam);
        events_.Changed();
        break;
    case WM_INITMENUPOPUP:
        events_.MenuOpening((HMENU)wParam);
        break;
    case WM_DROPFILES:
        events_.FilesDropped((HDROP)wParam);
        break;
    case WM_TIMER:
        if (wParam == kAutosaveTimer)
            events_.AutosaveDue();
        break;
    case WM_COMMAND:
        events_.RunCommand(LOWORD(wParam));
        break;
    }
}
