// Keeping the device drawable: a back buffer that follows the client area,
// and a device that is given back after it was lost. Both go through Reset,
// which drops every default-pool resource's claim (they must all be released
// first: the fonts' vertex buffers and state blocks, the frame's vertex
// buffers) and puts every device state back to its default. The managed
// textures (the texture table's, the fonts' glyphs) survive it. What creation
// and start-up set, and what the editor's drawing left, is read back before
// and written again after: render states, texture-stage states, the
// material; the projection is made again for the new size and the viewport
// covers the new back buffer.
#include "render/Renderer.h"

#include "text/FontRegistry.h"

namespace
{
// Every render state Direct3D 8 defines, less those a windowed device
// created for software vertex processing cannot take back (the vertex
// processing switch, the debug monitor token, z visibility).
const D3DRENDERSTATETYPE kRenderStates[] = {
    D3DRS_ZENABLE,
    D3DRS_FILLMODE,
    D3DRS_SHADEMODE,
    D3DRS_LINEPATTERN,
    D3DRS_ZWRITEENABLE,
    D3DRS_ALPHATESTENABLE,
    D3DRS_LASTPIXEL,
    D3DRS_SRCBLEND,
    D3DRS_DESTBLEND,
    D3DRS_CULLMODE,
    D3DRS_ZFUNC,
    D3DRS_ALPHAREF,
    D3DRS_ALPHAFUNC,
    D3DRS_DITHERENABLE,
    D3DRS_ALPHABLENDENABLE,
    D3DRS_FOGENABLE,
    D3DRS_SPECULARENABLE,
    D3DRS_FOGCOLOR,
    D3DRS_FOGTABLEMODE,
    D3DRS_FOGSTART,
    D3DRS_FOGEND,
    D3DRS_FOGDENSITY,
    D3DRS_EDGEANTIALIAS,
    D3DRS_ZBIAS,
    D3DRS_RANGEFOGENABLE,
    D3DRS_STENCILENABLE,
    D3DRS_STENCILFAIL,
    D3DRS_STENCILZFAIL,
    D3DRS_STENCILPASS,
    D3DRS_STENCILFUNC,
    D3DRS_STENCILREF,
    D3DRS_STENCILMASK,
    D3DRS_STENCILWRITEMASK,
    D3DRS_TEXTUREFACTOR,
    D3DRS_WRAP0,
    D3DRS_WRAP1,
    D3DRS_WRAP2,
    D3DRS_WRAP3,
    D3DRS_WRAP4,
    D3DRS_WRAP5,
    D3DRS_WRAP6,
    D3DRS_WRAP7,
    D3DRS_CLIPPING,
    D3DRS_LIGHTING,
    D3DRS_AMBIENT,
    D3DRS_FOGVERTEXMODE,
    D3DRS_COLORVERTEX,
    D3DRS_LOCALVIEWER,
    D3DRS_NORMALIZENORMALS,
    D3DRS_DIFFUSEMATERIALSOURCE,
    D3DRS_SPECULARMATERIALSOURCE,
    D3DRS_AMBIENTMATERIALSOURCE,
    D3DRS_EMISSIVEMATERIALSOURCE,
    D3DRS_VERTEXBLEND,
    D3DRS_CLIPPLANEENABLE,
    D3DRS_POINTSIZE,
    D3DRS_POINTSIZE_MIN,
    D3DRS_POINTSPRITEENABLE,
    D3DRS_POINTSCALEENABLE,
    D3DRS_POINTSCALE_A,
    D3DRS_POINTSCALE_B,
    D3DRS_POINTSCALE_C,
    D3DRS_MULTISAMPLEANTIALIAS,
    D3DRS_MULTISAMPLEMASK,
    D3DRS_PATCHEDGESTYLE,
    D3DRS_PATCHSEGMENTS,
    D3DRS_POINTSIZE_MAX,
    D3DRS_INDEXEDVERTEXBLENDENABLE,
    D3DRS_COLORWRITEENABLE,
    D3DRS_TWEENFACTOR,
    D3DRS_BLENDOP,
    D3DRS_POSITIONORDER,
    D3DRS_NORMALORDER,
};

// Texture-stage states are numbered 1 to 28; 12 is not one (Wine's device
// faults when asked for it).
const DWORD kLastStageState = D3DTSS_RESULTARG;
const DWORD kUnusedStageState = 12;
const DWORD kStages = 8;
} // namespace

void Renderer::SaveStates()
{
    if (kept_.saved)
        return;
    kept_.renderStates.clear();
    for (D3DRENDERSTATETYPE state : kRenderStates)
    {
        DWORD value = 0;
        device_->GetRenderState(state, &value);
        kept_.renderStates.push_back(value);
    }
    kept_.stageStates.clear();
    for (DWORD stage = 0; stage < kStages; ++stage)
        for (DWORD state = 1; state <= kLastStageState; ++state)
        {
            DWORD value = 0;
            if (state != kUnusedStageState)
                device_->GetTextureStageState(stage, (D3DTEXTURESTAGESTATETYPE)state, &value);
            kept_.stageStates.push_back(value);
        }
    ZeroMemory(&kept_.material, sizeof(kept_.material));
    device_->GetMaterial(&kept_.material);
    kept_.saved = true;
}

void Renderer::RestoreStates()
{
    for (size_t i = 0; i < sizeof(kRenderStates) / sizeof(kRenderStates[0]); ++i)
        device_->SetRenderState(kRenderStates[i], kept_.renderStates[i]);
    size_t next = 0;
    for (DWORD stage = 0; stage < kStages; ++stage)
        for (DWORD state = 1; state <= kLastStageState; ++state, ++next)
            if (state != kUnusedStageState)
                device_->SetTextureStageState(stage, (D3DTEXTURESTAGESTATETYPE)state,
                                              kept_.stageStates[next]);
    device_->SetMaterial(&kept_.material);
    kept_.saved = false;
}

bool Renderer::ResetDevice(int width, int height, FontRegistry& fonts)
{
    SaveStates();   // kept from before the first attempt until one succeeds
    ++frameSerial_; // the back buffer's pixels go with the reset
    fonts.ReleaseDeviceResources();
    frameVertices_.Release();
    if (drawnPixel_)
        drawnPixel_->Release();
    drawnPixel_ = nullptr;
    // Nothing default-pool may stay bound either.
    device_->SetStreamSource(0, nullptr, 0);
    device_->SetIndices(nullptr, 0);

    D3DPRESENT_PARAMETERS params = presentation_;
    params.BackBufferWidth = (UINT)width;
    params.BackBufferHeight = (UINT)height;
    if (FAILED(device_->Reset(&params)))
    {
        // Still lost (or refused): RecoverDevice tries again on later frames.
        deviceLost_ = true;
        return false;
    }
    presentation_ = params;
    deviceLost_ = false;

    RestoreStates();
    SetProjection(farPlane_);
    ResizeViewport(0, 0, (unsigned)clientWidth_, (unsigned)clientHeight_);
    fonts.RestoreDeviceResources();
    return true;
}

bool Renderer::ResizeBackBuffer(int width, int height, FontRegistry& fonts)
{
    if (!device_)
        return false;
    // A minimised window has no client area, and no back buffer can be made
    // that small: keep the old one until the window is restored.
    if (width <= 0 || height <= 0)
        return true;
    const int backWidth = BackBufferWidth(), backHeight = BackBufferHeight();
    const bool changed = width != clientWidth_ || height != clientHeight_;
    clientWidth_ = width;
    clientHeight_ = height;
    if (width <= backWidth && height <= backHeight && !deviceLost_)
    {
        if (changed)
            SetProjection(farPlane_);
        ResizeViewport(0, 0, (unsigned)width, (unsigned)height);
        return true;
    }
    return ResetDevice(width > backWidth ? width : backWidth,
                       height > backHeight ? height : backHeight, fonts);
}

bool Renderer::RecoverDevice(FontRegistry& fonts)
{
    if (!device_)
        return false;
    const HRESULT state = device_->TestCooperativeLevel();
    if (state == D3DERR_DEVICELOST)
    {
        // Not ours to reset yet (another program holds the display, the
        // screen is locked, ...): skip frames until it is given back. The
        // caller asks again a little later.
        deviceLost_ = true;
        return false;
    }
    if (state == D3D_OK && !deviceLost_)
        return true;
    // D3DERR_DEVICENOTRESET, or a loss seen by Present or a reset that failed.
    // (A reset that failed while the view grew left the old back buffer.)
    return ResetDevice(clientWidth_ > BackBufferWidth() ? clientWidth_ : BackBufferWidth(),
                       clientHeight_ > BackBufferHeight() ? clientHeight_ : BackBufferHeight(),
                       fonts);
}
