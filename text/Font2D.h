// A texture font: the printable ASCII glyphs of one typeface rasterised
// through GDI into one A4R4G4B4 texture, drawn as pre-transformed quads from a
// dynamic vertex buffer, with the caller's render states fenced off by two
// state blocks.
#ifndef MAPEDITOR_FONT2D_H
#define MAPEDITOR_FONT2D_H

#include <windows.h>
#include <d3d8.h>

#include <vector>

class LabelStrips;

#define FONT2D_BOLD 1
#define FONT2D_ITALIC 2
#define FONT2D_FILTERED 4

// One corner of a glyph quad: pre-transformed, coloured, one set of texture
// coordinates (D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1).
struct FontVertex
{
    float x, y, z, rhw;
    D3DCOLOR diffuse;
    float tu, tv;
};

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
    // Entry c - 32: the box of the texels of the glyph's cell that have ink
    // (alpha above 0): left, top, right, bottom, in texels of the glyph
    // texture; left == right when the cell has no ink at all (the space).
    unsigned short glyphInk[96][4] = {};
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

    // Whether the draw resources are there (a draw can fence its states).
    bool CanDraw() const { return device && vertexBuffer && savedStateBlock && drawStateBlock; }

    // Many strings with one fence: AppendString gives the quads that cover
    // the same pixels as DrawString's would (six vertices a glyph,
    // unfiltered): each quad spans only the box of the glyph's inked texels
    // (glyphInk), a glyph without ink gets none, and the
    // pen moves exactly as in DrawString (a string whose pen lies on a half
    // pixel keeps DrawString's whole cells, see Font2D.cpp). A texel of
    // alpha 0 fails the alpha test, so the pixels the trimmed part would
    // have covered are left as they were either way. CaptureCallerStates records the caller's
    // values of the text states once; each DrawVertices then applies the text states, draws `count`
    // vertices of the buffer (FontVertex, from `first`) as a triangle list and puts the captured
    // values back. Between the capture and the last DrawVertices the caller must leave the text
    // states alone (its other states, such as the vertex format, may change). The stream source
    // stays set to the buffer.
    void AppendString(float x, float y, D3DCOLOR colour, const char* text,
                      std::vector<FontVertex>* vertices) const;
    HRESULT CaptureCallerStates();
    // `texture`, when given, is drawn from in place of the glyph texture (the
    // label strips' texture).
    HRESULT DrawVertices(IDirect3DVertexBuffer8* buffer, UINT first, UINT count,
                         IDirect3DTexture8* texture = nullptr);
    // Whether AppendString gives a string at this pen its inked boxes alone
    // (whole cells otherwise: scaled glyphs, a pen on a half pixel).
    bool InkedOnlyAt(float x, float y) const;
    // The labels' strips of this font (LabelStrips.h), made on first use and
    // released with the glyph texture; null when the font cannot have them.
    LabelStrips* Strips();

  private:
    float RowHeight() const;
    // The pen's advance over the glyph of c: its cell's width in pixels.
    float Advance(char c) const;
    // Writes the six vertices of the glyph of c at the pen position (x, y);
    // returns the pen's advance.
    float PutGlyph(FontVertex* v, float x, float y, D3DCOLOR colour, char c) const;
    // The same glyph over its inked box only (see AppendString); returns the
    // vertices written, 6 or 0.
    int PutInkedGlyph(FontVertex* v, float x, float y, D3DCOLOR colour, char c) const;
    // Finds glyphInk from the texels as the texture holds them (A4R4G4B4).
    void FindGlyphInk(const BYTE* texels, int pitch, unsigned width, unsigned height);

    LabelStrips* strips_ = nullptr; // owned; see Strips()
    bool stripsTried_ = false;
};

#endif
