// Records the calls that the code under test makes on the real Direct3D 8
// device, in order, while still passing each one on to the device. It patches
// the device's method table for its lifetime (one recorder at a time), so the
// pixels that tests read back are still the real device's work.
#ifndef MAPEDITOR_TESTS_DEVICERECORDER_H
#define MAPEDITOR_TESTS_DEVICERECORDER_H

#include <windows.h>
#include <d3d8.h>

#include <memory>
#include <vector>

class MethodPatch;

struct DeviceCall
{
    enum Kind
    {
        SetRenderState,       // a = state, b = value
        SetTextureStageState, // a = stage, b = state, c = value
        SetTexture,           // a = stage, texture = the texture
        DrawPrimitive,        // a = primitive type, b = start vertex, c = primitive count
        DrawPrimitiveUP,      // a = primitive type, b = primitive count, c = stride
        SetVertexShader,      // a = handle / vertex format
        Clear,                // a = flags, b = colour
        Present,
        CaptureStateBlock, // a = handle
        ApplyStateBlock,   // a = handle
    };
    Kind kind;
    DWORD a = 0, b = 0, c = 0;
    IDirect3DBaseTexture8* texture = nullptr;
};

class DeviceRecorder
{
  public:
    explicit DeviceRecorder(IDirect3DDevice8* device);
    ~DeviceRecorder();
    DeviceRecorder(const DeviceRecorder&) = delete;
    DeviceRecorder& operator=(const DeviceRecorder&) = delete;

    std::vector<DeviceCall> calls;

    int Count(DeviceCall::Kind kind) const;
    std::vector<DeviceCall> OfKind(DeviceCall::Kind kind) const;
    void Clear() { calls.clear(); }

  private:
    std::vector<std::unique_ptr<MethodPatch>> patches_;
};

#endif
