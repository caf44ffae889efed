// The status bar's fields (see StatusBar.h). The heightmap's values are read
// from its file once per heightmap, with the decoders the textures use.
#include "app/StatusBar.h"

#include <commctrl.h>
#include <math.h>
#include <stdio.h>
#include <string.h>

#include <vector>

#include "app/EditorApp.h"
#include "d3dx/image/DecoderChain.h"

namespace
{
enum Part
{
    kPosition,
    kCell,
    kHeight,
    kZoom,
    kCounts,
    kMapName,
    kPartCount
};
// Right edges of the parts, in pixels (the last one takes the rest).
const int kPartEdges[kPartCount] = {190, 300, 390, 500, 680, -1};

// The heightmap's values, one byte a pixel (its red channel: heightmaps are grey).
struct HeightSamples
{
    std::string file;
    int slot = -2;
    int width = 0, height = 0;
    std::vector<unsigned char> values;
};
HeightSamples samples;
int pointerX = -1, pointerY = -1;
bool pointerKnown = false;

const HeightSamples& CurrentSamples()
{
    const MapDocument& document = app.document;
    if (samples.slot == document.heightmapTexture && samples.file == document.heightmapFile)
        return samples;
    samples = HeightSamples();
    samples.slot = document.heightmapTexture;
    samples.file = document.heightmapFile;
    std::vector<unsigned char> bytes;
    if (document.heightmapTexture < 0 ||
        app.files.ReadWholeFile(document.heightmapFile, &bytes) != FileError::None)
        return samples;
    d3dximage::Image image;
    d3dximage::ImageInfo info;
    if (d3dximage::DecodeImageFile(bytes.data(), bytes.size(), d3dximage::DecodeLimits(), &image,
                                   &info) != d3dximage::DecodeStatus::Ok)
        return samples;
    samples.width = (int)image.width;
    samples.height = (int)image.height;
    samples.values.resize(image.pixels.size());
    for (size_t i = 0; i < image.pixels.size(); ++i)
        samples.values[i] = (unsigned char)(image.pixels[i] >> 16);
    return samples;
}

void SetPart(int part, const char* text)
{
    char shown[128] = "";
    SendMessageA(app.statusBar, SB_GETTEXTA, (WPARAM)part, (LPARAM)shown);
    if (strcmp(shown, text) != 0)
        SendMessageA(app.statusBar, SB_SETTEXTA, (WPARAM)part, (LPARAM)text);
}

void ShowPointerFields()
{
    const MapDocument& document = app.document;
    char text[128];
    float x = 0, y = 0;
    const bool onMap = pointerKnown && document.viewScale > 0 &&
                       isfinite(x = document.ViewToMapX(pointerX)) &&
                       isfinite(y = document.ViewToMapY(pointerY));
    if (!onMap)
    {
        SetPart(kPosition, "");
        SetPart(kCell, "");
        SetPart(kHeight, "");
        return;
    }
    snprintf(text, sizeof(text), "x %.4f, y %.4f", x, y);
    SetPart(kPosition, text);
    // The heightmap cell: the map's side holds `width` cells across and
    // `height` down.
    const int cellX = (int)floor((double)x * document.width);
    const int cellY = (int)floor((double)y * document.height);
    const bool inside = MapDocument::InsideMap(x, y) && cellX >= 0 && cellY >= 0 &&
                        cellX < document.width && cellY < document.height;
    if (!inside)
    {
        SetPart(kCell, "off the map");
        SetPart(kHeight, "");
        return;
    }
    snprintf(text, sizeof(text), "cell %d, %d", cellX, cellY);
    SetPart(kCell, text);
    const HeightSamples& heights = CurrentSamples();
    if (heights.values.empty())
    {
        SetPart(kHeight, "height -");
        return;
    }
    // The decoded picture may have another size than the document says
    // (never, unless the file changed): scaled to it.
    const int sx = (int)((long long)cellX * heights.width / document.width);
    const int sy = (int)((long long)cellY * heights.height / document.height);
    snprintf(text, sizeof(text), "height %d", heights.values[(size_t)sy * heights.width + sx]);
    SetPart(kHeight, text);
}
} // namespace

HWND CreateStatusBar(HINSTANCE instance, HWND parent)
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    HWND bar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0,
                               0, 0, 0, parent, nullptr, instance, nullptr);
    SendMessageA(bar, SB_SETPARTS, kPartCount, (LPARAM)kPartEdges);
    return bar;
}

void ShowPointerInStatusBar(int px, int py)
{
    pointerX = px;
    pointerY = py;
    pointerKnown = true;
    if (app.statusBar)
        ShowPointerFields();
}

void RefreshStatusBar()
{
    if (!app.statusBar)
        return;
    const MapDocument& document = app.document;
    char text[128];
    ShowPointerFields();
    if (document.width > 0)
        snprintf(text, sizeof(text), "%.1f px/cell", (double)document.viewScale / document.width);
    else
        snprintf(text, sizeof(text), "no heightmap");
    SetPart(kZoom, text);
    snprintf(text, sizeof(text), "%d objects, %zu selected", document.ObjectCount(),
             document.SelectedCount());
    SetPart(kCounts, text);
    SetPart(kMapName, document.DisplayName().c_str());
}

std::string StatusBarField(int part)
{
    char text[256] = "";
    SendMessageA(app.statusBar, SB_GETTEXTA, (WPARAM)part, (LPARAM)text);
    return text;
}
