// The main window: a dialog without controls whose client area holds the
// map view, the object palette docked at the right edge with a splitter
// between them (or floating as its own tool window) and the status bar
// along the bottom. Its object keeps the layout (the palette docked or
// floating, shown or hidden, its width, where it floats, the splitter's
// drag), whether the window is active and the keyboard shortcuts; the menu
// commands go to the EditorEvents it is given.
//
// The procedure and the commands' way out live in MainWindow.cpp, the
// layout, the splitter and the smallest size in MainLayout.cpp, the keys
// that move the keyboard among the panes and the palette's controls in
// MainKeyboard.cpp.
#ifndef MAPEDITOR_MAINWINDOW_H
#define MAPEDITOR_MAINWINDOW_H

#include <windows.h>

class EditorEvents;
class PaletteDialog;
class StatusBar;
class ViewWindow;

// The timer that looks every few seconds whether a copy of unsaved work is due.
const UINT_PTR kAutosaveTimer = 1;
const UINT kAutosaveCheckMilliseconds = 10000;

// Width of the splitter between the view and the docked palette, in pixels.
const int kSplitterWidth = 5;

class MainWindow
{
  public:
    MainWindow(ViewWindow& view, PaletteDialog& palette, StatusBar& status, EditorEvents& events)
        : view_(view), palette_(palette), status_(status), events_(events)
    {
    }
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // The main window from the resources; its children come after it.
    HWND Create(HINSTANCE instance);
    // Docks the palette (as wide as its dialog), loads the shortcuts and
    // takes dropped files, once the children exist.
    void AdoptChildren(HINSTANCE instance);
    HWND Handle() const { return window_; }
    // The main window (or one of its windows) is the active one.
    bool Active() const { return active_; }

    // ---- Layout (MainLayout.cpp) ----
    // Places the status bar at the bottom and the view, the splitter and
    // the docked palette above it. When the window narrows the view gives
    // up width first, down to its narrowest; the palette then narrows to
    // its controls row and, when even that does not fit, is hidden.
    void LayOut();
    // View > Floating Palette (docked = false) and View > Object Palette.
    // Shown while there is no room for it docked, it floats.
    void DockPalette(bool docked);
    void ShowPalette(bool shown);
    bool PaletteDocked() const { return paletteDocked_; }
    // Whether the palette is on the screen (shown, and docked with room).
    bool PaletteShown() const { return paletteShown_ && !paletteSqueezedOut_; }
    // The smallest outer size at which the menu bar, the docked palette's
    // controls and the status bar fit (WM_GETMINMAXINFO).
    SIZE SmallestSize() const;

    // ---- Keyboard (MainKeyboard.cpp) ----
    // The palette's dialog keys (Tab and Shift+Tab through its controls,
    // the arrow keys among buttons): true when the message was for the
    // palette and has been handled.
    bool TranslatePaletteKeys(MSG* message);
    // F6: the keyboard to the palette when it is in the view (or the main
    // window), back to the view when it is in the palette.
    void FocusNextPane();

    // Turns a key message for the main window or the palette into the
    // command of its shortcut; true when it did (the message is then handled).
    bool TranslateShortcut(MSG* message) const;

  private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The splitter, dragged with the left button in the main window's own
    // client area (the strip between the view and the palette). True when
    // the message was the splitter's.
    bool OnSplitterMessage(UINT message, WPARAM wParam, LPARAM lParam);
    RECT SplitterRect() const;
    // The width of the palette's controls row in pixels: its narrowest.
    int PaletteLeastWidth() const;

    ViewWindow& view_;
    PaletteDialog& palette_;
    StatusBar& status_;
    EditorEvents& events_;
    HWND window_ = nullptr;
    HACCEL accelerators_ = nullptr; // the keyboard shortcuts (one table, in the resources)
    bool active_ = false;
    // The palette docked at the main window's right edge (or floating), shown
    // or hidden, its docked width and where it floats.
    bool paletteDocked_ = false;
    bool paletteShown_ = true;
    bool paletteSqueezedOut_ = false; // docked and shown, but no room for it
    int paletteWidth_ = 0;
    RECT floatingPalette_ = {0, 0, 0, 0};
    bool splitterDragging_ = false;
    HWND paletteFocus_ = nullptr; // the palette's control that had the keyboard last (F6)
};

#endif
