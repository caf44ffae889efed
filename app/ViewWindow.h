// The map view: the child window of the main window that shows the map and
// takes the pointer and the keys. Its object keeps everything a gesture in
// the view needs (the buttons held, the drag, the rubber band, the pan, the
// wheel's remainder, the scroll timing, where the popup opened) and the
// frames it shows (the map drawing's settings and the kept frame).
//
// Its methods live in four files: ViewWindow.cpp (the window procedure and
// the frames), PointerEditing.cpp (placing, picking, dragging, the band, the
// keys, right-button scrolling), ViewNavigation.cpp (zoom and pan) and
// BrushPointer.cpp (the tools, brush and eraser strokes, the outline).
#ifndef MAPEDITOR_VIEWWINDOW_H
#define MAPEDITOR_VIEWWINDOW_H

#include <windows.h>

#include <stdint.h>

#include "app/BrushTool.h"
#include "app/FrameTimer.h"
#include "render/FramePresenter.h"
#include "render/MapView.h"

class EditorEvents;
class FontRegistry;
class MapDocument;
class PaletteDialog;
class Renderer;
class StatusBar;

// Zoom steps of the wheel and of + and -, and the closest zoom.
const double kZoomStep = 1.25;
const int kMostPixelsPerCell = 64;

// A gesture in the view as it stands.
struct PointerGesture
{
    bool leftButtonDown = false;
    bool rightButtonDown = false;
    // The press picked an object: the movements drag the selection once the
    // pointer has left the system's drag distance around the press point
    // (`moving` from then on). Starts false: the first press in the view
    // must not move object 0.
    bool dragging = false;
    bool moving = false;
    int pressX = 0, pressY = 0; // where the left button went down
    int picked = -1;            // the object the press picked
    // The document's change count at the press: a drag does not begin on
    // contents that an edit, Undo or Redo changed under the held button.
    uint64_t changesAtPress = 0;
    int rightPressX = 0, rightPressY = 0;
    // A rubber band being drawn from a press on empty space: its corners in
    // view pixels, and whether it adds to the selection (Shift held).
    bool banding = false;
    bool bandAdds = false;
    int bandX0 = 0, bandY0 = 0, bandX1 = 0, bandY1 = 0;
    // The middle button dragging the map, from this view point.
    bool panning = false;
    int panX = 0, panY = 0;
    // Wheel turns smaller than one notch, kept for the next.
    int wheelRemainder = 0;
    // Where the right-click popup was opened (client pixels): its commands act there.
    int popupX = 0, popupY = 0;
};

class ViewWindow : private FrameScene
{
  public:
    ViewWindow(MapDocument& document, Renderer& renderer, FontRegistry& fonts, StatusBar& status,
               PaletteDialog& palette, EditorEvents& events);
    ~ViewWindow();
    ViewWindow(const ViewWindow&) = delete;
    ViewWindow& operator=(const ViewWindow&) = delete;

    HWND Create(HINSTANCE instance, HWND parent);
    HWND Handle() const { return window_; }

    // ---- Frames (ViewWindow.cpp) ----
    // Frames are drawn once the device and the fonts exist: the labels' and
    // the count's fonts (slots of the font registry).
    void EnableFrames(int labelFont, int statusFont);
    void EnableFrames(bool enabled) { framesEnabled_ = enabled; }
    bool FramesEnabled() const { return framesEnabled_; }
    // Asks for one frame: the view is drawn the next time the message queue
    // is empty. Frames are drawn only when something changed (or while the
    // right button scrolls).
    void RequestFrame();
    // BeginFrame, map, objects, rubber band, "Objects: %d", the frame's end;
    // only the part that changed since the kept frame when that is all (the
    // map is drawn whole, the objects only where they reach into the part).
    // `update` is what the system asked to repaint (client pixels), if any.
    void DrawFrame(const RECT* update = nullptr);
    // What the next frame would draw.
    KeptFrame::Plan PlanFrame() const;
    // The next frame is drawn whole.
    void ForgetKeptFrame() { presenter_.Forget(); }
    // How the frames reach the window.
    FramePresenter& Presenter() { return presenter_; }
    // One idle pass of the main loop: timer, right-button scrolling, a frame.
    void Tick();
    // Whole frames of many objects drawn in slices of about this many
    // milliseconds between messages, or of at most this many objects when
    // given (0: every frame at once, as tests and benchmarks draw them
    // unless they ask). The editor turns it on.
    void SliceFrames(int milliseconds, size_t objectsPerSlice = 0)
    {
        sliceMilliseconds_ = milliseconds;
        sliceObjects_ = objectsPerSlice;
    }
    // A whole frame is being drawn in slices: the main loop calls
    // ContinueFrame whenever no message waits.
    bool FrameInProgress() const { return presenter_.FrameInProgress(); }
    void ContinueFrame();
    MapView& Map() { return map_; }
    const MapView& Map() const { return map_; }
    int StatusFont() const { return statusFont_; }
    FrameTimer& Timer() { return timer_; }
    // Seconds between the last two ticks: right-button scrolling's speed.
    float FrameTime() const { return frameTime_; }

    // ---- Gestures (PointerEditing.cpp) ----
    const PointerGesture& Gesture() const { return gesture_; }
    // Right-button scrolling is on: the main loop then ticks while idle.
    bool Scrolling() const { return gesture_.rightButtonDown; }
    // No button held, no drag, band or pan.
    void ResetGesture();
    // The right button held at a view point: the view scrolls toward the
    // pointer's offset from it.
    void BeginScroll(int px, int py);
    // One step of that scrolling, for the time the last tick measured.
    void ScrollToward(int px, int py);
    void StartBand(int px, int py, bool adds);
    void StretchBand(int px, int py);
    // A command ended the drag or the band: the movements that follow do nothing.
    void StopDragging() { gesture_.dragging = gesture_.moving = false; }
    // After a key or a command: the document ends an open drag before any
    // other edit, Undo or Redo, and the rest of the press then drags nothing.
    void FollowDocument();
    void StopBanding() { gesture_.banding = false; }
    // Where the popup's Insert Object and Delete Object act.
    void SetPopupPoint(int px, int py);
    // Delete, R / Shift+R, T, Escape and the arrow keys (Shift: ten cells).
    void OnKey(WPARAM key);
    // The map position under a view point; false while the map has no size.
    bool ViewPointToMap(int px, int py, float* x, float* y) const;
    // Places an object of the palette's type and rotation at a view point
    // (nothing outside the map square); "Randomize" then picks the next rotation.
    bool PlaceObjectAt(int px, int py);

    // ---- Zoom and pan (ViewNavigation.cpp) ----
    // The view's client size in pixels.
    void Size(int* width, int* height) const;
    // The scale at which the whole map fits the view (at least 1).
    int FitScale() const;
    void ZoomBySteps(int steps, int px, int py);
    void ZoomAtCentre(int steps);
    void FitMap();
    // View > Zoom: one heightmap pixel spans 2 x factor view pixels; the
    // scroll returns to the map's top-left corner.
    void Zoom(int factor);
    // Moves the scroll back to where the map's edges are no further in than
    // the view's centre.
    void KeepScrollInBounds();

    // ---- Brush and eraser (BrushPointer.cpp) ----
    // Tools > Select, Brush, Eraser: what the left button does. The status
    // bar names the tool; the brush and the eraser show their outline.
    void ChooseTool(Tool tool);
    Tool CurrentTool() const { return brush_.tool; }
    const BrushSettings& Brush() const { return brush_.settings; }
    void SetBrushSettings(const BrushSettings& settings);
    // [ and ], Ctrl+wheel: the radius in steps of 1.25x (1 to 256 cells).
    void StepBrushRadius(int steps);
    // The outline the next frame draws under the pointer, if any.
    FrameOutline BrushOutline() const;

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void OnSize(int width, int height);
    void OnMouseMove(int x, int y);
    void OnLeftButtonDown(int x, int y);
    void OnLeftButtonUp(WPARAM buttons);
    void OnRightButtonDown(int x, int y);
    void OnRightButtonUp(WPARAM buttons, int x, int y);
    void OnMiddleButtonDown(int x, int y);
    void OnMiddleButtonUp(WPARAM buttons);
    void OnWheel(WPARAM wParam, LPARAM lParam);
    void OnCaptureChanged(HWND taker);
    void ShowPopupMenu(int x, int y);
    FrameInputs Inputs() const;
    // The frame's scene, as FramePresenter draws it.
    void BeginScene(const ViewArea* parts, int partCount) override;
    bool DrawSceneObjects(const ObjectsDeadline* deadline) override;
    void FinishScene() override;
    // The end of the slice starting now, or null without slicing.
    const ObjectsDeadline* SliceDeadline(ObjectsDeadline* storage) const;

    // Pointer editing.
    void PressAt(int px, int py);
    void MoveTo(int px, int py);
    void EndPress();
    void EndPointerPress();
    void DragTo(int px, int py);
    // The pointer has moved further from the press than the drag distance.
    bool PastDragDistance(int px, int py) const;
    // The document's drag, grabbed where the button went down; false when the
    // press's pick no longer stands (moved off the selection, or the
    // contents changed since the press).
    bool BeginDragAtPress();
    void StartPan(int px, int py);
    void PanTo(int px, int py);

    // Brush and eraser strokes: false (nothing begun) for the select tool.
    bool BeginStrokeAt(int px, int py);
    void StrokeAt(int px, int py);
    void EndStroke();
    void TrackPointer(int px, int py);
    void PointerLeft();
    void OutlineMoved(); // the brush's outline moved, appeared or went

    MapDocument& document_;
    Renderer& renderer_;
    FontRegistry& fonts_;
    StatusBar& status_;
    PaletteDialog& palette_;
    EditorEvents& events_;
    HWND window_ = nullptr;

    MapView map_;
    FramePresenter presenter_; // the frame on screen, and what it was drawn from
    int statusFont_ = 0;
    bool framesEnabled_ = false;
    FrameTimer timer_;
    float frameTime_ = 0.0f;
    int sliceMilliseconds_ = 0;
    size_t sliceObjects_ = 0;
    PointerGesture gesture_;
    BrushTool brush_;
};

#endif
