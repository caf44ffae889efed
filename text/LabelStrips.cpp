// The strip texture of a font's labels: the copy of the glyph texture, the
// shelves the strips are packed on, the texels of a strip copied cell by cell
// from the glyph texture, and the quads of a label.
//
// Why a strip shows the same pixels as the glyph quads: the cells of a line
// are as wide as the pen's advance and whole pixels (the glyphs are not
// scaled), so the glyph quads of a label tile its lines without overlapping,
// each pixel is drawn at most once and blended once, and the strip holds at
// every texel what the one glyph quad over that pixel samples. Pixels the
// strip covers beyond the glyphs' inked boxes sample texels of alpha 0,
// which fail the alpha test as they would outside the glyph quads. A pen
// away from half a pixel keeps every texel edge at least 1/64 of a pixel from
// a pixel centre, so which texel a pixel shows does not rest on rounding;
// on a half pixel it does, and such labels keep the glyph quads.
#include "text/LabelStrips.h"

#include <math.h>
#include <string.h>

#include <algorithm>

namespace
{
// A texture side of its own, square: four times the glyph texture's area or
// more, so that a few hundred label texts find room beside the copy.
const int kSmallestSide = 1024;
// Pens this far out are left to the glyph quads: past it a float's step
// nears the 1/64 of a pixel that keeps texel edges off pixel centres.
const float kFarthestPen = 32768.0f;

bool PowerOfTwo(unsigned value)
{
    return value != 0 && (value & (value - 1)) == 0;
}

bool IsDrawable(char c)
{
    return (signed char)c >= 32;
}

// A glyph's cell in texels of the glyph texture.
struct Cell
{
    int x0, y0, x1, y1;
};

Cell CellOf(const Font2D& font, char c)
{
    const float* g = font.glyphCoords[c - 32];
    const float w = (float)font.textureWidth, h = (float)font.textureHeight;
    return {(int)lroundf(g[0] * w), (int)lroundf(g[1] * h), (int)lroundf(g[2] * w),
            (int)lroundf(g[3] * h)};
}
} // namespace

LabelStrips::LabelStrips(const Font2D& font) : font_(font)
{
    IDirect3DDevice8* device = font.device;
    if (!device || !font.glyphTexture || font.textScale != 1.0f)
        return;
    D3DSURFACE_DESC glyphs = {};
    D3DCAPS8 caps = {};
    if (FAILED(font.glyphTexture->GetLevelDesc(0, &glyphs)) || FAILED(device->GetDeviceCaps(&caps)))
        return;
    // Texture coordinates of the copy are the glyph texture's scaled by a
    // power of two, which a float carries without rounding.
    if (glyphs.Width != font.textureWidth || glyphs.Height != font.textureHeight ||
        !PowerOfTwo(glyphs.Width) || !PowerOfTwo(glyphs.Height))
        return;
    glyphWidth_ = (int)glyphs.Width;
    glyphHeight_ = (int)glyphs.Height;
    side_ = std::max(kSmallestSide, 2 * std::max(glyphWidth_, glyphHeight_));
    if ((DWORD)side_ > caps.MaxTextureWidth || (DWORD)side_ > caps.MaxTextureHeight)
        return;
    // Every line of a label must stay within its row step, or lines would
    // overlap and strips could not stand for them.
    const int row =
        (int)lroundf((font.glyphCoords[0][3] - font.glyphCoords[0][1]) * (float)font.textureHeight);
    for (char c = 32; c < 127; ++c)
    {
        const Cell cell = CellOf(font, c);
        if (cell.y1 - cell.y0 > row || cell.x1 > glyphWidth_ || cell.y1 > glyphHeight_)
            return;
    }
    rowHeight_ = row;
    if (rowHeight_ <= 0)
        return;

    D3DLOCKED_RECT source = {};
    if (FAILED(font.glyphTexture->LockRect(0, &source, nullptr, D3DLOCK_READONLY)))
        return;
    if (source.pBits)
    {
        glyphTexels_.resize((size_t)glyphWidth_ * (size_t)glyphHeight_);
        for (int y = 0; y < glyphHeight_; ++y)
            memcpy(&glyphTexels_[(size_t)y * glyphWidth_],
                   (const BYTE*)source.pBits + (size_t)y * source.Pitch,
                   (size_t)glyphWidth_ * sizeof(WORD));
    }
    font.glyphTexture->UnlockRect(0);
    if (glyphTexels_.empty())
        return;

    if (FAILED(device->CreateTexture((UINT)side_, (UINT)side_, 1, 0, glyphs.Format, D3DPOOL_MANAGED,
                                     &texture_)))
    {
        texture_ = nullptr;
        return;
    }
    D3DLOCKED_RECT target = {};
    if (FAILED(texture_->LockRect(0, &target, nullptr, 0)) || !target.pBits)
    {
        texture_->Release();
        texture_ = nullptr;
        return;
    }
    for (int y = 0; y < side_; ++y)
    {
        WORD* line = (WORD*)((BYTE*)target.pBits + (size_t)y * target.Pitch);
        memset(line, 0, (size_t)side_ * sizeof(WORD));
        if (y < glyphHeight_)
            memcpy(line, &glyphTexels_[(size_t)y * glyphWidth_],
                   (size_t)glyphWidth_ * sizeof(WORD));
    }
    texture_->UnlockRect(0);
}

LabelStrips::~LabelStrips()
{
    if (texture_)
        texture_->Release();
}

void LabelStrips::BeginFrame()
{
    if (!full_)
        return;
    layouts_.clear();
    shelfX_ = shelfY_ = 0;
    full_ = false;
}

const LabelStrips::Layout* LabelStrips::Find(const char* text)
{
    if (!texture_ || !text)
        return nullptr;
    const auto found = layouts_.find(text);
    if (found != layouts_.end())
        return &found->second;
    Layout layout;
    if (!Place(text, &layout))
    {
        full_ = true;
        return nullptr;
    }
    return &layouts_.emplace(text, std::move(layout)).first->second;
}

bool LabelStrips::Place(const char* text, Layout* layout)
{
    // The pen moves as in Font2D::AppendString: a cell's width a glyph, back
    // to the start and a row down at a line feed. A run ends there, and
    // before a glyph that would make it wider than LongestStrip.
    std::vector<char> run;
    int penX = 0, penY = 0, runX = 0, runWidth = 0;
    const auto closeRun = [&]() -> bool
    {
        Strip strip = {runX, penY, {runWidth, rowHeight_, 0, 0}, 0, 0};
        int x = 0; // the glyph's cell from the run's start
        for (char c : run)
        {
            const Cell cell = CellOf(font_, c);
            const unsigned short* ink = font_.glyphInk[c - 32];
            if (ink[0] < ink[2] && ink[1] < ink[3])
            {
                strip.ink[0] = std::min(strip.ink[0], x + ink[0] - cell.x0);
                strip.ink[1] = std::min(strip.ink[1], ink[1] - cell.y0);
                strip.ink[2] = std::max(strip.ink[2], x + ink[2] - cell.x0);
                strip.ink[3] = std::max(strip.ink[3], ink[3] - cell.y0);
            }
            x += cell.x1 - cell.x0;
        }
        const bool inked = strip.ink[0] < strip.ink[2];
        const bool placed = !inked || Reserve(runWidth, &strip.texelX, &strip.texelY);
        if (inked && placed)
        {
            WriteStrip(strip.texelX, strip.texelY, runWidth, run);
            layout->strips.push_back(strip);
        }
        run.clear();
        runWidth = 0;
        return placed;
    };
    for (const char* p = text; *p; ++p)
    {
        if (*p == '\n')
        {
            if (!closeRun())
                return false;
            penX = 0;
            penY += rowHeight_;
            continue;
        }
        if (!IsDrawable(*p))
            continue;
        const Cell cell = CellOf(font_, *p);
        const int advance = cell.x1 - cell.x0;
        if (!run.empty() && runWidth + advance > LongestStrip && !closeRun())
            return false;
        if (run.empty())
            runX = penX;
        run.push_back(*p);
        runWidth += advance;
        penX += advance;
    }
    return closeRun();
}

bool LabelStrips::Reserve(int width, int* x, int* y)
{
    if (width > side_)
        return false;
    // Shelves one row high with a texel between strips; those beside the
    // copy of the glyph texture start right of it.
    for (;;)
    {
        if (shelfY_ + rowHeight_ > side_)
            return false;
        if (shelfY_ < glyphHeight_)
            shelfX_ = std::max(shelfX_, glyphWidth_ + 1);
        if (shelfX_ + width <= side_)
            break;
        shelfY_ += rowHeight_ + 1;
        shelfX_ = 0;
    }
    *x = shelfX_;
    *y = shelfY_;
    shelfX_ += width + 1;
    return true;
}

void LabelStrips::WriteStrip(int x, int y, int width, const std::vector<char>& glyphs)
{
    RECT area = {x, y, x + width, y + rowHeight_};
    D3DLOCKED_RECT locked = {};
    if (FAILED(texture_->LockRect(0, &locked, &area, 0)) || !locked.pBits)
        return;
    for (int row = 0; row < rowHeight_; ++row)
    {
        WORD* out = (WORD*)((BYTE*)locked.pBits + (size_t)row * locked.Pitch);
        for (char c : glyphs)
        {
            const Cell cell = CellOf(font_, c);
            const int width = cell.x1 - cell.x0;
            // A cell cut at the glyph texture's bottom edge draws nothing
            // below it.
            if (cell.y0 + row < cell.y1)
                memcpy(out, &glyphTexels_[(size_t)(cell.y0 + row) * glyphWidth_ + cell.x0],
                       (size_t)width * sizeof(WORD));
            else
                memset(out, 0, (size_t)width * sizeof(WORD));
            out += width;
        }
    }
    texture_->UnlockRect(0);
}

void LabelStrips::Append(const Layout* layout, float x, float y, D3DCOLOR colour, const char* text,
                         std::vector<FontVertex>* vertices) const
{
    if (!layout || !font_.InkedOnlyAt(x, y) || !(fabsf(x) < kFarthestPen) ||
        !(fabsf(y) < kFarthestPen))
    {
        // The font's glyph quads, moved onto the copy: the scale is a power
        // of two, so every coordinate keeps its bits.
        const size_t first = vertices->size();
        font_.AppendString(x, y, colour, text, vertices);
        const float scaleU = (float)glyphWidth_ / (float)side_;
        const float scaleV = (float)glyphHeight_ / (float)side_;
        for (size_t i = first; i < vertices->size(); ++i)
        {
            (*vertices)[i].tu *= scaleU;
            (*vertices)[i].tv *= scaleV;
        }
        return;
    }
    const float texel = 1.0f / (float)side_;
    for (const Strip& strip : layout->strips)
    {
        // The edges as Font2D places an inked glyph's: from the glyph's pen,
        // whole pixels, half a pixel left and up.
        const float penX = x + (float)strip.penX, penY = y + (float)strip.penY;
        const float left = penX + (float)strip.ink[0] - 0.5f;
        const float right = penX + (float)strip.ink[2] - 0.5f;
        const float top = penY + (float)strip.ink[1] - 0.5f;
        const float bottom = penY + (float)strip.ink[3] - 0.5f;
        const float tu0 = (float)(strip.texelX + strip.ink[0]) * texel;
        const float tu1 = (float)(strip.texelX + strip.ink[2]) * texel;
        const float tv0 = (float)(strip.texelY + strip.ink[1]) * texel;
        const float tv1 = (float)(strip.texelY + strip.ink[3]) * texel;
        vertices->push_back({left, bottom, 0.9f, 1.0f, colour, tu0, tv1});
        vertices->push_back({left, top, 0.9f, 1.0f, colour, tu0, tv0});
        vertices->push_back({right, bottom, 0.9f, 1.0f, colour, tu1, tv1});
        vertices->push_back({right, top, 0.9f, 1.0f, colour, tu1, tv0});
        vertices->push_back({right, bottom, 0.9f, 1.0f, colour, tu1, tv1});
        vertices->push_back({left, top, 0.9f, 1.0f, colour, tu0, tv0});
    }
}
