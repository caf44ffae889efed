// The main window: a dialog without controls whose client area holds the
// map view, the object palette docked at the right edge with a splitter
// between them (or floating as its own tool window) and the status bar
// along the bottom. Its object keeps the layout (the palette docked or
// floating, shown or hidden, its width, where it floats, the splitter's
// drag), whether the window is active and the keyboard shortcuts; the menu
// commands go to the EditorEvents it is given.
//
// The procedure and the commands' way out live in MainWindow.cpp, the
// layout and the splitter in MainLayout.cpp.
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
    // Places the view, the splitter, the docked palette and the status bar.
    void LayOut();
    // View > Floating Palette (docked = false) and View > Object Palette.
    void DockPalette(bool docked);
    void ShowPalette(bool shown);
    bool PaletteDocked() const { return paletteDocked_; }
    bool PaletteShown() const { return paletteShown_; }

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
    int paletteWidth_ = 0;
    RECT floatingPalette_ = {0, 0, 0, 0};
    bool splitterDragging_ = false;
};

#endif
