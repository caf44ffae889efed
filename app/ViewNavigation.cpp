// Zooming and panning the map view: the wheel zooms at the pointer (the map
// point under it stays under it) in steps of 1.25x between the whole map
// fitting the view and 64 view pixels per heightmap cell (the step out to
// the whole map lands on Fit Map's framing); + and - zoom at the view's
// centre; Fit Map shows the whole map in the middle of the view; the
// middle button drags the map one to one. Scrolling, panning and zooming stop
// where the map's edge reaches the view's centre, so the map can never be
// lost off-screen. The view state is never saved.
#include "app/ViewWindow.h"

#include <math.h>

#include <algorithm>

#include "app/StatusBar.h"
#include "document/MapDocument.h"

void ViewWindow::Size(int* width, int* height) const
{
    RECT client = {0, 0, 0, 0};
    if (window_)
        GetClientRect(window_, &client);
    *width = client.right;
    *height = client.bottom;
}

int ViewWindow::FitScale() const
{
    int width = 0, height = 0;
    Size(&width, &height);
    return std::max(1, std::min(width, height));
}

void ViewWindow::KeepScrollInBounds()
{
    MapDocument& document = document_;
    int width = 0, height = 0;
    Size(&width, &height);
    const float side = (float)document.viewScale;
    // The left (top) edge may come in to the centre, the right (bottom) edge
    // out to it.
    const float lowX = -width / 2.0f, highX = side - width / 2.0f;
    const float lowY = -height / 2.0f, highY = side - height / 2.0f;
    if (!isfinite(document.scrollX))
        document.scrollX = 0.0f;
    if (!isfinite(document.scrollY))
        document.scrollY = 0.0f;
    document.scrollX = std::min(highX, std::max(lowX, document.scrollX));
    document.scrollY = std::min(highY, std::max(lowY, document.scrollY));
}

void ViewWindow::ZoomBySteps(int steps, int px, int py)
{
    MapDocument& document = document_;
    const int current = document.viewScale;
    if (document.width <= 0 || current <= 0 || steps == 0)
        return;
    // Never past either end, and never a jump from outside them.
    const int lowest = std::min(FitScale(), current);
    const int highest = std::max(kMostPixelsPerCell * document.width, current);
    int scale = (int)lround(current * pow(kZoomStep, steps));
    if (scale == current)
        scale += steps > 0 ? 1 : -1;
    scale = std::min(highest, std::max(lowest, scale));
    if (scale == current)
        return;
    // The last step out shows the whole map as Fit Map does, in the middle,
    // not pinned at the pointer with part of it cut off.
    if (steps < 0 && scale <= FitScale())
    {
        FitMap();
        return;
    }
    // The map point under (px, py) stays there.
    const double mapX = (px + (double)document.scrollX) / current;
    const double mapY = (py + (double)document.scrollY) / current;
    document.viewScale = scale;
    document.scrollX = (float)(mapX * scale - px);
    document.scrollY = (float)(mapY * scale - py);
    KeepScrollInBounds();
    status_.Refresh();
    RequestFrame();
}

void ViewWindow::ZoomAtCentre(int steps)
{
    int width = 0, height = 0;
    Size(&width, &height);
    ZoomBySteps(steps, width / 2, height / 2);
}

void ViewWindow::FitMap()
{
    MapDocument& document = document_;
    int width = 0, height = 0;
    Size(&width, &height);
    document.viewScale = FitScale();
    document.scrollX = (document.viewScale - width) / 2.0f;
    document.scrollY = (document.viewScale - height) / 2.0f;
    KeepScrollInBounds();
    status_.Refresh();
    RequestFrame();
}

void ViewWindow::Zoom(int factor)
{
    document_.viewScale = document_.width * 2 * factor;
    document_.scrollX = 0.0f;
    document_.scrollY = 0.0f;
    RequestFrame();
}

void ViewWindow::StartPan(int px, int py)
{
    gesture_.panning = true;
    gesture_.panX = px;
    gesture_.panY = py;
}

void ViewWindow::PanTo(int px, int py)
{
    // The map follows the pointer one to one.
    document_.scrollX -= (float)(px - gesture_.panX);
    document_.scrollY -= (float)(py - gesture_.panY);
    gesture_.panX = px;
    gesture_.panY = py;
    KeepScrollInBounds();
    RequestFrame();
}
