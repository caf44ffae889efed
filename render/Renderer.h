// The Direct3D 8 object and device that everything is drawn through, the
// texture table, the background colour, and the quad-drawing operations of
// the map view. Renderer is the first part of the one EditorApp.
#ifndef MAPEDITOR_RENDERER_H
#define MAPEDITOR_RENDERER_H

#include <windows.h>
#include <d3d8.h>

#include "render/TextureTable.h"
#include "render/VertexRing.h"
#include "render/ViewGeometry.h" // ScreenRect, TexCoordRect, CornerPoint, ViewArea

class Renderer
{
  public:
    IDirect3D8* direct3d = nullptr;
    IDirect3DDevice8* device = nullptr;
    HWND window = nullptr;
    int clientWidth = 0; // client size at creation = back-buffer size
    int clientHeight = 0;
    TextureTable textures;
    VertexRing frameVertices; // what the batched map view streams its quads through
    int backgroundRed = 0;    // only the low 8 bits of each component count
    int backgroundGreen = 0;
    int backgroundBlue = 0;

    // Name of the step at which the last CreateDevice failed, or null.
    const char* failedStep = nullptr;

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
    void EndFrame();
    void ReleaseDevice();
    IDirect3DDevice8* Device() const { return device; }

    // Texture slot of the file (loaded on first use), or -1.
    int LoadTexture(const char* fileName);

    // Map view drawing (MapView.cpp). Bind results: 1 without a device, else 0.
    int BindTexture(TextureRecord* record, DWORD stage);
    int BindTextureByIndex(int index, DWORD stage);
    void DrawTexturedRect(const ScreenRect& rect, int index, const TexCoordRect& set1);
    void DrawTexturedQuad(const CornerPoint corners[4], int index);
};

#endif
