// The Direct3D 8 object and device that everything is drawn through, the
// texture table, the background colour, and the quad-drawing operations of
// the map view. Renderer is the first part of the one EditorApp.
#ifndef MAPEDITOR_RENDERER_H
#define MAPEDITOR_RENDERER_H

#include <windows.h>
#include <d3d8.h>

#include <vector>

#include "render/TextureTable.h"
#include "render/VertexRing.h"
#include "render/ViewGeometry.h" // ScreenRect, TexCoordRect, CornerPoint, ViewArea

class FontRegistry;

class Renderer
{
  public:
    IDirect3D8* direct3d = nullptr;
    IDirect3DDevice8* device = nullptr;
    HWND window = nullptr;
    int clientWidth = 0; // the back buffer's size: the client area's at creation or last resize
    int clientHeight = 0;
    TextureTable textures;
    VertexRing frameVertices; // what the batched map view streams its quads through
    int backgroundRed = 0;    // only the low 8 bits of each component count
    int backgroundGreen = 0;
    int backgroundBlue = 0;

    // Name of the step at which the last CreateDevice failed, or null.
    const char* failedStep = nullptr;
    // Present reported the device lost, or a reset failed: no frame is drawn
    // until RecoverDevice has the device back.
    bool deviceLost = false;

    // Frames reach the window by GDI from a copy of the back buffer rather
    // than by Present. The view is a child window beside the docked palette
    // and the status bar, and Wine (on Xvfb with Mesa's software renderer)
    // shows nothing of a Direct3D surface in a window that is a child or has
    // children (and takes no GDI drawing into a window that holds one): the
    // device belongs to a hidden window of its own. The copy costs a
    // read-back per frame, frames are drawn only when something changed, and
    // the copy keeps the picture for frames drawn in part (KeptFrame.h).
    // Present is used when the back buffer's format has no GDI form.
    bool presentThroughGdi = true;
    IDirect3DSurface8* readback = nullptr; // system-memory copy of the back buffer

    Renderer() = default;
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;
    ~Renderer() { ReleaseDevice(); }

    // 0 on success, 1 on failure (failedStep then names the step).
    int CreateDevice(HWND window, float farPlane);
    void ResizeViewport(unsigned x, unsigned y, unsigned width, unsigned height);
    // The pixels a draw can change: the viewport within the back buffer.
    ViewArea VisibleArea() const;
    void BeginFrame();
    // EndScene and Present; a Present that finds the device lost sets deviceLost.
    void EndFrame();

    // Frames shown through GDI leave their picture in `readback`, and the
    // next frame may redraw only a part of it (KeptFrame.h). Changes at
    // every BeginFrame, reset and release: a kept picture is the one a
    // caller drew only while this is what it read after its EndFrame.
    unsigned frameSerial = 0;
    // Frames that reached the window, whole, in part or kept.
    unsigned framesShown = 0;
    // The last frame ended went through GDI and its picture is in `readback`.
    bool pictureKept = false;
    // Ends a frame in which only the parts (of the back buffer) were drawn
    // right: those go into the kept picture and are shown. The rest of
    // the back buffer is left as drawn (not the frame: the kept picture is).
    // False, with nothing shown, when there is no kept picture or the copy
    // failed (the caller then draws the frame whole).
    bool EndPartFrame(const RECT* parts, int count);
    // Shows the kept picture again without drawing; false when there is none.
    bool ShowKeptFrame();

    // Device loss and size changes (DeviceReset.cpp). The fonts are the ones
    // made on this device: their default-pool resources go before the reset
    // and come back after it.
    // The back buffer follows the client area: a new size resets the device
    // to it (and sets the viewport to the whole of it); a size of 0 (a
    // minimised window) keeps the old back buffer. False when a reset failed.
    bool ResizeBackBuffer(int width, int height, FontRegistry& fonts);
    // Whether frames can be drawn: asks the device, and when it has been
    // given back after a loss, resets it. While it is lost it says no: the
    // caller skips the frame and asks again later.
    bool RecoverDevice(FontRegistry& fonts);
    void ReleaseDevice();
    IDirect3DDevice8* Device() const { return device; }

    // Texture slot of the file (loaded on first use), or -1.
    int LoadTexture(const char* fileName);

    // The back buffer shown in the window with GDI; false when it cannot be.
    bool CopyBackBufferToWindow();

  private:
    // The system-memory copy of the back buffer (made or remade to its size
    // and format), or null when that format has no GDI form.
    IDirect3DSurface8* Readback(IDirect3DSurface8* back);
    // The kept picture drawn in the window with GDI: all of it, or the part.
    bool ShowReadback(const RECT* part);

  public:
  private:
    // The hidden window the device belongs to when frames go through GDI.
    HWND CreateDeviceWindow();
    HWND deviceWindow_ = nullptr;

  public:
    // Map view drawing (MapView.cpp). Bind results: 1 without a device, else 0.
    int BindTexture(TextureRecord* record, DWORD stage);
    int BindTextureByIndex(int index, DWORD stage);
    void DrawTexturedRect(const ScreenRect& rect, int index, const TexCoordRect& set1);
    void DrawTexturedQuad(const CornerPoint corners[4], int index);

  private:
    // The device states a reset puts back to their defaults, read before the
    // first reset attempt and written after the one that succeeds.
    struct KeptStates
    {
        bool saved = false;
        std::vector<DWORD> renderStates;
        std::vector<DWORD> stageStates;
        D3DMATERIAL8 material;
    };

    void SetProjection(float farPlane);
    bool ResetDevice(int width, int height, FontRegistry& fonts);
    void SaveStates();
    void RestoreStates();

    D3DPRESENT_PARAMETERS presentation_ = {};
    float farPlane_ = 1000.0f;
    KeptStates kept_;
};

#endif
