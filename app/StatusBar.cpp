// The status bar's fields (see StatusBar.h). The heights come from the grey
// values the document keeps of its heightmap.
#include "app/StatusBar.h"

#include <commctrl.h>
#include <math.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include "app/WindowsFileSystem.h"
#include "document/MapDocument.h"

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
    kTool,
    kPartCount
};
// Right edges of the parts, in pixels (the last one takes the rest).
const int kPartEdges[kPartCount] = {190, 300, 390, 500, 680, 880, -1};
} // namespace

void StatusBar::SetPart(int part, const char* text)
{
    // The text is compared with what this object last gave the part, not
    // read back: SB_GETTEXTA takes no buffer size, and a map name may be of
    // any length.
    if (part < 0 || (size_t)part >= shown_.size() || shown_[part] == text)
        return;
    shown_[part] = text;
    SendMessageA(window_, SB_SETTEXTA, (WPARAM)part, (LPARAM)text);
}

void StatusBar::ShowPointerFields()
{
    const MapDocument& document = document_;
    char text[128];
    float x = 0, y = 0;
    const bool onMap = pointerKnown_ && document.viewScale > 0 &&
                       isfinite(x = document.ViewToMapX(pointerX_)) &&
                       isfinite(y = document.ViewToMapY(pointerY_));
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
    const int height = document.heightSamples.At(cellX, cellY, document.width, document.height);
    if (height < 0)
    {
        SetPart(kHeight, "height -");
        return;
    }
    snprintf(text, sizeof(text), "height %d", height);
    SetPart(kHeight, text);
}

HWND StatusBar::Create(HINSTANCE instance, HWND parent)
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    HWND bar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0,
                               0, 0, 0, parent, nullptr, instance, nullptr);
    SendMessageA(bar, SB_SETPARTS, kPartCount, (LPARAM)kPartEdges);
    window_ = bar;
    shown_.assign(kPartCount, std::string());
    return bar;
}

void StatusBar::ShowPointer(int px, int py)
{
    pointerX_ = px;
    pointerY_ = py;
    pointerKnown_ = true;
    if (window_)
        ShowPointerFields();
}

void StatusBar::Refresh()
{
    if (!window_)
        return;
    const MapDocument& document = document_;
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
    SetPart(kTool, tool_);
}

void StatusBar::ShowTool(const char* name)
{
    tool_ = name;
    if (window_)
        SetPart(kTool, tool_);
}

std::string StatusBar::Field(int part) const
{
    // Read in its wide form, into room for the length the bar reports first
    // (SB_GETTEXT takes no size, and Wine's SB_GETTEXTLENGTHA counts
    // characters where the 8-bit text may need more bytes).
    const LRESULT length = SendMessageW(window_, SB_GETTEXTLENGTHW, (WPARAM)part, 0);
    std::wstring text((size_t)LOWORD(length) + 1, L'\0');
    SendMessageW(window_, SB_GETTEXTW, (WPARAM)part, (LPARAM)&text[0]);
    text.resize(wcslen(text.c_str()));
    return WindowsFileSystem::NarrowName(text);
}
