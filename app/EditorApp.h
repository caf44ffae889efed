// The one application object: the renderer part, the frame timer, the fonts,
// the map document with the file system and image source it is given, the
// map view, the program directory, the window handles and the pointer state.
// Constructed before WinMain runs, destroyed at process exit.
#ifndef MAPEDITOR_EDITORAPP_H
#define MAPEDITOR_EDITORAPP_H

#include <windows.h>

#include "app/Autosave.h"
#include "app/FrameTimer.h"
#include "app/RecentMaps.h"
#include "app/WindowsFileSystem.h"
#include "document/MapDocument.h"
#include "render/KeptFrame.h"
#include "render/MapView.h"
#include "render/Renderer.h"
#include "render/TextureImages.h"
#include "text/FontRegistry.h"

class EditorApp : public Renderer
{
  public:
    // Members are declared in the order the teardown needs: destruction runs
    // the document, then the fonts (before the device they live on), then the
    // Renderer part releases the device and finally its texture table.
    FrameTimer timer; // starts counting at static construction
    float frameTime = 0.0f;
    FontRegistry fonts;
    bool initialised = false;
    char programDirectory[255] = {};
    MapDocument document;
    WindowsFileSystem files;            // what the document reads and writes files through
    TextureImages images{*this, files}; // what it loads its images through
    Autosave autosave;                  // copies of unsaved work against a crash
    RecentMaps recentMaps;              // File > Recent Maps
    MapView view;
    KeptFrame keptFrame; // the frame on screen, and what it was drawn from
    int textFont = 0;
    HWND mainWindow = nullptr;
    HWND viewWindow = nullptr; // the map view, a child of the main window
    HWND statusBar = nullptr;
    HWND paletteWindow = nullptr;
    // The palette docked at the main window's right edge (or floating), shown
    // or hidden, its docked width and where it floats.
    bool paletteDocked = false;
    bool paletteShown = true;
    int paletteWidth = 0;
    RECT floatingPalette = {0, 0, 0, 0};
    HACCEL accelerators = nullptr; // the keyboard shortcuts (one table, in the resources)
    bool leftButtonDown = false;
    bool rightButtonDown = false;
    // Starts false: the first press in the view must not move object 0.
    bool dragging = false;
    short currentRotation = 0;
    int rightPressX = 0;
    int rightPressY = 0;
    // A rubber band being drawn from a press on empty space: its corners in
    // view pixels, and whether it adds to the selection (Shift held).
    bool banding = false;
    bool bandAdds = false;
    int bandX0 = 0, bandY0 = 0, bandX1 = 0, bandY1 = 0;
    // The middle button dragging the map, from this view point.
    bool panning = false;
    int panX = 0, panY = 0;
    // Wheel turns smaller than one notch, kept for the next.
    int wheelRemainder = 0;
    // Where the right-click popup was opened (client pixels): its commands act there.
    int popupX = 0, popupY = 0;
    // The catalog as the palette's list shows it.
    unsigned shownCatalogRevision = 0;

    EditorApp() = default;
    ~EditorApp();

    // Device, fonts, document, blend states, background, status font, random
    // seed. False when the Direct3D device could not be created; nothing
    // after the device is then done (failedStep names what failed).
    bool Initialise();

    // One idle pass of the main loop: timer, right-button scrolling, a frame.
    void Tick();

    // BeginFrame, map, objects, rubber band, "Objects: %d", EndFrame; only
    // the part that changed since the kept frame when that is all (the map
    // is drawn whole, the objects only where they reach into the part).
    void DrawFrame();
    // The frame's drawing between BeginFrame and its end; the objects only
    // where they reach into the parts, when given.
    void DrawScene(const ViewArea* parts, int partCount);
};

extern EditorApp app;
extern HINSTANCE instanceHandle;
extern bool windowActive;

// Start-up steps of the entry point, in order (separate so tests can run them).
void SaveProgramDirectory();
void CreateEditorWindows(HINSTANCE instance);

// Removes and dispatches messages. Frames are drawn when the view is asked
// to paint (something changed); while the right button scrolls and the main
// window is active, a Tick runs whenever no message is waiting. Otherwise the
// loop waits for messages. Returns 1 when WM_QUIT arrives.
int RunMainLoop();

// Turns a key message for the main window or the palette into the command
// of its shortcut; true when it did (the message is then handled).
bool TranslateEditorAccelerator(MSG* message);

// Tells the user which step of the device creation failed; returns the
// program's exit status for that case, 2.
int ReportDeviceFailure(HWND owner, const char* failedStep);

// At start-up: offers to restore work that a run which did not end cleanly
// left behind (newest first; the first one restored ends the offers, the
// ones turned down are removed).
void OfferRecovery();

// The whole program: start-up, the file named on the command line, main
// loop. 1 after a normal quit, 2 when the Direct3D device could not be
// created (the user has been told).
int RunEditor(HINSTANCE instance);

#endif
