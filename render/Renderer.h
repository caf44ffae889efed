// The Direct3D 8 object and device that everything is drawn through, the
// texture table, the background colour, and the quad-drawing operations of
// the map view. Renderer is the first part of the one EditorApp.
#ifndef MAPEDITOR_RENDERER_H
#define MAPEDITOR_RENDERER_H

#include <windows.h>
#include <d3d8.h>

#include "render/TextureTable.h"
#include "render/ViewGeometry.h" // ScreenRect, TexCoordRect, CornerPoint

class Renderer
{
  public:
    IDirect3D8* direct3d = nullptr;
    IDirect3DDevice8* device = nullptr;
    HWND window = nullptr;
    int clientWidth = 0; // client size at creation = back-buffer size
    int clientHeight = 0;
    TextureTable textures;
    int backgroundRed = 0; // only the low 8 bits of each component count
    int backgroundGreen = 0;
    int backgroundBlue = 0;

    // Name of the step at which the last CreateDevice failed, or null.
    const char* failedStep = nullptr;

    // Frames reach the window by GDI from a copy of the back buffer rather
    // than by Present. The view is a child window beside the docked palette
    // and the status bar, and Wine (on Xvfb with Mesa's software renderer)
    // shows nothing of a Direct3D surface in a window that is a child or has
    // children (and takes no GDI drawing into a window that holds one): the
    // device belongs to a hidden window of its own. The copy costs a
    // read-back per frame, and frames are drawn only when something changed.
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
    void BeginFrame();
    void EndFrame();
    void ReleaseDevice();
    IDirect3DDevice8* Device() const { return device; }

    // Texture slot of the file (loaded on first use), or -1.
    int LoadTexture(const char* fileName);

    // The back buffer shown in the window with GDI; false when it cannot be.
    bool CopyBackBufferToWindow();

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
};

#endif
