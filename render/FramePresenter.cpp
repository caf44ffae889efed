// Frames of the map view shown in the window (see FramePresenter.h).
#include "render/FramePresenter.h"

#include "render/Renderer.h"
#include "text/DiagnosticLog.h"

void FramePresenter::Release()
{
    inProgress_ = false;
    pictureKept_ = false;
    kept_.Forget();
    if (readback_)
    {
        readback_->Release();
        readback_ = nullptr;
    }
}

KeptFrame::Plan FramePresenter::Plan(const FrameInputs& in) const
{
    // Without a kept picture there is nothing to draw a part into.
    if (!pictureKept_)
        return KeptFrame::Plan();
    return kept_.Compare(renderer_, in.fonts, in.statusFont, in.view, in.document, in.band,
                         in.outline);
}

void FramePresenter::ShowFrame(const FrameInputs& in, FrameScene& scene, const RECT* update,
                               const ObjectsDeadline* slice)
{
    // A lost device draws nothing until it is given back and reset.
    if (!renderer_.RecoverDevice(in.fonts))
    {
        inProgress_ = false;
        return;
    }
    // The window shows the last complete picture until the frame is done.
    if (inProgress_)
    {
        ShowKeptPicture(update);
        return;
    }
    const KeptFrame::Plan plan = Plan(in);
    if (plan.redraw == KeptFrame::Nothing && ShowKeptPicture(update))
        return;
    if (plan.redraw == KeptFrame::Part)
    {
        ViewArea parts[KeptFrame::MostParts];
        for (int i = 0; i < plan.partCount; ++i)
            parts[i] = {(float)plan.parts[i].left, (float)plan.parts[i].top,
                        (float)plan.parts[i].right, (float)plan.parts[i].bottom};
        scene.BeginScene(parts, plan.partCount);
        scene.DrawSceneObjects(nullptr);
        scene.FinishScene();
        if (EndPartFrame(plan.parts, plan.partCount))
        {
            kept_.Keep(renderer_, in.fonts, in.statusFont, in.view, in.document, in.band,
                       in.outline);
            // The system may have uncovered more than the parts (and, where
            // no compositor keeps the window's pixels, lost what was there).
            if (update)
                ShowReadback(update);
            return;
        }
    }
    scene.BeginScene(nullptr, 0);
    if (!scene.DrawSceneObjects(slice))
    {
        // The rest in later slices; the scene is ended between them.
        renderer_.EndFrame();
        inProgress_ = true;
        ++statistics_.framesSliced;
        if (update)
            ShowKeptPicture(update);
        return;
    }
    scene.FinishScene();
    EndWholeFrame(in);
}

bool FramePresenter::ContinueFrame(const FrameInputs& in, FrameScene& scene,
                                   const ObjectsDeadline* slice)
{
    if (!inProgress_)
        return false;
    if (!renderer_.Device() || renderer_.DeviceLost())
    {
        AbandonFrame();
        return false;
    }
    renderer_.ResumeFrame();
    if (!scene.DrawSceneObjects(slice))
    {
        renderer_.EndFrame();
        return true;
    }
    inProgress_ = false;
    scene.FinishScene();
    EndWholeFrame(in);
    return false;
}

void FramePresenter::AbandonFrame()
{
    if (!inProgress_)
        return;
    inProgress_ = false;
    ++statistics_.framesAbandoned;
}

void FramePresenter::EndWholeFrame(const FrameInputs& in)
{
    EndFrame();
    // A frame presented leaves no picture to keep.
    if (pictureKept_)
        kept_.Keep(renderer_, in.fonts, in.statusFont, in.view, in.document, in.band, in.outline);
    else
        kept_.Forget();
}

void FramePresenter::EndFrame()
{
    IDirect3DDevice8* device = renderer_.Device();
    if (!device)
        return;
    renderer_.EndFrame();
    pictureKept_ = CopyBackBufferToWindow();
    if (pictureKept_)
    {
        ++statistics_.framesShown;
        return;
    }
    PresentIntoWindow();
}

void FramePresenter::PresentIntoWindow()
{
    IDirect3DDevice8* device = renderer_.Device();
    if (!copyFailureNoted_)
    {
        copyFailureNoted_ = true;
        AppendLogLine("The back buffer could not be copied to the view; frames are presented "
                      "into it instead.");
    }
    // Present the current client rectangle into the view (never into the
    // device's hidden window): the back buffer follows the client area
    // through WM_SIZE, but a minimised window keeps the old one.
    RECT client = {0, 0, 0, 0};
    GetClientRect(window_, &client);
    const HRESULT presented = device->Present(&client, &client, window_, nullptr);
    if (presented == D3DERR_DEVICELOST)
        renderer_.NoteDeviceLost();
    else if (SUCCEEDED(presented))
    {
        ++statistics_.framesShown;
        ++statistics_.framesPresented;
    }
}

IDirect3DSurface8* FramePresenter::Readback(IDirect3DSurface8* back)
{
    D3DSURFACE_DESC desc;
    if (FAILED(back->GetDesc(&desc)))
        return nullptr;
    const bool fourBytes = desc.Format == D3DFMT_X8R8G8B8 || desc.Format == D3DFMT_A8R8G8B8;
    const bool twoBytes = desc.Format == D3DFMT_R5G6B5 || desc.Format == D3DFMT_X1R5G5B5;
    if (!fourBytes && !twoBytes)
        return nullptr;
    D3DSURFACE_DESC kept;
    if (readback_ && (FAILED(readback_->GetDesc(&kept)) || kept.Width != desc.Width ||
                      kept.Height != desc.Height || kept.Format != desc.Format))
    {
        readback_->Release();
        readback_ = nullptr;
    }
    if (!readback_ && FAILED(renderer_.Device()->CreateImageSurface(desc.Width, desc.Height,
                                                                    desc.Format, &readback_)))
        readback_ = nullptr;
    return readback_;
}

bool FramePresenter::ShowReadback(const RECT* part)
{
    D3DSURFACE_DESC desc;
    D3DLOCKED_RECT locked;
    if (!readback_ || FAILED(readback_->GetDesc(&desc)) ||
        FAILED(readback_->LockRect(&locked, nullptr, D3DLOCK_READONLY)))
        return false;
    // The rows shown (all, or those of the part) as a top-down DIB over the
    // locked rows (a row is `Pitch` bytes).
    RECT client = {0, 0, 0, 0};
    GetClientRect(window_, &client);
    // Only the view's part of the back buffer is the frame.
    RECT shown = {0, 0, (LONG)desc.Width, (LONG)desc.Height};
    const RECT view = {0, 0, renderer_.Width(), renderer_.Height()};
    IntersectRect(&shown, &shown, &view);
    if (part)
        IntersectRect(&shown, &shown, part);
    IntersectRect(&shown, &shown, &client);
    struct
    {
        BITMAPINFOHEADER header;
        DWORD masks[3];
    } info;
    ZeroMemory(&info, sizeof(info));
    const int bytes = desc.Format == D3DFMT_X8R8G8B8 || desc.Format == D3DFMT_A8R8G8B8 ? 4 : 2;
    const LONG rows = shown.bottom - shown.top;
    info.header.biSize = sizeof(info.header);
    info.header.biWidth = locked.Pitch / bytes;
    info.header.biHeight = -rows;
    info.header.biPlanes = 1;
    info.header.biBitCount = (WORD)(bytes * 8);
    info.header.biCompression = desc.Format == D3DFMT_R5G6B5 ? BI_BITFIELDS : BI_RGB;
    info.masks[0] = 0xF800;
    info.masks[1] = 0x07E0;
    info.masks[2] = 0x001F;
    bool drawn = IsRectEmpty(&shown) != FALSE; // nothing of it in the window
    if (!drawn)
    {
        const BYTE* firstRow = (const BYTE*)locked.pBits + (size_t)shown.top * locked.Pitch;
        HDC dc = GetDC(window_);
        drawn =
            dc && SetDIBitsToDevice(dc, shown.left, shown.top, (DWORD)(shown.right - shown.left),
                                    (DWORD)rows, shown.left, 0, 0, (UINT)rows, firstRow,
                                    (BITMAPINFO*)&info, DIB_RGB_COLORS) != 0;
        if (dc)
            ReleaseDC(window_, dc);
    }
    readback_->UnlockRect();
    return drawn;
}

bool FramePresenter::CopyBackBufferToWindow()
{
    IDirect3DDevice8* device = renderer_.Device();
    IDirect3DSurface8* back = nullptr;
    if (FAILED(device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back)))
        return false;
    IDirect3DSurface8* copy = Readback(back);
    D3DSURFACE_DESC desc = {};
    bool shown = copy && SUCCEEDED(back->GetDesc(&desc));
    if (shown)
    {
        // The view's part of the back buffer (all of it, unless the view shrank).
        RECT view = {0, 0, renderer_.Width(), renderer_.Height()};
        const RECT whole = {0, 0, (LONG)desc.Width, (LONG)desc.Height};
        const POINT at = {0, 0};
        shown = IntersectRect(&view, &view, &whole) &&
                SUCCEEDED(device->CopyRects(back, &view, 1, copy, &at)) && ShowReadback(nullptr);
    }
    back->Release();
    return shown;
}

bool FramePresenter::EndPartFrame(const RECT* parts, int count)
{
    IDirect3DDevice8* device = renderer_.Device();
    if (!device)
        return false;
    renderer_.EndFrame();
    IDirect3DSurface8* back = nullptr;
    if (!readback_ || count <= 0 ||
        FAILED(device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back)))
        return false;
    // Only the parts are right in the back buffer: they go into the kept
    // picture, which is the frame from here on, and to the window, which
    // shows the kept picture everywhere else already.
    D3DSURFACE_DESC desc = {};
    bool copied = Readback(back) == readback_ && SUCCEEDED(back->GetDesc(&desc));
    const RECT whole = {0, 0, (LONG)desc.Width, (LONG)desc.Height};
    for (int i = 0; copied && i < count; ++i)
    {
        RECT part;
        if (!IntersectRect(&part, &parts[i], &whole))
            continue;
        const POINT at = {part.left, part.top};
        copied =
            SUCCEEDED(device->CopyRects(back, &part, 1, readback_, &at)) && ShowReadback(&part);
    }
    back->Release();
    pictureKept_ = copied;
    if (copied)
        ++statistics_.framesShown;
    return copied;
}

bool FramePresenter::ShowKeptPicture(const RECT* region)
{
    if (!renderer_.Device() || !pictureKept_ || !ShowReadback(region))
        return false;
    ++statistics_.framesShown;
    return true;
}
