// Method-table patching for DeviceRecorder.
//
// mingw-w64's C++ ABI stores a pointer to a virtual member function as
// 1 + the byte offset of its slot in the method table; COM interfaces are
// laid out the same way, so the slot of e.g. IDirect3DDevice8::Present is
// found from &IDirect3DDevice8::Present without numbering the methods by hand.
#include "tests/support/DeviceRecorder.h"

#include <string.h>

namespace
{
DeviceRecorder* active = nullptr;
void** activeTable = nullptr;
std::vector<void*>* originals = nullptr;

template <typename Method> size_t SlotOf(Method method)
{
    struct Representation
    {
        uintptr_t pointer;
        ptrdiff_t adjust;
    } representation;
    static_assert(sizeof(Method) == sizeof(Representation), "Itanium member pointer");
    memcpy(&representation, &method, sizeof(representation));
    return (representation.pointer - 1) / sizeof(void*);
}

// Slot numbers of the patched methods, in the order of `kSlots` below.
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

size_t slots[HookCount];

template <typename F> F Original(Hook hook)
{
    return (F)(*originals)[hook];
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

void FindSlots()
{
    slots[HookSetRenderState] = SlotOf(&Dev::SetRenderState);
    slots[HookSetTextureStageState] = SlotOf(&Dev::SetTextureStageState);
    slots[HookSetTexture] = SlotOf(&Dev::SetTexture);
    slots[HookDrawPrimitive] = SlotOf(&Dev::DrawPrimitive);
    slots[HookDrawPrimitiveUP] = SlotOf(&Dev::DrawPrimitiveUP);
    slots[HookSetVertexShader] = SlotOf(&Dev::SetVertexShader);
    slots[HookClear] = SlotOf(&Dev::Clear);
    slots[HookPresent] = SlotOf(&Dev::Present);
    slots[HookCaptureStateBlock] = SlotOf(&Dev::CaptureStateBlock);
    slots[HookApplyStateBlock] = SlotOf(&Dev::ApplyStateBlock);
}

void WriteSlots(void** table, void* const* values)
{
    size_t last = 0;
    for (size_t slot : slots)
        last = slot > last ? slot : last;
    DWORD old = 0;
    VirtualProtect(table, (last + 1) * sizeof(void*), PAGE_READWRITE, &old);
    for (int i = 0; i < HookCount; ++i)
        table[slots[i]] = values[i];
    VirtualProtect(table, (last + 1) * sizeof(void*), old, &old);
    FlushInstructionCache(GetCurrentProcess(), table, (last + 1) * sizeof(void*));
}
} // namespace

DeviceRecorder::DeviceRecorder(IDirect3DDevice8* device) : table_(nullptr)
{
    if (!device || active)
        return;
    FindSlots();
    table_ = *(void***)device;
    saved_.resize(HookCount);
    for (int i = 0; i < HookCount; ++i)
        saved_[i] = table_[slots[i]];
    active = this;
    activeTable = table_;
    originals = &saved_;
    WriteSlots(table_, kHooks);
}

DeviceRecorder::~DeviceRecorder()
{
    if (!table_)
        return;
    WriteSlots(table_, saved_.data());
    active = nullptr;
    activeTable = nullptr;
    originals = nullptr;
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
