// A texture font: the printable ASCII glyphs of one typeface rasterised
// through GDI into one A4R4G4B4 texture, drawn as pre-transformed quads from a
// dynamic vertex buffer, with the caller's render states fenced off by two
// state blocks.
#ifndef MAPEDITOR_FONT2D_H
#define MAPEDITOR_FONT2D_H

#include <windows.h>
#include <d3d8.h>

#define FONT2D_BOLD 1
#define FONT2D_ITALIC 2
#define FONT2D_FILTERED 4

class Font2D
{
  public:
    // The vertex buffer holds 50 characters: two triangles, six vertices each.
    static const unsigned CharactersPerBatch = 50;
    static const unsigned VerticesPerBatch = CharactersPerBatch * 6;

    char faceName[80];
    unsigned pointSize;
    unsigned styleFlags;
    IDirect3DDevice8* device = nullptr; // borrowed
    IDirect3DTexture8* glyphTexture = nullptr;
    IDirect3DVertexBuffer8* vertexBuffer = nullptr;
    unsigned textureWidth = 0;
    unsigned textureHeight = 0;
    float textScale = 1.0f;
    float glyphCoords[96][4] = {}; // entry c - 32: tu0, tv0, tu1, tv1
    DWORD savedStateBlock = 0;
    DWORD drawStateBlock = 0;

    // Copies at most 79 characters of the name; does no device work.
    Font2D(const char* faceName, unsigned pointSize, unsigned styleFlags);
    // Tears down whatever is still held (the device must still be alive).
    ~Font2D() { Teardown(); }
    Font2D(const Font2D&) = delete;
    Font2D& operator=(const Font2D&) = delete;

    HRESULT CreateGlyphTexture(IDirect3DDevice8* device);
    HRESULT CreateDrawResources();
    HRESULT ReleaseDrawResources();
    HRESULT ReleaseGlyphTexture();
    HRESULT Teardown();
    HRESULT MeasureText(const char* text, SIZE* size) const;
    HRESULT DrawString(float x, float y, D3DCOLOR colour, const char* text, DWORD flags);

  private:
    float RowHeight() const;
};

#endif
