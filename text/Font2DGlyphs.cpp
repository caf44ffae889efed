// Building a Font2D's glyph texture: the printable ASCII characters of the
// typeface are drawn white on black by GDI into a 32-bit DIB, packed in rows,
// and the grey levels become the 4-bit alpha of an A4R4G4B4 texture.
#include "text/Font2D.h"

#include <math.h>

#include <algorithm>

namespace
{
const char kFirstGlyph = 32; // the space
const char kLastGlyph = 126; // '~'; 127 keeps a zero entry

// Texture side from the point size: big faces need more room for 95 glyphs.
unsigned TextureSideFor(unsigned pointSize)
{
    if (pointSize > 40)
        return 1024;
    if (pointSize > 20)
        return 512;
    return 256;
}

// A fraction of the texture side, kept inside the texture. Faces too large
// for their texture pack rows past the bottom edge (and, for a cell wider
// than the whole texture, past the right edge); with the default wrap
// addressing those rectangles would sample other glyphs, so they are cut at
// the edge and the part that did not fit draws nothing.
float EdgeFraction(int texel, unsigned side)
{
    const float fraction = (float)texel / (float)side;
    return fraction > 1.0f ? 1.0f : fraction;
}

// The GDI objects of one rasterisation, released in the right order whatever
// step it ends at: the originals are selected back before anything is
// deleted, since GDI refuses to delete a bitmap that is still selected.
struct GlyphCanvas
{
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HFONT font = nullptr;
    HGDIOBJ originalBitmap = nullptr;
    HGDIOBJ originalFont = nullptr;
    DWORD* pixels = nullptr;

    ~GlyphCanvas()
    {
        if (dc && originalFont)
            SelectObject(dc, originalFont);
        if (dc && originalBitmap)
            SelectObject(dc, originalBitmap);
        if (bitmap)
            DeleteObject(bitmap);
        if (dc)
            DeleteDC(dc);
        if (font)
            DeleteObject(font);
    }

    // A top-down 32-bit DIB of width x height, blue in the low byte.
    bool Create(unsigned width, unsigned height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = (LONG)width;
        info.bmiHeader.biHeight = -(LONG)height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(nullptr);
        if (!dc)
            return false;
        void* bits = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bitmap || !bits)
            return false;
        pixels = (DWORD*)bits;
        SetMapMode(dc, MM_TEXT);
        return true;
    }
};

// Converts the DIB's grey levels into the locked texture: alpha from the high
// four bits of the blue byte, colour always white. Only the rectangle both
// share is touched.
void ConvertToAlpha(const DWORD* pixels, unsigned dibWidth, unsigned dibHeight,
                    const D3DLOCKED_RECT& locked, unsigned texWidth, unsigned texHeight)
{
    const unsigned width = dibWidth < texWidth ? dibWidth : texWidth;
    const unsigned height = dibHeight < texHeight ? dibHeight : texHeight;
    for (unsigned y = 0; y < height; ++y)
    {
        const DWORD* source = pixels + (size_t)y * dibWidth;
        WORD* target = (WORD*)((BYTE*)locked.pBits + (size_t)y * locked.Pitch);
        for (unsigned x = 0; x < width; ++x)
        {
            const WORD alpha = (WORD)((source[x] & 0xFF) >> 4);
            target[x] = alpha > 0 ? (WORD)((alpha << 12) | 0x0FFF) : (WORD)0;
        }
    }
}
} // namespace

void Font2D::FindGlyphInk(const BYTE* texels, int pitch, unsigned width, unsigned height)
{
    for (int c = 0; c < 96; ++c)
    {
        const float* cell = glyphCoords[c];
        unsigned short* ink = glyphInk[c];
        // The cell in texels (its fractions are whole texels over a power of
        // two), cut to what the texture has.
        const int x0 = (int)lroundf(cell[0] * (float)textureWidth);
        const int y0 = (int)lroundf(cell[1] * (float)textureHeight);
        const int x1 = std::min((int)lroundf(cell[2] * (float)textureWidth), (int)width);
        const int y1 = std::min((int)lroundf(cell[3] * (float)textureHeight), (int)height);
        int left = x1, top = y1, right = x0, bottom = y0;
        for (int y = y0; y < y1; ++y)
        {
            const WORD* row = (const WORD*)(texels + (size_t)y * pitch);
            for (int x = x0; x < x1; ++x)
            {
                if ((row[x] >> 12) == 0)
                    continue;
                left = std::min(left, x);
                right = std::max(right, x + 1);
                top = std::min(top, y);
                bottom = std::max(bottom, y + 1);
            }
        }
        if (right <= left)
        {
            ink[0] = ink[1] = ink[2] = ink[3] = (unsigned short)x0;
            continue;
        }
        ink[0] = (unsigned short)left;
        ink[1] = (unsigned short)top;
        ink[2] = (unsigned short)right;
        ink[3] = (unsigned short)bottom;
    }
}

HRESULT Font2D::CreateGlyphTexture(IDirect3DDevice8* newDevice)
{
    // Without a device there is nothing to build the texture on.
    if (!newDevice)
        return E_FAIL;
    // A second initialisation must not leak the first one's resources.
    Teardown();
    device = newDevice;
    textScale = 1.0f;

    unsigned side = TextureSideFor(pointSize);
    D3DCAPS8 caps = {};
    if (SUCCEEDED(device->GetDeviceCaps(&caps)) && caps.MaxTextureWidth > 0 &&
        side > caps.MaxTextureWidth)
    {
        textScale = (float)caps.MaxTextureWidth / (float)side;
        side = caps.MaxTextureWidth;
    }
    textureWidth = side;
    textureHeight = side;

    HRESULT result = device->CreateTexture(textureWidth, textureHeight, 1, 0, D3DFMT_A4R4G4B4,
                                           D3DPOOL_MANAGED, &glyphTexture);
    if (FAILED(result))
    {
        glyphTexture = nullptr;
        return result;
    }

    GlyphCanvas canvas;
    if (!canvas.Create(textureWidth, textureHeight))
        return E_FAIL;

    // The logical resolution is scaled with the texture, so a shrunk texture
    // gets a proportionally smaller face and the glyphs still fit.
    const int logPixels = (int)((float)GetDeviceCaps(canvas.dc, LOGPIXELSY) * textScale);
    const int pixelHeight = MulDiv((int)pointSize, logPixels, 72);
    canvas.font = CreateFontA(
        -pixelHeight, 0, 0, 0, (styleFlags & FONT2D_BOLD) ? FW_BOLD : FW_NORMAL,
        (styleFlags & FONT2D_ITALIC) ? TRUE : FALSE, FALSE, FALSE, DEFAULT_CHARSET,
        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH, faceName);
    if (!canvas.font)
        return E_FAIL;

    canvas.originalBitmap = SelectObject(canvas.dc, canvas.bitmap);
    canvas.originalFont = SelectObject(canvas.dc, canvas.font);
    SetTextColor(canvas.dc, RGB(255, 255, 255));
    SetBkColor(canvas.dc, 0);
    SetTextAlign(canvas.dc, TA_LEFT | TA_TOP);

    // Glyphs go left to right with a one-texel gap, a new row when the next
    // cell and its gap would pass the right edge. GDI clips what falls below
    // the bitmap; the recorded rectangles are cut at the edge.
    const int width = (int)textureWidth;
    int x = 0;
    int y = 0;
    for (char c = kFirstGlyph; c <= kLastGlyph; ++c)
    {
        SIZE cell = {0, 0};
        GetTextExtentPoint32A(canvas.dc, &c, 1, &cell);
        if (x + cell.cx + 1 > width)
        {
            y += cell.cy + 1;
            x = 0;
        }
        ExtTextOutA(canvas.dc, x, y, ETO_OPAQUE, nullptr, &c, 1, nullptr);
        float* entry = glyphCoords[c - kFirstGlyph];
        entry[0] = EdgeFraction(x, textureWidth);
        entry[1] = EdgeFraction(y, textureHeight);
        entry[2] = EdgeFraction(x + cell.cx, textureWidth);
        entry[3] = EdgeFraction(y + cell.cy, textureHeight);
        x += cell.cx + 1;
    }
    GdiFlush(); // the DIB is read directly below

    D3DLOCKED_RECT locked = {};
    result = glyphTexture->LockRect(0, &locked, nullptr, 0);
    if (FAILED(result))
        return result; // nothing written; the texture stays until Teardown
    if (locked.pBits)
    {
        // Convert only what the texture really has (a driver may round sizes).
        D3DSURFACE_DESC level = {};
        glyphTexture->GetLevelDesc(0, &level);
        ConvertToAlpha(canvas.pixels, textureWidth, textureHeight, locked, level.Width,
                       level.Height);
        FindGlyphInk((const BYTE*)locked.pBits, locked.Pitch, level.Width, level.Height);
    }
    glyphTexture->UnlockRect(0);
    return S_OK;
}
