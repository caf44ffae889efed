// Zoom and pan of the map view (see ViewNavigation.h).
#include "app/ViewNavigation.h"

#include <math.h>

#include <algorithm>

#include "app/EditorApp.h"
#include "app/StatusBar.h"
#include "app/ViewWindow.h"

void ViewSize(int* width, int* height)
{
    RECT client = {0, 0, 0, 0};
    if (app.viewWindow)
        GetClientRect(app.viewWindow, &client);
    *width = client.right;
    *height = client.bottom;
}

int FitScale()
{
    int width = 0, height = 0;
    ViewSize(&width, &height);
    return std::max(1, std::min(width, height));
}

void KeepScrollInBounds()
{
    MapDocument& document = app.document;
    int width = 0, height = 0;
    ViewSize(&width, &height);
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

void ZoomBySteps(int steps, int px, int py)
{
    MapDocument& document = app.document;
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
    // The map point under (px, py) stays there.
    const double mapX = (px + (double)document.scrollX) / current;
    const double mapY = (py + (double)document.scrollY) / current;
    document.viewScale = scale;
    document.scrollX = (float)(mapX * scale - px);
    document.scrollY = (float)(mapY * scale - py);
    KeepScrollInBounds();
    RefreshStatusBar();
    RequestFrame();
}

void ZoomAtCentre(int steps)
{
    int width = 0, height = 0;
    ViewSize(&width, &height);
    ZoomBySteps(steps, width / 2, height / 2);
}

void FitMap()
{
    MapDocument& document = app.document;
    int width = 0, height = 0;
    ViewSize(&width, &height);
    document.viewScale = FitScale();
    document.scrollX = (document.viewScale - width) / 2.0f;
    document.scrollY = (document.viewScale - height) / 2.0f;
    KeepScrollInBounds();
    RefreshStatusBar();
    RequestFrame();
}

void StartPan(int px, int py)
{
    app.panning = true;
    app.panX = px;
    app.panY = py;
}

void PanTo(int px, int py)
{
    // The map follows the pointer one to one.
    app.document.scrollX -= (float)(px - app.panX);
    app.document.scrollY -= (float)(py - app.panY);
    app.panX = px;
    app.panY = py;
    KeepScrollInBounds();
    RequestFrame();
}
