// Method-table patching for DeviceRecorder: one MethodPatch per recorded
// method; each hook records the call and passes it to the original.
#include "tests/support/DeviceRecorder.h"

#include <memory>

#include "tests/support/MethodPatch.h"

namespace
{
DeviceRecorder* active = nullptr;

// The recorded methods, in the order of kHooks below.
enum Hook
{
    HookSetRenderState,
    HookSetTextureStageState,
    HookSetTexture,
    HookDrawPrimitive,
    HookDrawPrimitiveUP,
    HookSetVertexShader,
    HookClear,
    HookPresent,
    HookCaptureStateBlock,
    HookApplyStateBlock,
    HookCount
};

MethodPatch* patches[HookCount];

template <typename F> F Original(Hook hook)
{
    return patches[hook]->Original<F>();
}

void Record(DeviceCall::Kind kind, DWORD a = 0, DWORD b = 0, DWORD c = 0,
            IDirect3DBaseTexture8* texture = nullptr)
{
    if (!active)
        return;
    DeviceCall call;
    call.kind = kind;
    call.a = a;
    call.b = b;
    call.c = c;
    call.texture = texture;
    active->calls.push_back(call);
}

typedef IDirect3DDevice8 Dev;

HRESULT WINAPI OnSetRenderState(Dev* self, D3DRENDERSTATETYPE state, DWORD value)
{
    Record(DeviceCall::SetRenderState, state, value);
    return Original<HRESULT(WINAPI*)(Dev*, D3DRENDERSTATETYPE, DWORD)>(HookSetRenderState)(
        self, state, value);
}

HRESULT WINAPI OnSetTextureStageState(Dev* self, DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                      DWORD value)
{
    Record(DeviceCall::SetTextureStageState, stage, type, value);
    return Original<HRESULT(WINAPI*)(Dev*, DWORD, D3DTEXTURESTAGESTATETYPE, DWORD)>(
        HookSetTextureStageState)(self, stage, type, value);
}

HRESULT WINAPI OnSetTexture(Dev* self, DWORD stage, IDirect3DBaseTexture8* texture)
{
    Record(DeviceCall::SetTexture, stage, 0, 0, texture);
    return Original<HRESULT(WINAPI*)(Dev*, DWORD, IDirect3DBaseTexture8*)>(HookSetTexture)(
        self, stage, texture);
}

HRESULT WINAPI OnDrawPrimitive(Dev* self, D3DPRIMITIVETYPE type, UINT start, UINT count)
{
    Record(DeviceCall::DrawPrimitive, type, start, count);
    return Original<HRESULT(WINAPI*)(Dev*, D3DPRIMITIVETYPE, UINT, UINT)>(HookDrawPrimitive)(
        self, type, start, count);
}

HRESULT WINAPI OnDrawPrimitiveUP(Dev* self, D3DPRIMITIVETYPE type, UINT count, const void* data,
                                 UINT stride)
{
    Record(DeviceCall::DrawPrimitiveUP, type, count, stride);
    return Original<HRESULT(WINAPI*)(Dev*, D3DPRIMITIVETYPE, UINT, const void*, UINT)>(
        HookDrawPrimitiveUP)(self, type, count, data, stride);
}

HRESULT WINAPI OnSetVertexShader(Dev* self, DWORD handle)
{
    Record(DeviceCall::SetVertexShader, handle);
    return Original<HRESULT(WINAPI*)(Dev*, DWORD)>(HookSetVertexShader)(self, handle);
}

HRESULT WINAPI OnClear(Dev* self, DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR colour,
                       float z, DWORD stencil)
{
    Record(DeviceCall::Clear, flags, colour);
    return Original<HRESULT(WINAPI*)(Dev*, DWORD, const D3DRECT*, DWORD, D3DCOLOR, float, DWORD)>(
        HookClear)(self, count, rects, flags, colour, z, stencil);
}

HRESULT WINAPI OnPresent(Dev* self, const RECT* source, const RECT* dest, HWND window,
                         const RGNDATA* dirty)
{
    Record(DeviceCall::Present);
    return Original<HRESULT(WINAPI*)(Dev*, const RECT*, const RECT*, HWND, const RGNDATA*)>(
        HookPresent)(self, source, dest, window, dirty);
}

HRESULT WINAPI OnCaptureStateBlock(Dev* self, DWORD handle)
{
    Record(DeviceCall::CaptureStateBlock, handle);
    return Original<HRESULT(WINAPI*)(Dev*, DWORD)>(HookCaptureStateBlock)(self, handle);
}

HRESULT WINAPI OnApplyStateBlock(Dev* self, DWORD handle)
{
    Record(DeviceCall::ApplyStateBlock, handle);
    return Original<HRESULT(WINAPI*)(Dev*, DWORD)>(HookApplyStateBlock)(self, handle);
}

void* const kHooks[HookCount] = {
    (void*)OnSetRenderState,  (void*)OnSetTextureStageState, (void*)OnSetTexture,
    (void*)OnDrawPrimitive,   (void*)OnDrawPrimitiveUP,      (void*)OnSetVertexShader,
    (void*)OnClear,           (void*)OnPresent,              (void*)OnCaptureStateBlock,
    (void*)OnApplyStateBlock,
};

} // namespace

DeviceRecorder::DeviceRecorder(IDirect3DDevice8* device)
{
    if (!device || active)
        return;
    const auto patch = [&](Hook hook, auto method) {
        patches_.emplace_back(new MethodPatch(device, method, kHooks[hook]));
        patches[hook] = patches_.back().get();
    };
    patch(HookSetRenderState, &Dev::SetRenderState);
    patch(HookSetTextureStageState, &Dev::SetTextureStageState);
    patch(HookSetTexture, &Dev::SetTexture);
    patch(HookDrawPrimitive, &Dev::DrawPrimitive);
    patch(HookDrawPrimitiveUP, &Dev::DrawPrimitiveUP);
    patch(HookSetVertexShader, &Dev::SetVertexShader);
    patch(HookClear, &Dev::Clear);
    patch(HookPresent, &Dev::Present);
    patch(HookCaptureStateBlock, &Dev::CaptureStateBlock);
    patch(HookApplyStateBlock, &Dev::ApplyStateBlock);
    active = this;
}

DeviceRecorder::~DeviceRecorder()
{
    if (active != this)
        return;
    patches_.clear(); // puts the original methods back
    active = nullptr;
}

int DeviceRecorder::Count(DeviceCall::Kind kind) const
{
    int n = 0;
    for (const DeviceCall& call : calls)
        n += call.kind == kind;
    return n;
}

std::vector<DeviceCall> DeviceRecorder::OfKind(DeviceCall::Kind kind) const
{
    std::vector<DeviceCall> out;
    for (const DeviceCall& call : calls)
        if (call.kind == kind)
            out.push_back(call);
    return out;
}
