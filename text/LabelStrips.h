// Labels drawn as a few quads instead of one quad per glyph. A software
// rasteriser pays for every small triangle, and a label of twenty glyphs is
// forty of them. Here the glyph cells of each label text are laid side by
// side once, exactly as the pen lays them on the screen, into runs ("strips")
// of a texture of their own; a label is then one quad per strip, which shows
// each pixel the very texel its glyph's quad would have shown.
//
// The strip texture also holds a copy of the glyph texture in its top-left
// corner, so a label that cannot use its strips (a pen on a half pixel, a
// text that found no room) is drawn as the font's glyph quads from the same
// texture, in the same draw and the same order as its neighbours.
#ifndef MAPEDITOR_LABELSTRIPS_H
#define MAPEDITOR_LABELSTRIPS_H

#include <windows.h>
#include <d3d8.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "text/Font2D.h"

class LabelStrips
{
  public:
    // One run of glyph cells of one line of a label.
    struct Strip
    {
        // The pen of the run's first glyph from the label's pen, in pixels.
        int penX, penY;
        // The box of the run's inked texels from that pen, in pixels:
        // left, top, right, bottom.
        int ink[4];
        // The texel of the run's first cell's top-left corner.
        int texelX, texelY;
    };
    // A label text laid out: its strips in the order of its glyphs.
    struct Layout
    {
        std::vector<Strip> strips;
    };

    // The widest strip in texels: longer runs are cut between glyphs.
    static constexpr int LongestStrip = 256;

    // Takes a copy of the font's glyph texture into a texture of its own on
    // the font's device. Usable() tells whether that worked: it does not for
    // scaled glyphs (the cells are then not whole pixels) or a texture the
    // device cannot make.
    explicit LabelStrips(const Font2D& font);
    ~LabelStrips();
    LabelStrips(const LabelStrips&) = delete;
    LabelStrips& operator=(const LabelStrips&) = delete;

    bool Usable() const { return texture_ != nullptr; }
    // The texture the label vertices (Append) are drawn from.
    IDirect3DTexture8* Texture() const { return texture_; }

    // Before the first Find of a frame: when the last frame ran out of room,
    // every layout is dropped and the texture filled again from the start, so
    // a frame's texts get room as long as they fit together.
    void BeginFrame();
    // The layout of a text, made on its first request; null when it does not
    // fit in the texture (its labels are then drawn glyph by glyph). Stays
    // valid until the next BeginFrame.
    const Layout* Find(const char* text);
    // The vertices of the label at the pen (x, y), as Font2D::AppendString
    // gives them but from this texture: one quad per strip of the layout, or
    // the glyph quads (whole cells on a half pixel) when the layout is null or
    // the pen asks for them.
    void Append(const Layout* layout, float x, float y, D3DCOLOR colour, const char* text,
                std::vector<FontVertex>* vertices) const;

  private:
    // Lays out the strips of a text and writes their texels; false when one
    // does not fit.
    bool Place(const char* text, Layout* layout);
    // Room for a strip of that width: its top-left texel, false when full.
    bool Reserve(int width, int* x, int* y);
    void WriteStrip(int x, int y, int width, const std::vector<char>& glyphs);

    const Font2D& font_;
    IDirect3DTexture8* texture_ = nullptr;
    int side_ = 0; // of the square texture, in texels
    int glyphWidth_ = 0, glyphHeight_ = 0;
    int rowHeight_ = 0;             // of a strip, in texels: the font's cells' height
    std::vector<WORD> glyphTexels_; // the glyph texture, row after row
    int shelfX_ = 0, shelfY_ = 0;   // where the next strip goes
    bool full_ = false;             // a Find found no room since BeginFrame
    std::unordered_map<std::string, Layout> layouts_;
};

#endif
