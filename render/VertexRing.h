// Vertex buffers that the draws of a frame are streamed through: a few large
// dynamic buffers taken in turn, each filled with one lock and then drawn
// from. Under Wine every lock of a buffer waits for the device's command
// thread to catch up, and a lock of a buffer that queued draws still read
// waits for the rasteriser to finish them (D3DLOCK_DISCARD and
// D3DLOCK_NOOVERWRITE included), so a buffer is never locked again while
// draws from it may be pending: the next one is taken instead, and the oldest
// has had the longest time to be drawn. The buffers live in the default
// pool: Release them before the device is reset (they are made again on use).
#ifndef MAPEDITOR_VERTEXRING_H
#define MAPEDITOR_VERTEXRING_H

#include <windows.h>
#include <d3d8.h>

#include <vector>

class VertexRing
{
  public:
    static const UINT BufferBytes = 512u << 10;
    static const int BufferCount = 3;

    // A piece of vertex data for the next fill and where it lands.
    struct Piece
    {
        const void* data;
        UINT bytes;
        UINT offset; // in the buffer, a multiple of the stride
    };

    VertexRing() = default;
    ~VertexRing() { Release(); }
    VertexRing(const VertexRing&) = delete;
    VertexRing& operator=(const VertexRing&) = delete;

    // Takes the next buffer (made on first use), writes the pieces into it
    // with one lock and returns it, or null when it cannot be made or locked.
    IDirect3DVertexBuffer8* Fill(IDirect3DDevice8* device, const std::vector<Piece>& pieces);

    void Release();

  private:
    IDirect3DVertexBuffer8* buffers_[BufferCount] = {};
    int next_ = 0;
};

#endif
