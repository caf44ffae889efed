// The texture-stage presets on the real device, counted and compared call by
// call with the recorder: the list of every preset written out here on its
// own, the currentPreset rule, the numbers that change nothing, and the
// frame-buffer blend that preset 9 leaves (read back as pixels).
#include <gtest/gtest.h>

#include <limits.h>

#include <memory>
#include <string>
#include <vector>

#include "render/TexturedVertex.h"
#include "tests/render/ViewTestSupport.h"
#include "tests/support/DeviceRecorder.h"

using namespace viewtest;

namespace
{
struct Expected
{
    bool render; // SetRenderState, else SetTextureStageState
    DWORD stage, state, value;
};

Expected S(DWORD stage, DWORD state, DWORD value)
{
    return {false, stage, state, value};
}
Expected R(DWORD state, DWORD value)
{
    return {true, 0, state, value};
}

// Stage 1's filters, then the rest of the list.
std::vector<Expected> AfterFilters(DWORD mipFilter, std::initializer_list<Expected> rest)
{
    std::vector<Expected> calls = {S(1, D3DTSS_MAGFILTER, D3DTEXF_LINEAR),
                                   S(1, D3DTSS_MINFILTER, D3DTEXF_LINEAR),
                                   S(1, D3DTSS_MIPFILTER, mipFilter)};
    calls.insert(calls.end(), rest.begin(), rest.end());
    return calls;
}

// The calls each preset makes, in order.
std::vector<Expected> ExpectedCalls(int preset)
{
    const DWORD linear = D3DTEXF_LINEAR, anisotropic = D3DTEXF_ANISOTROPIC;
    switch (preset)
    {
    case 0:
        return {S(0, D3DTSS_COLOROP, D3DTOP_MODULATE), S(0, D3DTSS_COLORARG1, D3DTA_TEXTURE),
                S(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE), S(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE),
                S(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE), S(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE),
                S(1, D3DTSS_COLOROP, D3DTOP_DISABLE),  S(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE),
                S(1, D3DTSS_COLOROP, D3DTOP_MODULATE), S(1, D3DTSS_COLORARG1, D3DTA_TEXTURE),
                S(1, D3DTSS_COLORARG2, D3DTA_CURRENT)};
    case 1:
        return AfterFilters(
            linear, {S(0, D3DTSS_COLOROP, D3DTOP_MODULATE), S(0, D3DTSS_COLORARG1, D3DTA_TEXTURE),
                     S(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE), S(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1),
                     S(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE), S(1, D3DTSS_ALPHAOP, D3DTOP_MODULATE),
                     S(1, D3DTSS_ALPHAARG1, D3DTA_TEXTURE), S(1, D3DTSS_ALPHAARG2, D3DTA_CURRENT)});
    case 2:
        return AfterFilters(
            linear, {S(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1), S(0, D3DTSS_COLORARG1, D3DTA_TEXTURE),
                     S(1, D3DTSS_COLOROP, D3DTOP_MODULATE), S(1, D3DTSS_COLORARG1, D3DTA_TEXTURE),
                     S(1, D3DTSS_COLORARG2, D3DTA_CURRENT)});
    case 3:
        return AfterFilters(
            linear, {S(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1), S(0, D3DTSS_COLORARG1, D3DTA_TEXTURE),
                     S(0, D3DTSS_TEXCOORDINDEX, 0), S(1, D3DTSS_COLOROP, D3DTOP_ADD),
                     S(1, D3DTSS_COLORARG1, D3DTA_TEXTURE), S(1, D3DTSS_COLORARG2, D3DTA_CURRENT),
                     S(1, D3DTSS_TEXCOORDINDEX, 1)});
    case 4:
        return AfterFilters(
            linear, {S(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1), S(0, D3DTSS_COLORARG1, D3DTA_TEXTURE),
                     S(1, D3DTSS_COLOROP, D3DTOP_MODULATE2X), S(1, D3DTSS_COLORARG1, D3DTA_TEXTURE),
                     S(1, D3DTSS_COLORARG2, D3DTA_CURRENT)});
    case 5:
        return AfterFilters(
            anisotropic,
            {S(0, D3DTSS_COLOROP, D3DTOP_MODULATE), S(0, D3DTSS_COLORARG1, D3DTA_TEXTURE),
             S(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE), S(1, D3DTSS_COLOROP, D3DTOP_ADD),
             S(1, D3DTSS_COLORARG1, D3DTA_TEXTURE), S(1, D3DTSS_COLORARG2, D3DTA_CURRENT)});
    case 6:
        return AfterFilters(
            linear, {S(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1), S(0, D3DTSS_COLORARG1, D3DTA_TEXTURE),
                     S(0, D3DTSS_TEXCOORDINDEX, 0), S(1, D3DTSS_COLOROP, D3DTOP_ADDSIGNED),
                     S(1, D3DTSS_COLORARG1, D3DTA_TEXTURE), S(1, D3DTSS_COLORARG2, D3DTA_CURRENT),
                     S(1, D3DTSS_TEXCOORDINDEX, 1)});
    case 9:
        return AfterFilters(
            anisotropic,
            {S(0, D3DTSS_COLOROP, D3DTOP_MODULATE), S(0, D3DTSS_COLORARG1, D3DTA_TEXTURE),
             S(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE), S(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE),
             S(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE), S(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE),
             S(1, D3DTSS_TEXCOORDINDEX, 1), S(1, D3DTSS_COLOROP, D3DTOP_SELECTARG2),
             S(1, D3DTSS_COLORARG1, D3DTA_TEXTURE), S(1, D3DTSS_COLORARG2, D3DTA_CURRENT),
             S(1, D3DTSS_ALPHAOP, D3DTOP_ADDSIGNED), S(1, D3DTSS_ALPHAARG1, 0x12),
             S(1, D3DTSS_ALPHAARG2, D3DTA_CURRENT), R(D3DRS_ALPHABLENDENABLE, TRUE),
             R(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA), R(D3DRS_DESTBLEND, 1)});
    default:
        return {};
    }
}

class PresetTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.failedStep;
        guard_.reset(new DeviceStateGuard);
    }
    void TearDown() override { guard_.reset(); }

    // The device calls of one request.
    static std::vector<DeviceCall> CallsOf(int preset, bool force)
    {
        DeviceRecorder recorder(app.device);
        app.textures.ApplyPreset(preset, force);
        return recorder.calls;
    }

    static void ExpectCalls(const std::vector<DeviceCall>& calls,
                            const std::vector<Expected>& expected, const char* what)
    {
        ASSERT_EQ(calls.size(), expected.size()) << what;
        for (size_t i = 0; i < calls.size(); ++i)
        {
            const DeviceCall& call = calls[i];
            const Expected& want = expected[i];
            if (want.render)
            {
                ASSERT_EQ(call.kind, DeviceCall::SetRenderState) << what << " #" << i + 1;
                EXPECT_EQ(call.a, want.state) << what << " #" << i + 1;
                EXPECT_EQ(call.b, want.value) << what << " #" << i + 1;
            }
            else
            {
                ASSERT_EQ(call.kind, DeviceCall::SetTextureStageState) << what << " #" << i + 1;
                EXPECT_EQ(call.a, want.stage) << what << " #" << i + 1;
                EXPECT_EQ(call.b, want.state) << what << " #" << i + 1;
                EXPECT_EQ(call.c, want.value) << what << " #" << i + 1;
            }
        }
    }

    std::unique_ptr<DeviceStateGuard> guard_;
};

TEST_F(PresetTest, EveryPresetMakesItsListInOrder)
{
    const struct
    {
        int preset;
        size_t count;
    } presets[] = {{0, 11}, {1, 11}, {2, 8}, {3, 10}, {4, 8}, {5, 9}, {6, 10}, {9, 19}};
    for (const auto& p : presets)
    {
        const std::string name = "preset " + std::to_string(p.preset);
        const std::vector<Expected> expected = ExpectedCalls(p.preset);
        ASSERT_EQ(expected.size(), p.count) << name;
        ExpectCalls(CallsOf(p.preset, true), expected, (name + " forced").c_str());
        if (p.preset != 0)
            ExpectCalls(CallsOf(p.preset, false), expected, (name + " unforced").c_str());
        EXPECT_EQ(app.textures.currentPreset, 0) << "a request never changes currentPreset";
    }
}

TEST_F(PresetTest, PresetZeroReachesTheDeviceOnlyWhenForced)
{
    EXPECT_EQ(CallsOf(0, false).size(), 0u);
    EXPECT_EQ(CallsOf(0, true).size(), 11u);
    EXPECT_EQ(CallsOf(0, false).size(), 0u);
}

TEST_F(PresetTest, PresetTwoTwiceMakesItsEightCallsBothTimes)
{
    EXPECT_EQ(CallsOf(2, false).size(), 8u);
    EXPECT_EQ(CallsOf(2, false).size(), 8u);
}

TEST_F(PresetTest, OtherNumbersChangeNothing)
{
    for (int preset : {7, 8, 10, 11, -1, 100, INT_MIN, INT_MAX})
        for (bool force : {false, true})
            EXPECT_EQ(CallsOf(preset, force).size(), 0u) << preset << (force ? " forced" : "");
}

TEST_F(PresetTest, WithoutADeviceNothingHappens)
{
    TextureTable table; // no renderer link
    table.ApplyPreset(2, true);
    Renderer renderer; // a link, but no device
    renderer.textures.renderer = &renderer;
    DeviceRecorder recorder(app.device);
    renderer.textures.ApplyPreset(9, true);
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
            app.textures.ApplyPreset(9, true);
        DWORD value = 0;
        app.device->GetRenderState(D3DRS_DESTBLEND, &value);
        EXPECT_EQ(value, c.preset9 ? (DWORD)D3DBLEND_ZERO : (DWORD)D3DBLEND_INVSRCALPHA);
        app.device->GetRenderState(D3DRS_SRCBLEND, &value);
        EXPECT_EQ(value, (DWORD)D3DBLEND_SRCALPHA);
        app.device->GetRenderState(D3DRS_ALPHABLENDENABLE, &value);
        EXPECT_EQ(value, (DWORD)TRUE);

        // The colour and alpha come from the vertex alone, so that only the
        // frame-buffer blend decides the pixel.
        app.device->SetTexture(0, nullptr);
        app.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        app.device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
        app.device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        app.device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
        app.device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
        app.device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
        const D3DCOLOR orange = 0x80FF8000;
        const TexturedVertex quad[4] = {{10, 10, 0, 1, orange, 0, 0, 0, 0},
                                        {50, 10, 0, 1, orange, 1, 0, 0, 0},
                                        {10, 50, 0, 1, orange, 0, 1, 0, 0},
                                        {50, 50, 0, 1, orange, 1, 1, 0, 0}};
        const BackBufferPixels pixels = DrawnFrame(
            [&]
            {
                app.device->SetVertexShader(kTexturedVertexFormat);
                app.device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(TexturedVertex));
            });
        ASSERT_GT(pixels.width, 50);
        EXPECT_TRUE(Near(pixels.At(30, 30), c.expected, 2))
            << std::hex << pixels.At(30, 30) << (c.preset9 ? " preset 9" : " start-up blend");
        EXPECT_EQ(pixels.At(60, 60), 0xFF0000FFu);
    }
}
} // namespace
