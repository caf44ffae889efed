// The way a frame of the map view reaches the screen, behind one seam.
//
// Frames reach the window by GDI from a system-memory copy of the back
// buffer rather than by Present. The view is a child window beside the
// docked palette and the status bar, and Wine (on Xvfb with Mesa's software
// renderer) shows nothing of a Direct3D surface presented into a window that
// is a child (and takes no GDI drawing into a window that holds one): the
// device belongs to a hidden window of its own (Renderer.h). Direct3D 8
// documents the copy of a render target into system memory, so the same
// path serves Windows. The copy keeps the picture on screen, which lets the
// next frame draw only what changed (KeptFrame.h): the presenter decides
// whether a frame is drawn whole, in part or not at all, ends it, and shows
// the kept picture over whatever the system asked to repaint.
//
// When the copy fails, the frame is presented into the view all the same
// (which Windows shows), and the failure goes to debug.txt once.
#ifndef MAPEDITOR_FRAMEPRESENTER_H
#define MAPEDITOR_FRAMEPRESENTER_H

#include <windows.h>
#include <d3d8.h>

#include <functional>

#include "render/KeptFrame.h"

class FontRegistry;
class MapDocument;
class MapView;
class Renderer;

// Everything besides the renderer that a frame of the map view is drawn from.
struct FrameInputs
{
    FontRegistry& fonts;
    int statusFont; // the font registry's slot of the count in the corner
    const MapView& view;
    const MapDocument& document;
    FrameBand band;
    FrameOutline outline = FrameOutline(); // the brush's, under the pointer
};

// Counts read by tests and benchmarks.
struct FrameStatistics
{
    unsigned framesShown = 0;     // whole, in part or kept
    unsigned framesPresented = 0; // of those, presented because the copy failed
};

class FramePresenter
{
  public:
    explicit FramePresenter(Renderer& renderer) : renderer_(renderer) {}
    ~FramePresenter() { Release(); }
    FramePresenter(const FramePresenter&) = delete;
    FramePresenter& operator=(const FramePresenter&) = delete;

    // The window the frames are shown in (the view).
    void SetWindow(HWND window) { window_ = window; }

    // Draws the scene between BeginFrame and the frame's end: the objects
    // only where they reach into the parts (back buffer pixels), when given.
    using DrawScene = std::function<void(const ViewArea* parts, int partCount)>;
    // The one call for a frame: nothing drawn while the device is lost;
    // otherwise drawn whole, only in the parts that changed since the kept
    // picture, or not at all when nothing did, and shown. `update` (client
    // pixels, or null) is the region the system asked to repaint: the kept
    // picture covers it too, whatever was drawn.
    void ShowFrame(const FrameInputs& inputs, const DrawScene& draw, const RECT* update = nullptr);
    // What the next frame would draw.
    KeptFrame::Plan Plan(const FrameInputs& inputs) const;
    // The next frame is drawn whole.
    void Forget() { kept_.Forget(); }

    // Ends a frame drawn whole (EndScene) and shows it: through GDI, keeping
    // the picture, or presented into the window when the copy fails.
    void EndFrame();
    // Ends a frame in which only the parts (of the back buffer) were drawn
    // right: those go into the kept picture and are shown. The rest of the
    // back buffer is left as drawn (not the frame: the kept picture is).
    // False, with nothing shown, when there is no kept picture or the copy
    // failed (the caller then draws the frame whole).
    bool EndPartFrame(const RECT* parts, int count);
    // Shows the kept picture again without drawing (within `region` of the
    // client area, or all of it); false when there is none.
    bool ShowKeptPicture(const RECT* region = nullptr);

    // The picture of the last frame shown through GDI, or null.
    IDirect3DSurface8* KeptPicture() const { return pictureKept_ ? readback_ : nullptr; }
    const FrameStatistics& Statistics() const { return statistics_; }
    // Lets go of the copy (before the device goes).
    void Release();

  private:
    // The system-memory copy of the back buffer (made or remade to its size
    // and format), or null when that format has no GDI form.
    IDirect3DSurface8* Readback(IDirect3DSurface8* back);
    // The kept picture drawn in the window with GDI: all of it, or the part.
    bool ShowReadback(const RECT* part);
    // The back buffer copied into the kept picture and shown; false when it cannot be.
    bool CopyBackBufferToWindow();
    // The fallback: Present into the window, the failure noted once.
    void PresentIntoWindow();

    Renderer& renderer_;
    HWND window_ = nullptr;
    IDirect3DSurface8* readback_ = nullptr;
    bool pictureKept_ = false;
    bool copyFailureNoted_ = false; // debug.txt has the line already
    KeptFrame kept_;                // what the kept picture was drawn from
    FrameStatistics statistics_;
};

#endif
