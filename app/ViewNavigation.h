// Zooming and panning the map view: the wheel zooms at the pointer (the map
// point under it stays under it) in steps of 1.25x between the whole map
// fitting the view and 64 view pixels per heightmap cell; + and - zoom at the
// view's centre; Fit Map shows the whole map in the middle of the view; the
// middle button drags the map one to one. Scrolling, panning and zooming stop
// where the map's edge reaches the view's centre, so the map can never be
// lost off-screen. The view state is never saved.
#ifndef MAPEDITOR_VIEWNAVIGATION_H
#define MAPEDITOR_VIEWNAVIGATION_H

const double kZoomStep = 1.25;
const int kMostPixelsPerCell = 64;

// The view's client size in pixels.
void ViewSize(int* width, int* height);

// The scale at which the whole map fits the view (at least 1).
int FitScale();

void ZoomBySteps(int steps, int px, int py);
void ZoomAtCentre(int steps);
void FitMap();

void StartPan(int px, int py);
void PanTo(int px, int py);

// Moves the scroll back to where the map's edges are no further in than the
// view's centre.
void KeepScrollInBounds();

#endif
