// Whole frames drawn in slices between messages, on Wine's real device: the
// window keeps the last complete picture while a frame is in slices, the
// finished frame has the pixels of the frame drawn at once, a change
// abandons the frame in progress (the brush's outline moving does not), and
// the main loop handles a message posted while a frame is in slices before
// the frame is complete.
#include <gtest/gtest.h>

#include <string.h>

#include "app/EditorMain.h"
#include "tests/render/ViewTestSupport.h"
#include "tests/support/WindowCapture.h"

using namespace viewtest;

namespace
{
class SlicedFrameTest : public EditorDeviceTest
{
  protected:
    void SetUp() override
    {
        EditorDeviceTest::SetUp();
        if (HasFatalFailure())
            return;
        MapDocument& doc = app.Document();
        doc.SwapContents(&keptTypes_, &keptObjects_);
        keptScale_ = doc.viewScale;
        doc.viewScale = 1500;
        doc.scrollX = doc.scrollY = 200.0f;
        doc.AddObjectType("..\\objects\\tree.ini");
        doc.AddObjectType("W");
        // Enough overlapping, labelled objects for several segments of
        // vertices and many slices; every fifth selected.
        AddObjectHeap(doc, 11, 2500, 20.0f, 20.0f, 700, 500, 5);
        app.View().ResetGesture();
        app.View().ForgetKeptFrame();
    }
    void TearDown() override
    {
        while (app.View().FrameInProgress())
            app.View().ContinueFrame();
        app.View().SliceFrames(0);
        app.View().ChooseTool(Tool::Select);
        MapDocument& doc = app.Document();
        doc.SwapContents(&keptTypes_, &keptObjects_);
        doc.viewScale = keptScale_;
        doc.scrollX = doc.scrollY = 0.0f;
        app.View().ForgetKeptFrame();
    }

    static BackBufferPixels Shown()
    {
        BackBufferPixels shown;
        EXPECT_TRUE(ReadShownFrame(&shown));
        return shown;
    }

    std::vector<ObjectType> keptTypes_;
    std::vector<PlacedObject> keptObjects_;
    int keptScale_ = 0;
};

// The view's client area as the screen shows it.
std::vector<unsigned> WindowPixels(const BackBufferPixels& like)
{
    return CapturePixels(app.View().Handle(), 0, 0, like.width, like.height);
}

// A window of the test's own that notes, when its message arrives, whether
// the view's frame was still in slices, and ends the main loop.
bool frameInProgressAtMessage = false;
unsigned framesShownAtMessage = 0;
LRESULT CALLBACK NotingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP)
    {
        frameInProgressAtMessage = app.View().FrameInProgress();
        framesShownAtMessage = app.View().Presenter().Statistics().framesShown;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
} // namespace

TEST_F(SlicedFrameTest, TheFinishedFrameHasThePixelsOfTheFrameDrawnAtOnce)
{
    MapDocument& doc = app.Document();
    const FrameStatistics& counts = app.View().Presenter().Statistics();
    app.View().DrawFrame();
    const BackBufferPixels atOnce = Shown();

    // Another picture on screen: the view scrolled by a few pixels.
    doc.scrollX += 7.0f;
    app.View().DrawFrame();
    const BackBufferPixels before = Shown();
    ASSERT_NE(before.pixels, atOnce.pixels);

    // Back, in slices of 100 objects: the window keeps the last complete
    // picture until the frame is done.
    doc.scrollX -= 7.0f;
    app.View().SliceFrames(60000, 100);
    const unsigned sliced = counts.framesSliced;
    app.View().DrawFrame();
    ASSERT_TRUE(app.View().FrameInProgress());
    EXPECT_EQ(counts.framesSliced, sliced + 1);
    int slices = 1;
    while (app.View().FrameInProgress())
    {
        if (slices % 8 == 1)
        {
            EXPECT_EQ(Shown().pixels, before.pixels) << "slice " << slices;
            EXPECT_EQ(WindowPixels(before), before.pixels) << "slice " << slices;
        }
        app.View().ContinueFrame();
        ++slices;
    }
    EXPECT_EQ(slices, 25);
    const BackBufferPixels finished = Shown();
    EXPECT_EQ(finished.pixels, atOnce.pixels);
    EXPECT_EQ(WindowPixels(finished), atOnce.pixels);

    // A change while in slices abandons the frame; the next paint starts over.
    doc.scrollX += 7.0f;
    const unsigned abandoned = counts.framesAbandoned;
    app.View().RequestFrame();
    app.View().DrawFrame();
    ASSERT_TRUE(app.View().FrameInProgress());
    doc.scrollX -= 7.0f;
    app.View().RequestFrame();
    EXPECT_EQ(counts.framesAbandoned, abandoned + 1);
    EXPECT_FALSE(app.View().FrameInProgress());
    app.View().DrawFrame();
    while (app.View().FrameInProgress())
        app.View().ContinueFrame();
    EXPECT_EQ(Shown().pixels, atOnce.pixels);
}

TEST_F(SlicedFrameTest, TheMainLoopHandlesAMessageBeforeTheFrameIsComplete)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = NotingProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "SlicedFrameTestNoting";
    RegisterClassA(&windowClass);
    HWND noting = CreateWindowA("SlicedFrameTestNoting", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                windowClass.hInstance, nullptr);
    ASSERT_NE(noting, nullptr);

    app.View().SliceFrames(60000, 100);
    app.View().DrawFrame();
    ASSERT_TRUE(app.View().FrameInProgress());
    // A few slices drawn by the loop itself, then the message.
    for (int i = 0; i < 3; ++i)
        app.View().ContinueFrame();
    const unsigned shown = app.View().Presenter().Statistics().framesShown;
    frameInProgressAtMessage = false;
    PostMessageA(noting, WM_APP, 0, 0);
    EXPECT_EQ(RunMainLoop(app), 1);
    EXPECT_TRUE(frameInProgressAtMessage);
    EXPECT_EQ(framesShownAtMessage, shown) << "no frame completed before the message";
    DestroyWindow(noting);
}

TEST_F(SlicedFrameTest, TheBrushsOutlineMovingLetsTheFrameInSlicesFinishWithTheOutlineWhereItIs)
{
    const FrameStatistics& counts = app.View().Presenter().Statistics();
    const auto pointAt = [](int x, int y)
    { SendMessageA(app.View().Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); };
    app.View().ChooseTool(Tool::Brush);
    pointAt(300, 200);
    app.View().DrawFrame();
    const BackBufferPixels atOnce = Shown();

    // A whole frame in slices with the outline elsewhere; the pointer moves
    // back while it draws: the frame goes on and ends with the outline there.
    pointAt(120, 90);
    app.View().ForgetKeptFrame();
    app.View().SliceFrames(60000, 100);
    app.View().DrawFrame();
    ASSERT_TRUE(app.View().FrameInProgress());
    const unsigned abandoned = counts.framesAbandoned;
    app.View().ContinueFrame();
    pointAt(300, 200);
    EXPECT_TRUE(app.View().FrameInProgress());
    EXPECT_EQ(counts.framesAbandoned, abandoned);
    while (app.View().FrameInProgress())
        app.View().ContinueFrame();
    EXPECT_EQ(Shown().pixels, atOnce.pixels);
}
