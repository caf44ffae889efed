// The numbered texture-stage setups of the view: for each preset the exact
// list of device calls it makes, in order, read by one loop. Presets 0 to 6
// and 9 exist; any other number changes nothing. The map asks for preset 2
// before it draws (stage 0 passes the colormap on, stage 1 multiplies the
// heightmap in); every texture binding asks for its record's preset, which is
// always 0 and so, matching currentPreset, never reaches the device.
#include "render/Renderer.h"

namespace
{
struct PresetCall
{
    enum Target
    {
        Stage,  // SetTextureStageState(stage, state, value)
        Render, // SetRenderState(state, value)
    } target;
    DWORD stage;
    DWORD state;
    DWORD value;
};

// Texture modulated by the vertex colour on stage 0; stage 1's operations
// are switched off and its colour operation then set to modulate again, so
// it ends with colour on and alpha off.
const PresetCall kPreset0[] = {
    {PresetCall::Stage, 0, D3DTSS_COLOROP, D3DTOP_MODULATE},
    {PresetCall::Stage, 0, D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {PresetCall::Stage, 0, D3DTSS_COLORARG2, D3DTA_DIFFUSE},
    {PresetCall::Stage, 0, D3DTSS_ALPHAOP, D3DTOP_MODULATE},
    {PresetCall::Stage, 0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE},
    {PresetCall::Stage, 0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE},
    {PresetCall::Stage, 1, D3DTSS_COLOROP, D3DTOP_DISABLE},
    {PresetCall::Stage, 1, D3DTSS_ALPHAOP, D3DTOP_DISABLE},
    {PresetCall::Stage, 1, D3DTSS_COLOROP, D3DTOP_MODULATE},
    {PresetCall::Stage, 1, D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {PresetCall::Stage, 1, D3DTSS_COLORARG2, D3DTA_CURRENT},
};

// Stage 1's alpha modulated in; its colour operation is left as it was.
const PresetCall kPreset1[] = {
    {PresetCall::Stage, 1, D3DTSS_MAGFILTER, D3DTEXF_LINEAR},
    {PresetCall::Stage, 1, D3DTSS_MINFILTER, D3DTEXF_LINEAR},
    {PresetCall::Stage, 1, D3DTSS_MIPFILTER, D3DTEXF_LINEAR},
    {PresetCall::Stage, 0, D3DTSS_COLOROP, D3DTOP_MODULATE},
    {PresetCall::Stage, 0, D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {PresetCall::Stage, 0, D3DTSS_COLORARG2, D3DTA_DIFFUSE},
    {PresetCall::Stage, 0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1},
    {PresetCall::Stage, 0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE},
    {PresetCall::Stage, 1, D3DTSS_ALPHAOP, D3DTOP_MODULATE},
    {PresetCall::Stage, 1, D3DTSS_ALPHAARG1, D3DTA_TEXTURE},
    {PresetCall::Stage, 1, D3DTSS_ALPHAARG2, D3DTA_CURRENT},
};

// Presets 2 to 6 leave the alpha operations of both stages alone.
const PresetCall kPreset2[] = {
    {PresetCall::Stage, 1, D3DTSS_MAGFILTER, D3DTEXF_LINEAR},
    {PresetCall::Stage, 1, D3DTSS_MINFILTER, D3DTEXF_LINEAR},
    {PresetCall::Stage, 1, D3DTSS_MIPFILTER, D3DTEXF_LINEAR},
    {PresetCall::Stage, 0, D3DTSS_COLOROP, D3DTOP_SELECTARG1},
    {PresetCall::Stage, 0, D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {PresetCall::Stage, 1, D3DTSS_COLOROP, D3DTOP_MODULATE},
    {PresetCall::Stage, 1, D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {PresetCall::Stage, 1, D3DTSS_COLORARG2, D3DTA_CURRENT},
};

const PresetCall kPreset3[] = {
    {PresetCall::Stage, 1, D3DTSS_MAGFILTER, D3DTEXF_LINEAR},
    {PresetCall::Stage, 1, D3DTSS_MINFILTER, D3DTEXF_LINEAR},
    {PresetCall::Stage, 1, D3DTSS_MIPFILTER, D3DTEXF_LINEAR},
    {PresetCall::Stage, 0, D3DTSS_COLOROP, D3DTOP_SELECTARG1},
    {PresetCall::Stage, 0, D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {PresetCall::Stage, 0, D3DTSS_TEXCOORDINDEX, 0},
    {PresetCall::Stage, 1, D3DTSS_COLOROP, D3DTOP_ADD},
    {PresetCall::Stage, 1, D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {PresetCall::Stage, 1, D3DTSS_COLORARG2, D3DTA_CURRENT},
    {PresetCall::Stage, 1, D3DTSS_TEXCOORDINDEX, 1},
};

const PresetCall kPreset4[] = {
    {PresetCall::Stage, 1, D3DTSS_MAGFILTER, D3DTEXF_LINEAR},
    {PresetCall::Stage, 1, D3DTSS_MINFILTER, D3DTEXF_LINEAR},
    {PresetCall::Stage, 1, D3DTSS_MIPFILTER, D3DTEXF_LINEAR},
    {PresetCall::Stage, 0, D3DTSS_COLOROP, D3DTOP_SELECTARG1},
    {PresetCall::Stage, 0, D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {PresetCall::Stage, 1, D3DTSS_COLOROP, D3DTOP_MODULATE2X},
    {PresetCall::Stage, 1, D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {PresetCall::Stage, 1, D3DTSS_COLORARG2, D3DTA_CURRENT},
};

const PresetCall kPreset5[] = {
    {PresetCall::Stage, 1, D3DTSS_MAGFILTER, D3DTEXF_LINEAR},
    {PresetCall::Stage, 1, D3DTSS_MINFILTER, D3DTEXF_LINEAR},
    {PresetCall::Stage, 1, D3DTSS_MIPFILTER, D3DTEXF_ANISOTROPIC},
    {PresetCall::Stage, 0, D3DTSS_COLOROP, D3DTOP_MODULATE},
    {PresetCall::Stage, 0, D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {PresetCall::Stage, 0, D3DTSS_COLORARG2, D3DTA_DIFFUSE},
    {PresetCall::Stage, 1, D3DTSS_COLOROP, D3DTOP_ADD},
    {PresetCall::Stage, 1, D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {PresetCall::Stage, 1, D3DTSS_COLORARG2, D3DTA_CURRENT},
};

const PresetCall kPreset6[] = {
    {PresetCall::Stage, 1, D3DTSS_MAGFILTER, D3DTEXF_LINEAR},
    {PresetCall::Stage, 1, D3DTSS_MINFILTER, D3DTEXF_LINEAR},
    {PresetCall::Stage, 1, D3DTSS_MIPFILTER, D3DTEXF_LINEAR},
    {PresetCall::Stage, 0, D3DTSS_COLOROP, D3DTOP_SELECTARG1},
    {PresetCall::Stage, 0, D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {PresetCall::Stage, 0, D3DTSS_TEXCOORDINDEX, 0},
    {PresetCall::Stage, 1, D3DTSS_COLOROP, D3DTOP_ADDSIGNED},
    {PresetCall::Stage, 1, D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {PresetCall::Stage, 1, D3DTSS_COLORARG2, D3DTA_CURRENT},
    {PresetCall::Stage, 1, D3DTSS_TEXCOORDINDEX, 1},
};

// The only preset that touches the frame-buffer blend: source colour times
// source alpha, and nothing of what lies below (D3DBLEND_ZERO, not the
// inverse source alpha that start-up sets). Stage 0's texture-coordinate
// index is left as it was.
const PresetCall kPreset9[] = {
    {PresetCall::Stage, 1, D3DTSS_MAGFILTER, D3DTEXF_LINEAR},
    {PresetCall::Stage, 1, D3DTSS_MINFILTER, D3DTEXF_LINEAR},
    {PresetCall::Stage, 1, D3DTSS_MIPFILTER, D3DTEXF_ANISOTROPIC},
    {PresetCall::Stage, 0, D3DTSS_COLOROP, D3DTOP_MODULATE},
    {PresetCall::Stage, 0, D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {PresetCall::Stage, 0, D3DTSS_COLORARG2, D3DTA_DIFFUSE},
    {PresetCall::Stage, 0, D3DTSS_ALPHAOP, D3DTOP_MODULATE},
    {PresetCall::Stage, 0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE},
    {PresetCall::Stage, 0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE},
    {PresetCall::Stage, 1, D3DTSS_TEXCOORDINDEX, 1},
    {PresetCall::Stage, 1, D3DTSS_COLOROP, D3DTOP_SELECTARG2},
    {PresetCall::Stage, 1, D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {PresetCall::Stage, 1, D3DTSS_COLORARG2, D3DTA_CURRENT},
    {PresetCall::Stage, 1, D3DTSS_ALPHAOP, D3DTOP_ADDSIGNED},
    {PresetCall::Stage, 1, D3DTSS_ALPHAARG1, D3DTA_TEXTURE | D3DTA_COMPLEMENT},
    {PresetCall::Stage, 1, D3DTSS_ALPHAARG2, D3DTA_CURRENT},
    {PresetCall::Render, 0, D3DRS_ALPHABLENDENABLE, TRUE},
    {PresetCall::Render, 0, D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
    {PresetCall::Render, 0, D3DRS_DESTBLEND, D3DBLEND_ZERO},
};

struct Preset
{
    int number;
    const PresetCall* calls;
    size_t count;
};

template <size_t N> constexpr Preset Entry(int number, const PresetCall (&calls)[N])
{
    return {number, calls, N};
}

const Preset kPresets[] = {
    Entry(0, kPreset0), Entry(1, kPreset1), Entry(2, kPreset2), Entry(3, kPreset3),
    Entry(4, kPreset4), Entry(5, kPreset5), Entry(6, kPreset6), Entry(9, kPreset9),
};

const Preset* FindPreset(int number)
{
    for (const Preset& preset : kPresets)
        if (preset.number == number)
            return &preset;
    return nullptr;
}
} // namespace

void TextureTable::ApplyPreset(int preset, bool force)
{
    // currentPreset is compared, never changed: it stays 0 for the whole run,
    // so only unforced requests for preset 0 are skipped.
    if (preset == currentPreset && !force)
        return;
    const Preset* found = FindPreset(preset);
    IDirect3DDevice8* device = renderer ? renderer->Device() : nullptr;
    if (!found || !device)
        return;
    for (size_t i = 0; i < found->count; ++i)
    {
        const PresetCall& call = found->calls[i];
        if (call.target == PresetCall::Stage)
            device->SetTextureStageState(call.stage, (D3DTEXTURESTAGESTATETYPE)call.state,
                                         call.value);
        else
            device->SetRenderState((D3DRENDERSTATETYPE)call.state, call.value);
    }
}
