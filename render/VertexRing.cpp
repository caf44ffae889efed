// The frame's vertex buffers, taken in turn.
#include "render/VertexRing.h"

#include <string.h>

IDirect3DVertexBuffer8* VertexRing::Fill(IDirect3DDevice8* device, const std::vector<Piece>& pieces)
{
    if (!device)
        return nullptr;
    IDirect3DVertexBuffer8*& buffer = buffers_[next_];
    next_ = (next_ + 1) % BufferCount;
    if (!buffer &&
        FAILED(device->CreateVertexBuffer(BufferBytes, D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, 0,
                                          D3DPOOL_DEFAULT, &buffer)))
    {
        buffer = nullptr;
        return nullptr;
    }
    BYTE* memory = nullptr;
    if (FAILED(buffer->Lock(0, 0, &memory, D3DLOCK_DISCARD)) || !memory)
        return nullptr;
    for (const Piece& piece : pieces)
        memcpy(memory + piece.offset, piece.data, piece.bytes);
    buffer->Unlock();
    return buffer;
}

void VertexRing::Release()
{
    for (IDirect3DVertexBuffer8*& buffer : buffers_)
    {
        if (buffer)
            buffer->Release();
        buffer = nullptr;
    }
    next_ = 0;
}
