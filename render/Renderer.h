// The Direct3D 8 object and device that everything is drawn through, the
// texture table, the background colour, and the quad-drawing operations of
// the map view. How a frame reaches the window is FramePresenter's.
#ifndef MAPEDITOR_RENDERER_H
#define MAPEDITOR_RENDERER_H

#include <windows.h>
#include <d3d8.h>

#include <vector>

#include "document/FileSystem.h"
#include "render/TextureTable.h"
#include "render/VertexRing.h"
#include "render/ViewGeometry.h" // ScreenRect, TexCoordRect, CornerPoint, ViewArea

class FontRegistry;

class Renderer
{
  public:
    Renderer() = default;
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;
    ~Renderer() { ReleaseDevice(); }

    // 0 on success, 1 on failure (FailedStep then names the step). The back
    // buffer takes the window's client size. The device belongs to a hidden
    // window of its own: frames reach `window` through FramePresenter (a
    // window that holds a Direct3D surface under Wine takes no GDI drawing).
    int CreateDevice(HWND window, float farPlane);
    void ResizeViewport(unsigned x, unsigned y, unsigned width, unsigned height);
    // The pixels a draw can change: the viewport within the back buffer.
    ViewArea VisibleArea() const;
    // Clear to the background colour, BeginScene.
    void BeginFrame();
    // EndScene; FramePresenter shows the frame.
    void EndFrame();
    // BeginScene again for the next slice of a frame (FramePresenter): the
    // back buffer keeps what the earlier slices drew.
    void ResumeFrame();

    // Device loss and size changes (DeviceReset.cpp). The fonts are the ones
    // made on this device: their default-pool resources go before the reset
    // and come back after it.
    // The view follows the client area: a new size becomes the viewport and
    // the size frames are drawn at. The back buffer is at least that big: a
    // view that grows past it resets the device to the larger of the two
    // sizes in each direction, one that shrinks only narrows the viewport (a
    // reset costs the driver its state: under Wine the first draw of the map
    // after one stalls for 200-300 ms). A size of 0 (a minimised window)
    // keeps the old view. False when a reset failed.
    bool ResizeBackBuffer(int width, int height, FontRegistry& fonts);
    // Whether frames can be drawn: asks the device, and when it has been
    // given back after a loss, resets it. While it is lost it says no: the
    // caller skips the frame and asks again later.
    bool RecoverDevice(FontRegistry& fonts);
    // Present found the device lost: no frame is drawn until RecoverDevice
    // has it back.
    void NoteDeviceLost() { deviceLost_ = true; }
    void ReleaseDevice();
    // A renderer with a texture table of its own on another renderer's
    // device (the texture tests): the device is drawn with, never released
    // here; null gives it back.
    void BorrowDevice(IDirect3DDevice8* device)
    {
        device_ = device;
        if (device)
            textures_.renderer = this;
    }

    IDirect3DDevice8* Device() const { return device_; }
    IDirect3D8* Direct3D() const { return direct3d_; }
    // The window the frames are drawn for.
    HWND Window() const { return window_; }
    // The view's size (the viewport), the client area's at creation or last
    // resize: what frames are drawn at and shown from the top left corner
    // of the back buffer, which may be larger.
    int Width() const { return clientWidth_; }
    int Height() const { return clientHeight_; }
    int BackBufferWidth() const { return (int)presentation_.BackBufferWidth; }
    int BackBufferHeight() const { return (int)presentation_.BackBufferHeight; }
    TextureTable& Textures() { return textures_; }
    const TextureTable& Textures() const { return textures_; }
    // What the batched map view streams its quads through.
    VertexRing& FrameVertices() { return frameVertices_; }
    // Waits until the device has drawn everything sent so far, by reading
    // one pixel of the back buffer back. Under Wine the draws are queued to
    // the device's thread and binned by the rasteriser until something
    // needs their pixels, and the memory they hold meanwhile grows with
    // everything sent: a frame of very many objects waits after every
    // segment, so that the memory stays bounded and a slice of the frame
    // ends when its drawing does.
    void WaitForDrawing();
    // Name of the step at which the last CreateDevice failed, or null.
    const char* FailedStep() const { return failedStep_; }
    // Present reported the device lost, or a reset failed.
    bool DeviceLost() const { return deviceLost_; }
    // Changes at every BeginFrame, reset and release: a picture kept from
    // the back buffer is the one a caller drew only while this is what it
    // read after the frame's end.
    unsigned FrameSerial() const { return frameSerial_; }

    // The colour frames are cleared to; only the low 8 bits of each
    // component count.
    void SetBackground(int red, int green, int blue);
    D3DCOLOR BackgroundColour() const;

    // Texture slot of the file (loaded on first use), or -1. Image files are
    // read through the file system given here (none: nothing loads), the
    // one the document reads its other files through.
    int LoadTexture(const char* fileName);
    void ReadFilesThrough(FileSystem* files) { files_ = files; }
    FileSystem* Files() const { return files_; }

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

    // The hidden window the device belongs to.
    HWND CreateDeviceWindow();
    void SetProjection(float farPlane);
    // Resets to a back buffer of this size (at least the view's).
    bool ResetDevice(int width, int height, FontRegistry& fonts);
    void SaveStates();
    void RestoreStates();

    IDirect3D8* direct3d_ = nullptr;
    IDirect3DDevice8* device_ = nullptr;
    HWND window_ = nullptr;
    HWND deviceWindow_ = nullptr;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    TextureTable textures_;
    FileSystem* files_ = nullptr;
    VertexRing frameVertices_;
    IDirect3DSurface8* drawnPixel_ = nullptr; // WaitForDrawing's copy
    int background_[3] = {0, 0, 0};
    const char* failedStep_ = nullptr;
    bool deviceLost_ = false;
    unsigned frameSerial_ = 0;
    D3DPRESENT_PARAMETERS presentation_ = {};
    float farPlane_ = 1000.0f;
    KeptStates kept_;
};

#endif
