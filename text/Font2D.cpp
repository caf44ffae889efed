// Font2D's draw resources, measuring and drawing: the dynamic vertex buffer,
// the two state blocks that fence the text states off from the caller's, and
// the quads of a string (the glyph texture is built in Font2DGlyphs.cpp).
#include "text/Font2D.h"

#include <math.h>
#include <string.h>

#include "text/LabelStrips.h"

namespace
{
// Pre-transformed, coloured, one set of texture coordinates.
const DWORD kFontVertexFormat = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1; // 0x144
static_assert(sizeof(FontVertex) == 28, "the vertex format is 28 bytes");

const UINT kVertexBufferBytes = Font2D::VerticesPerBatch * sizeof(FontVertex); // 8400

// The text-drawing states, in the order they are recorded into both state
// blocks. The first entry binds the glyph texture to stage 0.
struct StateSetting
{
    enum Kind
    {
        Texture,
        Render,
        Stage
    } kind;
    DWORD stage;
    DWORD state;
    DWORD value;
};

const StateSetting kDrawStates[] = {
    {StateSetting::Texture, 0, 0, 0},
    {StateSetting::Render, 0, D3DRS_ALPHABLENDENABLE, TRUE},
    {StateSetting::Render, 0, D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
    {StateSetting::Render, 0, D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA},
    {StateSetting::Render, 0, D3DRS_ALPHATESTENABLE, TRUE},
    {StateSetting::Render, 0, D3DRS_ALPHAREF, 0x08},
    {StateSetting::Render, 0, D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL},
    {StateSetting::Render, 0, D3DRS_FILLMODE, D3DFILL_SOLID},
    {StateSetting::Render, 0, D3DRS_CULLMODE, D3DCULL_CCW},
    {StateSetting::Render, 0, D3DRS_ZENABLE, FALSE},
    {StateSetting::Render, 0, D3DRS_STENCILENABLE, FALSE},
    {StateSetting::Render, 0, D3DRS_CLIPPING, TRUE},
    {StateSetting::Render, 0, D3DRS_EDGEANTIALIAS, FALSE},
    {StateSetting::Render, 0, D3DRS_CLIPPLANEENABLE, 0},
    {StateSetting::Render, 0, D3DRS_VERTEXBLEND, D3DVBF_DISABLE},
    {StateSetting::Render, 0, D3DRS_INDEXEDVERTEXBLENDENABLE, FALSE},
    {StateSetting::Render, 0, D3DRS_FOGENABLE, FALSE},
    {StateSetting::Stage, 0, D3DTSS_COLOROP, D3DTOP_MODULATE},
    {StateSetting::Stage, 0, D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {StateSetting::Stage, 0, D3DTSS_COLORARG2, D3DTA_DIFFUSE},
    {StateSetting::Stage, 0, D3DTSS_ALPHAOP, D3DTOP_MODULATE},
    {StateSetting::Stage, 0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE},
    {StateSetting::Stage, 0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE},
    {StateSetting::Stage, 0, D3DTSS_MINFILTER, D3DTEXF_POINT},
    {StateSetting::Stage, 0, D3DTSS_MAGFILTER, D3DTEXF_POINT},
    {StateSetting::Stage, 0, D3DTSS_MIPFILTER, D3DTEXF_NONE},
    {StateSetting::Stage, 0, D3DTSS_TEXCOORDINDEX, 0},
    {StateSetting::Stage, 0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE},
    {StateSetting::Stage, 1, D3DTSS_COLOROP, D3DTOP_DISABLE},
    {StateSetting::Stage, 1, D3DTSS_ALPHAOP, D3DTOP_DISABLE},
};
static_assert(sizeof(kDrawStates) / sizeof(kDrawStates[0]) == 30, "thirty text states");

void SetDrawStates(IDirect3DDevice8* device, IDirect3DTexture8* glyphTexture)
{
    for (const StateSetting& setting : kDrawStates)
    {
        switch (setting.kind)
        {
        case StateSetting::Texture:
            device->SetTexture(setting.stage, glyphTexture);
            break;
        case StateSetting::Render:
            device->SetRenderState((D3DRENDERSTATETYPE)setting.state, setting.value);
            break;
        case StateSetting::Stage:
            device->SetTextureStageState(setting.stage, (D3DTEXTURESTAGESTATETYPE)setting.state,
                                         setting.value);
            break;
        }
    }
}

// Whether a position lies within rounding of a half pixel (1/64 is far more
// than the rounding of positions and texture coordinates in view).
bool OnHalfPixel(float position)
{
    return fabsf(position - floorf(position) - 0.5f) < 1.0f / 64.0f;
}

// Signed so that codes from 128 up count as below 32, as the font expects.
bool IsDrawable(char c)
{
    return (signed char)c >= 32;
}
} // namespace

Font2D::Font2D(const char* name, unsigned size, unsigned flags) : pointSize(size), styleFlags(flags)
{
    faceName[0] = '\0';
    if (name)
    {
        strncpy(faceName, name, sizeof(faceName) - 1);
        faceName[sizeof(faceName) - 1] = '\0';
    }
}

HRESULT Font2D::CreateDrawResources()
{
    if (!device)
        return E_FAIL;
    ReleaseDrawResources(); // a second call must not leak the first buffer
    HRESULT result =
        device->CreateVertexBuffer(kVertexBufferBytes, D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, 0,
                                   D3DPOOL_DEFAULT, &vertexBuffer);
    if (FAILED(result))
    {
        vertexBuffer = nullptr;
        return result;
    }
    // The same list twice: the first block only ever captures the caller's
    // values, the second holds the text states. Without both a draw could
    // neither fence the caller's states off nor give them back, so a block
    // that cannot be made undoes everything made here and its code is
    // returned. The states are only set while a recording is open: set
    // outside one they would change the caller's device states.
    DWORD* const blocks[2] = {&savedStateBlock, &drawStateBlock};
    for (DWORD* block : blocks)
    {
        result = device->BeginStateBlock();
        if (SUCCEEDED(result))
        {
            SetDrawStates(device, glyphTexture);
            result = device->EndStateBlock(block);
        }
        if (FAILED(result))
        {
            *block = 0;
            ReleaseDrawResources();
            return result;
        }
    }
    return S_OK;
}

HRESULT Font2D::ReleaseDrawResources()
{
    if (vertexBuffer)
        vertexBuffer->Release();
    vertexBuffer = nullptr;
    if (device)
    {
        if (savedStateBlock)
            device->DeleteStateBlock(savedStateBlock);
        if (drawStateBlock)
            device->DeleteStateBlock(drawStateBlock);
    }
    savedStateBlock = 0;
    drawStateBlock = 0;
    return S_OK;
}

HRESULT Font2D::ReleaseGlyphTexture()
{
    delete strips_; // its texture copies this one's
    strips_ = nullptr;
    stripsTried_ = false;
    if (glyphTexture)
        glyphTexture->Release();
    glyphTexture = nullptr;
    device = nullptr;
    return S_OK;
}

HRESULT Font2D::Teardown()
{
    ReleaseDrawResources();
    return ReleaseGlyphTexture();
}

// One row of text: the cell height of the space, in texels.
float Font2D::RowHeight() const
{
    return (glyphCoords[0][3] - glyphCoords[0][1]) * (float)textureHeight;
}

HRESULT Font2D::MeasureText(const char* text, SIZE* size) const
{
    if (!text || !size)
        return E_FAIL;
    const float row = RowHeight();
    float width = 0.0f;
    float line = 0.0f;
    float height = row;
    for (const char* p = text; *p; ++p)
    {
        if (*p == '\n')
        {
            line = 0.0f;
            height += row;
        }
        else if (IsDrawable(*p))
        {
            const float* glyph = glyphCoords[*p - 32];
            line += (glyph[2] - glyph[0]) * (float)textureWidth;
            if (line > width)
                width = line;
        }
    }
    size->cx = (LONG)width;
    size->cy = (LONG)height;
    return S_OK;
}

HRESULT Font2D::DrawString(float x, float y, D3DCOLOR colour, const char* text, DWORD flags)
{
    if (!device)
        return E_FAIL;
    // Without the buffer (draw resources never made) there is nowhere to
    // write the quads.
    if (!vertexBuffer || !text)
        return E_FAIL;

    device->CaptureStateBlock(savedStateBlock);
    device->ApplyStateBlock(drawStateBlock);
    device->SetVertexShader(kFontVertexFormat);
    device->SetStreamSource(0, vertexBuffer, sizeof(FontVertex));
    if (flags & FONT2D_FILTERED)
    {
        device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
        device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    }

    // A failed lock ends the draw with its code; nothing is written.
    const float startX = x;
    const float row = RowHeight();
    FontVertex* vertices = nullptr;
    HRESULT result = vertexBuffer->Lock(0, 0, (BYTE**)&vertices, D3DLOCK_DISCARD);
    bool locked = SUCCEEDED(result) && vertices;
    UINT triangles = 0;
    for (const char* p = text; locked && *p; ++p)
    {
        if (*p == '\n')
        {
            x = startX;
            y += row;
            continue;
        }
        if (!IsDrawable(*p))
            continue;
        const float w = PutGlyph(vertices + triangles * 3, x, y, colour, *p);
        triangles += 2;
        if (triangles * 3 > VerticesPerBatch - 6)
        {
            // The buffer is full: draw it and go on in a fresh one.
            vertexBuffer->Unlock();
            device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, triangles);
            triangles = 0;
            vertices = nullptr;
            result = vertexBuffer->Lock(0, 0, (BYTE**)&vertices, D3DLOCK_DISCARD);
            locked = SUCCEEDED(result) && vertices;
        }
        x += w;
    }
    if (locked)
    {
        vertexBuffer->Unlock();
        if (triangles > 0)
            device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, triangles);
    }
    else if (SUCCEEDED(result))
    {
        result = E_FAIL; // a lock that reported success without memory
    }

    device->ApplyStateBlock(savedStateBlock);
    return FAILED(result) ? result : S_OK;
}

float Font2D::Advance(char c) const
{
    const float* glyph = glyphCoords[c - 32];
    return (glyph[2] - glyph[0]) * (float)textureWidth / textScale;
}

float Font2D::PutGlyph(FontVertex* v, float x, float y, D3DCOLOR colour, char c) const
{
    const float* glyph = glyphCoords[c - 32];
    const float tu0 = glyph[0], tv0 = glyph[1], tu1 = glyph[2], tv1 = glyph[3];
    const float w = Advance(c);
    const float h = (tv1 - tv0) * (float)textureHeight / textScale;
    // Half a pixel left and up puts texel centres on pixel centres.
    const float left = x - 0.5f, right = x + w - 0.5f;
    const float top = y - 0.5f, bottom = y + h - 0.5f;
    v[0] = {left, bottom, 0.9f, 1.0f, colour, tu0, tv1};
    v[1] = {left, top, 0.9f, 1.0f, colour, tu0, tv0};
    v[2] = {right, bottom, 0.9f, 1.0f, colour, tu1, tv1};
    v[3] = {right, top, 0.9f, 1.0f, colour, tu1, tv0};
    v[4] = {right, bottom, 0.9f, 1.0f, colour, tu1, tv1};
    v[5] = {left, top, 0.9f, 1.0f, colour, tu0, tv0};
    return w;
}

int Font2D::PutInkedGlyph(FontVertex* v, float x, float y, D3DCOLOR colour, char c) const
{
    const float* glyph = glyphCoords[c - 32];
    const unsigned short* ink = glyphInk[c - 32];
    const float texelsWide = (float)textureWidth, texelsHigh = (float)textureHeight;
    // The inked box as texture coordinates, never outside the cell.
    const float tu0 = fmaxf(glyph[0], (float)ink[0] / texelsWide);
    const float tv0 = fmaxf(glyph[1], (float)ink[1] / texelsHigh);
    const float tu1 = fminf(glyph[2], (float)ink[2] / texelsWide);
    const float tv1 = fminf(glyph[3], (float)ink[3] / texelsHigh);
    if (!(tu0 < tu1 && tv0 < tv1))
        return 0;
    // Each edge is placed as PutGlyph places the cell's edge, from the pen
    // position and the distance in texels: an edge that is not moved gets the
    // cell's value to the bit.
    const float left = x + (tu0 - glyph[0]) * texelsWide / textScale - 0.5f;
    const float right = x + (tu1 - glyph[0]) * texelsWide / textScale - 0.5f;
    const float top = y + (tv0 - glyph[1]) * texelsHigh / textScale - 0.5f;
    const float bottom = y + (tv1 - glyph[1]) * texelsHigh / textScale - 0.5f;
    v[0] = {left, bottom, 0.9f, 1.0f, colour, tu0, tv1};
    v[1] = {left, top, 0.9f, 1.0f, colour, tu0, tv0};
    v[2] = {right, bottom, 0.9f, 1.0f, colour, tu1, tv1};
    v[3] = {right, top, 0.9f, 1.0f, colour, tu1, tv0};
    v[4] = {right, bottom, 0.9f, 1.0f, colour, tu1, tv1};
    v[5] = {left, top, 0.9f, 1.0f, colour, tu0, tv0};
    return 6;
}

void Font2D::AppendString(float x, float y, D3DCOLOR colour, const char* text,
                          std::vector<FontVertex>* vertices) const
{
    if (!text)
        return;
    // The pen moves exactly as in DrawString, one addition per glyph. Room
    // for every character first; what is not drawn is cut off again.
    const size_t start = vertices->size();
    vertices->resize(start + 6 * strlen(text));
    FontVertex* out = vertices->data() + start;
    const float startX = x;
    const float row = RowHeight();
    // The glyphs are point sampled: a pixel shows the texel under its
    // centre, so one outside the inked box would show a texel of alpha 0 and
    // the box itself is enough (a filtered draw would need a texel more on
    // every side). Texels are pixels, so cells and rows are whole pixels and
    // every glyph of the string shares the pen's fractions. A fraction of one
    // half puts texel edges on pixel centres: which texel a pixel shows then
    // rests on the rasteriser's rounding, which differs between a cell and a
    // smaller quad, so such strings keep their whole cells.
    const bool inkedOnly = InkedOnlyAt(x, y);
    for (const char* p = text; *p; ++p)
    {
        if (*p == '\n')
        {
            x = startX;
            y += row;
            continue;
        }
        if (!IsDrawable(*p))
            continue;
        if (inkedOnly)
        {
            out += PutInkedGlyph(out, x, y, colour, *p);
            x += Advance(*p);
            continue;
        }
        x += PutGlyph(out, x, y, colour, *p);
        out += 6;
    }
    vertices->resize((size_t)(out - vertices->data()));
}

bool Font2D::InkedOnlyAt(float x, float y) const
{
    return textScale == 1.0f && !OnHalfPixel(x) && !OnHalfPixel(y);
}

LabelStrips* Font2D::Strips()
{
    if (!stripsTried_ && glyphTexture)
    {
        stripsTried_ = true;
        strips_ = new LabelStrips(*this);
    }
    return strips_ && strips_->Usable() ? strips_ : nullptr;
}

HRESULT Font2D::CaptureCallerStates()
{
    if (!CanDraw())
        return E_FAIL;
    return device->CaptureStateBlock(savedStateBlock);
}

HRESULT Font2D::DrawVertices(IDirect3DVertexBuffer8* buffer, UINT first, UINT count,
                             IDirect3DTexture8* texture)
{
    if (!CanDraw() || !buffer)
        return E_FAIL;
    device->ApplyStateBlock(drawStateBlock);
    if (texture)
        device->SetTexture(0, texture);
    device->SetVertexShader(kFontVertexFormat);
    device->SetStreamSource(0, buffer, sizeof(FontVertex));
    const HRESULT result = device->DrawPrimitive(D3DPT_TRIANGLELIST, first, count / 3);
    device->ApplyStateBlock(savedStateBlock);
    return result;
}
