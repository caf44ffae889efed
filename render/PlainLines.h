// What the view's outlines (the rubber band, the brush's circle) draw with:
// a vertex that is a point with a colour, and the texture stages of a plain
// coloured line, set for as long as a PlainLineStates lives and put back as
// they were when it goes.
#ifndef MAPEDITOR_PLAINLINES_H
#define MAPEDITOR_PLAINLINES_H

#include <d3d8.h>
#include <stddef.h>

struct LineVertex
{
    float x, y, z, rhw;
    D3DCOLOR diffuse;
};
const DWORD kLineVertexFormat = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;

class PlainLineStates
{
  public:
    explicit PlainLineStates(IDirect3DDevice8* device) : device_(device)
    {
        for (size_t i = 0; i < kCount; ++i)
        {
            const auto state = (D3DTEXTURESTAGESTATETYPE)kStates[i].state;
            device_->GetTextureStageState(kStates[i].stage, state, &saved_[i]);
            device_->SetTextureStageState(kStates[i].stage, state, kStates[i].value);
        }
        device_->SetVertexShader(kLineVertexFormat);
    }
    ~PlainLineStates()
    {
        for (size_t i = kCount; i-- > 0;)
            device_->SetTextureStageState(kStates[i].stage,
                                          (D3DTEXTURESTAGESTATETYPE)kStates[i].state, saved_[i]);
    }
    PlainLineStates(const PlainLineStates&) = delete;
    PlainLineStates& operator=(const PlainLineStates&) = delete;

  private:
    struct StageState
    {
        DWORD stage, state, value;
    };
    static constexpr StageState kStates[] = {
        {0, D3DTSS_COLOROP, D3DTOP_SELECTARG1}, {0, D3DTSS_COLORARG1, D3DTA_DIFFUSE},
        {0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1}, {0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE},
        {1, D3DTSS_COLOROP, D3DTOP_DISABLE},    {1, D3DTSS_ALPHAOP, D3DTOP_DISABLE},
    };
    static constexpr size_t kCount = sizeof(kStates) / sizeof(kStates[0]);

    IDirect3DDevice8* device_;
    DWORD saved_[kCount];
};

#endif
