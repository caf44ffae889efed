// The texture-stage presets on the real device, counted with the recorder:
// the number of calls of every preset with a few pinned rows, the
// currentPreset rule, the numbers that change nothing, and the frame-buffer
// blend that preset 9 leaves (read back as pixels).
#include <gtest/gtest.h>

#include <limits.h>

#include <memory>
#include <vector>

#include "render/TexturedVertex.h"
#include "tests/render/ViewTestSupport.h"
#include "tests/support/DeviceRecorder.h"

using namespace viewtest;

namespace
{
// How many calls each preset makes.
const struct
{
    int preset;
    size_t count;
} kCounts[] = {{0, 11}, {1, 11}, {2, 8}, {3, 10}, {4, 8}, {5, 9}, {6, 10}, {9, 19}};

// Rows that tell the presets apart: the first, a characteristic one or the
// last of each list, by 1-based position. (Preset 9's three render states,
// its last calls, show in the blend test below.)
const struct Row
{
    int preset;
    size_t position;
    DWORD stage, state, value;
} kPinnedRows[] = {
    {0, 1, 0, D3DTSS_COLOROP, D3DTOP_MODULATE},
    {0, 7, 1, D3DTSS_COLOROP, D3DTOP_DISABLE},
    {0, 11, 1, D3DTSS_COLORARG2, D3DTA_CURRENT},
    {1, 1, 1, D3DTSS_MAGFILTER, D3DTEXF_LINEAR},
    {1, 7, 0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1},
    {1, 11, 1, D3DTSS_ALPHAARG2, D3DTA_CURRENT},
    {2, 4, 0, D3DTSS_COLOROP, D3DTOP_SELECTARG1},
    {2, 6, 1, D3DTSS_COLOROP, D3DTOP_MODULATE},
    {3, 7, 1, D3DTSS_COLOROP, D3DTOP_ADD},
    {3, 10, 1, D3DTSS_TEXCOORDINDEX, 1},
    {4, 6, 1, D3DTSS_COLOROP, D3DTOP_MODULATE2X},
    {4, 8, 1, D3DTSS_COLORARG2, D3DTA_CURRENT},
    {5, 3, 1, D3DTSS_MIPFILTER, D3DTEXF_ANISOTROPIC},
    {5, 7, 1, D3DTSS_COLOROP, D3DTOP_ADD},
    {6, 6, 0, D3DTSS_TEXCOORDINDEX, 0},
    {6, 7, 1, D3DTSS_COLOROP, D3DTOP_ADDSIGNED},
    {9, 3, 1, D3DTSS_MIPFILTER, D3DTEXF_ANISOTROPIC},
    {9, 15, 1, D3DTSS_ALPHAARG1, D3DTA_TEXTURE | D3DTA_COMPLEMENT},
};

class PresetTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.Graphics().FailedStep();
        guard_.reset(new DeviceStateGuard);
    }
    void TearDown() override { guard_.reset(); }

    // The device calls of one request.
    static std::vector<DeviceCall> CallsOf(int preset, bool force)
    {
        DeviceRecorder recorder(app.Graphics().Device());
        app.Graphics().Textures().ApplyPreset(preset, force);
        return recorder.calls;
    }

    std::unique_ptr<DeviceStateGuard> guard_;
};
} // namespace

TEST_F(PresetTest, EveryPresetMakesItsCountOfCallsWithItsPinnedRows)
{
    for (const auto& p : kCounts)
    {
        for (bool force : {true, false})
        {
            if (p.preset == 0 && !force)
                continue; // the one request that is skipped
            const std::vector<DeviceCall> calls = CallsOf(p.preset, force);
            ASSERT_EQ(calls.size(), p.count) << "preset " << p.preset << " force " << force;
            int renderStates = 0;
            for (const DeviceCall& call : calls)
                renderStates += call.kind == DeviceCall::SetRenderState;
            EXPECT_EQ(renderStates, p.preset == 9 ? 3 : 0) << "preset " << p.preset;
            for (const Row& row : kPinnedRows)
            {
                if (row.preset != p.preset)
                    continue;
                const DeviceCall& call = calls[row.position - 1];
                EXPECT_TRUE(call.kind == DeviceCall::SetTextureStageState && call.a == row.stage &&
                            call.b == row.state && call.c == row.value)
                    << "preset " << p.preset << " #" << row.position;
            }
        }
        EXPECT_EQ(app.Graphics().Textures().currentPreset, 0)
            << "a request never changes currentPreset";
    }
}

TEST_F(PresetTest, OnlyAnUnforcedRequestForTheCurrentPresetIsSkipped)
{
    EXPECT_EQ(CallsOf(0, false).size(), 0u);
    EXPECT_EQ(CallsOf(0, true).size(), 11u);
    EXPECT_EQ(CallsOf(2, false).size(), 8u);
    EXPECT_EQ(CallsOf(2, false).size(), 8u) << "preset 2 again";
    for (int preset : {7, 8, 10, -1, INT_MIN, INT_MAX})
        for (bool force : {false, true})
            EXPECT_EQ(CallsOf(preset, force).size(), 0u) << preset << (force ? " forced" : "");
}

TEST_F(PresetTest, WithoutADeviceNothingHappens)
{
    TextureTable table; // no renderer link
    table.ApplyPreset(2, true);
    Renderer renderer; // a link, but no device
    renderer.Textures().renderer = &renderer;
    DeviceRecorder recorder(app.Graphics().Device());
    renderer.Textures().ApplyPreset(9, true);
    EXPECT_TRUE(recorder.calls.empty());
}

TEST_F(PresetTest, PresetNineBlendsSourceTimesAlphaOverNothing)
{
    // Half-transparent orange from the vertex colour over the blue
    // background: with preset 9 nothing of the blue remains; with the
    // start-up blend about half of it shows through.
    const struct
    {
        bool preset9;
        unsigned expected;
    } cases[] = {{true, 0xFF804000u}, {false, 0xFF80407Fu}};
    for (const auto& c : cases)
    {
        DeviceStateGuard guard;
        if (c.preset9)
            app.Graphics().Textures().ApplyPreset(9, true);
        DWORD value = 0;
        app.Graphics().Device()->GetRenderState(D3DRS_DESTBLEND, &value);
        EXPECT_EQ(value, c.preset9 ? (DWORD)D3DBLEND_ZERO : (DWORD)D3DBLEND_INVSRCALPHA);

        // The colour and alpha come from the vertex alone, so that only the
        // frame-buffer blend decides the pixel.
        app.Graphics().Device()->SetTexture(0, nullptr);
        app.Graphics().Device()->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        app.Graphics().Device()->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
        app.Graphics().Device()->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        app.Graphics().Device()->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
        app.Graphics().Device()->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
        app.Graphics().Device()->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
        const D3DCOLOR orange = 0x80FF8000;
        const TexturedVertex quad[4] = {{10, 10, 0, 1, orange, 0, 0, 0, 0},
                                        {50, 10, 0, 1, orange, 1, 0, 0, 0},
                                        {10, 50, 0, 1, orange, 0, 1, 0, 0},
                                        {50, 50, 0, 1, orange, 1, 1, 0, 0}};
        const BackBufferPixels pixels = DrawnFrame(
            [&]
            {
                app.Graphics().Device()->SetVertexShader(kTexturedVertexFormat);
                app.Graphics().Device()->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad,
                                                         sizeof(TexturedVertex));
            });
        ASSERT_GT(pixels.width, 50);
        EXPECT_TRUE(Near(pixels.At(30, 30), c.expected, 2))
            << std::hex << pixels.At(30, 30) << (c.preset9 ? " preset 9" : " start-up blend");
        EXPECT_EQ(pixels.At(60, 60), 0xFF0000FFu);
    }
}
