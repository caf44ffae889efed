// The brush and the eraser in the map view: the tool the left button works
// with, strokes from button down to button up (each one undo step, made by
// the document), the brush's radius ([ and ], Ctrl+wheel) and its outline
// under the pointer. The right and middle buttons keep scrolling and
// panning during a stroke: they are handled as ever (ViewWindow.cpp).
#include "app/ViewWindow.h"

#include <math.h>

#include <algorithm>

#include "app/PaletteDialog.h"
#include "app/StatusBar.h"
#include "document/MapDocument.h"
#include "resource.h"

namespace
{
// Circles set down between two pointer positions, at most.
const int kMostCirclesBetween = 256;
} // namespace

const char* ToolName(Tool tool)
{
    switch (tool)
    {
    case Tool::Brush:
        return "Brush";
    case Tool::Eraser:
        return "Eraser";
    case Tool::Select:
        break;
    }
    return "Select";
}

int ToolKeyCommand(unsigned virtualKey)
{
    const struct
    {
        unsigned key;
        int command;
    } kKeys[] = {{'S', ID_TOOLS_SELECT},
                 {'B', ID_TOOLS_BRUSH},
                 {'E', ID_TOOLS_ERASER},
                 {VK_OEM_4, ID_TOOLS_SMALLERBRUSH}, // [
                 {VK_OEM_6, ID_TOOLS_LARGERBRUSH}}; // ]
    for (const auto& entry : kKeys)
        if (entry.key == virtualKey)
            return entry.command;
    return 0;
}

void ViewWindow::ChooseTool(Tool tool)
{
    brush_.tool = tool;
    status_.ShowTool(ToolName(tool));
    RequestFrame(); // the outline appears or goes
}

void ViewWindow::StepBrushRadius(int steps)
{
    brush_.settings.radius = ::StepBrushRadius(brush_.settings.radius, steps);
    RequestFrame();
}

void ViewWindow::SetBrushSettings(const BrushSettings& settings)
{
    brush_.settings = settings;
    brush_.settings.radius = ::StepBrushRadius(settings.radius, 0);
    RequestFrame();
}

FrameOutline ViewWindow::BrushOutline() const
{
    FrameOutline outline;
    const MapDocument& document = document_;
    if (brush_.tool == Tool::Select || !brush_.pointerInside || document.width <= 0 ||
        document.height <= 0 || document.viewScale <= 0)
        return outline;
    // A circle of heightmap cells: cells are 1/width of the map across and
    // 1/height down, so it is an ellipse where the two differ.
    const float radius = ::StepBrushRadius(brush_.settings.radius, 0);
    outline.shown = true;
    outline.x = (float)brush_.pointerX;
    outline.y = (float)brush_.pointerY;
    outline.radiusX = radius * (float)document.viewScale / (float)document.width;
    outline.radiusY = radius * (float)document.viewScale / (float)document.height;
    return outline;
}

void ViewWindow::TrackPointer(int px, int py)
{
    brush_.pointerX = px;
    brush_.pointerY = py;
    brush_.pointerInside = true;
    if (!brush_.leaveTracked)
    {
        // WM_MOUSELEAVE once the pointer leaves the client area (or, with the
        // capture, once the buttons are let go outside it).
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, window_, 0};
        brush_.leaveTracked = TrackMouseEvent(&track) != FALSE;
    }
    if (brush_.tool != Tool::Select)
        OutlineMoved();
}

void ViewWindow::OutlineMoved()
{
    // A whole frame still being drawn in slices draws the outline where it
    // is when the frame finishes, and keeps it there: starting that frame
    // again at every pointer move would keep a big frame from ever
    // finishing while the pointer moves over the view.
    if (!presenter_.FrameInProgress())
        RequestFrame();
}

void ViewWindow::PointerLeft()
{
    brush_.leaveTracked = false;
    // A leave reported while the pointer is still over the client area (a
    // window that came and went over it) keeps the outline.
    POINT screen = {0, 0};
    GetCursorPos(&screen);
    if (WindowFromPoint(screen) == window_)
        return;
    brush_.pointerInside = false;
    if (brush_.tool != Tool::Select)
        OutlineMoved();
}

bool ViewWindow::BeginStrokeAt(int px, int py)
{
    if (brush_.tool == Tool::Select)
        return false;
    BrushSettings settings = brush_.settings;
    settings.pool = palette_.SelectedTypes();
    settings.rotation = palette_.Rotation();
    settings.randomRotation = palette_.Randomizes();
    // The heightmap's values live in the document for as long as the map
    // is open; a new heightmap is an edit, which ends the stroke first.
    if (brush_.tool == Tool::Brush)
        document_.BeginBrushStroke(settings, document_.heightSamples);
    else
        document_.BeginEraserStroke(settings);
    brush_.stroking = true;
    brush_.hasLast = false;
    StrokeAt(px, py);
    return true;
}

void ViewWindow::StrokeAt(int px, int py)
{
    // A fast pointer skips pixels: the circle is also set down between its
    // last two places, at most half a radius apart, so that the path has no
    // gaps (the document's work follows the circles, not the distance).
    const MapDocument& document = document_;
    const double radius = ::StepBrushRadius(brush_.settings.radius, 0) * document.viewScale /
                          std::max(1, std::max(document.width, document.height));
    const double step = std::max(1.0, radius / 2.0);
    const double dx = px - brush_.lastX, dy = py - brush_.lastY;
    const int between = brush_.hasLast ? std::min(kMostCirclesBetween, (int)(hypot(dx, dy) / step))
                                       : 0;
    size_t changed = 0;
    for (int k = 1; k <= between + 1; ++k)
    {
        const double f = (double)k / (between + 1);
        float x = 0.0f, y = 0.0f;
        if (ViewPointToMap((int)lround(brush_.lastX + dx * f), (int)lround(brush_.lastY + dy * f),
                           &x, &y))
            changed += document_.StrokeTo(x, y);
    }
    brush_.lastX = px;
    brush_.lastY = py;
    brush_.hasLast = true;
    if (changed > 0)
        status_.Refresh(); // the counts
}

void ViewWindow::EndStroke()
{
    brush_.stroking = false;
    document_.EndStroke();
}
