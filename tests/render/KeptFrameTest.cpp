// Frames drawn in part over the kept frame, on Wine's real device: after each
// kind of edit in a crowded scene (and as the brush's outline comes, follows
// the pointer and goes) the picture shown is the one a frame drawn whole
// gives, pixel for pixel, and the window shows it; what must redraw the
// whole frame does.
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "tests/render/ViewTestSupport.h"
#include "tests/support/WindowCapture.h"

using namespace viewtest;

namespace
{
class KeptFrameTest : public EditorDeviceTest
{
  protected:
    void SetUp() override
    {
        EditorDeviceTest::SetUp();
        if (HasFatalFailure())
            return;
        app.Graphics().ResizeViewport(0, 0, (unsigned)app.Graphics().Width(),
                                      (unsigned)app.Graphics().Height());
        MapDocument& doc = app.Document();
        doc.SwapContents(&keptTypes_, &keptObjects_);
        keptScale_ = doc.viewScale;
        doc.viewScale = 2000;
        // The brush's outline is measured in heightmap cells.
        keptWidth_ = doc.width;
        keptHeight_ = doc.height;
        doc.width = doc.height = 256;
        doc.scrollX = doc.scrollY = 300.0f;
        doc.AddObjectType("..\\objects\\tree.ini");
        doc.AddObjectType("W");
        // A heap of overlapping, turned objects of both types and one past
        // the catalog (no label), every third selected.
        AddObjectHeap(doc, 7, 300, 200.0f, 150.0f, 400, 300, 3);
    }
    void TearDown() override
    {
        MapDocument& doc = app.Document();
        doc.SwapContents(&keptTypes_, &keptObjects_);
        doc.viewScale = keptScale_;
        doc.width = keptWidth_;
        doc.height = keptHeight_;
        doc.scrollX = doc.scrollY = 0.0f;
        app.View().ResetGesture();
        app.View().ChooseTool(Tool::Select);
        app.View().SetBrushSettings(BrushSettings());
        app.View().Map().showLabels = true;
        app.View().ForgetKeptFrame();
    }

    KeptFrame::Plan Plan() const { return app.View().PlanFrame(); }
    // The pointer over the view at a client point, no button held: the
    // system's pointer too, or the view hears that it left.
    static void PointerAt(int x, int y)
    {
        POINT at = {x, y};
        ClientToScreen(app.View().Handle(), &at);
        SetCursorPos(at.x, at.y);
        SendMessageA(app.View().Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    }

    // The client area of the view window as the screen shows it.
    static BackBufferPixels WindowPixels(int width, int height)
    {
        BackBufferPixels shown;
        shown.width = width;
        shown.height = height;
        shown.pixels = CapturePixels(app.View().Handle(), 0, 0, width, height);
        return shown;
    }

    static size_t Differences(const BackBufferPixels& a, const BackBufferPixels& b, int width,
                              int height, size_t* first)
    {
        size_t differ = 0;
        for (int y = height; y-- > 0;)
            for (int x = width; x-- > 0;)
                if (a.At(x, y) != b.At(x, y))
                    ++differ, *first = (size_t)y * 65536 + (size_t)x;
        return differ;
    }

    std::vector<ObjectType> keptTypes_;
    std::vector<PlacedObject> keptObjects_;
    int keptScale_ = 0;
    int keptWidth_ = 0, keptHeight_ = 0;
};
} // namespace

TEST_F(KeptFrameTest, EachEditDrawnInPartShowsTheWholeFramesPixels)
{
    MapDocument& doc = app.Document();
    const float pixel = 1.0f / (float)doc.viewScale;
    const struct
    {
        const char* edit;
        std::function<void()> apply;
        KeptFrame::Redraw redraw;
        bool small; // parts of under a twentieth of the view
    } edits[] = {
        {"nothing", [] {}, KeptFrame::Nothing, true},
        {"a drag step", [&] { doc.objects[40].x += 5 * pixel; }, KeptFrame::Part, true},
        {"one under the others moved", [&] { doc.objects[2].y -= 7 * pixel; }, KeptFrame::Part,
         true},
        // A hundred others deselected, all over the heap.
        {"selected", [&] { doc.SelectOnly(100); }, KeptFrame::Part, false},
        {"turned", [&] { doc.RotateSelection(45); }, KeptFrame::Part, true},
        // The count in the corner changes too: a part of its own.
        {"deleted", [&] { doc.DeleteObject(150); }, KeptFrame::Part, true},
        {"placed", [&] { doc.PlaceObject(0.3f, 0.3f, 10); }, KeptFrame::Part, true},
        {"the band appears",
         []
         {
             app.View().StartBand(250, 200, false);
             app.View().StretchBand(330, 260);
         },
         KeptFrame::Part, true},
        {"the band grows", [] { app.View().StretchBand(360, 260); }, KeptFrame::Part, true},
        {"the band goes", [] { app.View().StopBanding(); }, KeptFrame::Part, true},
        {"all selected", [&] { doc.SelectAll(); }, KeptFrame::Part, false},
        // The brush's outline under the pointer: its old and new boxes.
        {"the outline appears",
         []
         {
             app.View().ChooseTool(Tool::Brush);
             app.View().StepBrushRadius(-6);
             PointerAt(300, 220);
         },
         KeptFrame::Part, true},
        {"the outline follows the pointer", [] { PointerAt(340, 250); }, KeptFrame::Part, true},
        {"the outline grows", [] { app.View().StepBrushRadius(2); }, KeptFrame::Part, true},
        {"the outline goes", [] { app.View().ChooseTool(Tool::Select); }, KeptFrame::Part, true},
        {"a type hidden", [&] { doc.SetTypeHidden(0, true); }, KeptFrame::Whole, false},
        {"shown again", [&] { doc.SetTypeHidden(0, false); }, KeptFrame::Whole, false},
        {"scrolled a pixel", [&] { doc.scrollX += 1.0f; }, KeptFrame::Whole, false},
        {"labels off", [] { app.View().Map().showLabels = false; }, KeptFrame::Whole, false},
        {"labels on", [] { app.View().Map().showLabels = true; }, KeptFrame::Whole, false},
        {"a type renamed", [&] { doc.objectTypes[1].path = "WW"; }, KeptFrame::Whole, false},
        // Spread over the whole view: more than half of it changes.
        {"the heap spread out",
         [&]
         {
             for (size_t i = 0; i < doc.objects.size(); ++i)
                 doc.objects[i].x = doc.objects[i].y = (300.0f + (float)i * 3) * pixel;
         },
         KeptFrame::Whole, false},
    };
    app.View().ForgetKeptFrame();
    app.View().DrawFrame();
    const double viewPixels = (double)app.Graphics().Width() * app.Graphics().Height();
    for (const auto& e : edits)
    {
        e.apply();
        const KeptFrame::Plan plan = Plan();
        EXPECT_EQ(plan.redraw, e.redraw) << e.edit;
        double parts = 0.0;
        for (int i = 0; i < plan.partCount; ++i)
            parts += (double)(plan.parts[i].right - plan.parts[i].left) *
                     (plan.parts[i].bottom - plan.parts[i].top);
        if (e.small)
        {
            EXPECT_LT(parts, viewPixels / 20) << e.edit;
        }
        app.View().DrawFrame();
        BackBufferPixels inPart, whole;
        ASSERT_TRUE(ReadShownFrame(&inPart)) << e.edit;
        RECT client = {0, 0, 0, 0};
        GetClientRect(app.View().Handle(), &client);
        const int shownWidth = std::min<int>(client.right, app.Graphics().Width());
        const int shownHeight = std::min<int>(client.bottom, app.Graphics().Height());
        const BackBufferPixels window = WindowPixels(shownWidth, shownHeight);
        app.View().ForgetKeptFrame();
        app.View().DrawFrame();
        ASSERT_TRUE(ReadShownFrame(&whole)) << e.edit;
        size_t first = 0;
        EXPECT_EQ(
            Differences(inPart, whole, app.Graphics().Width(), app.Graphics().Height(), &first), 0u)
            << e.edit << ": first at (" << first % 65536 << ", " << first / 65536 << ")";
        EXPECT_EQ(Differences(window, whole, shownWidth, shownHeight, &first), 0u)
            << e.edit << ", the window: first at (" << first % 65536 << ", " << first / 65536
            << ")";
    }
}
