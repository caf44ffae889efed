// The 255-slot table of textures loaded from image files, which are read
// through the renderer's FileSystem. Slots are addressed by plain integer
// indices (0..254, -1 = no texture); once loaded, a texture keeps its slot
// until ReleaseAll at exit. A name is found again (ASCII case ignored) only
// while its file holds the same bytes; a changed file is made a texture
// again in the same slot. The table also holds the preset
// bookkeeping of the texture-stage setups (RenderPresets.cpp).
#ifndef MAPEDITOR_TEXTURETABLE_H
#define MAPEDITOR_TEXTURETABLE_H

#include <windows.h>
#include <d3d8.h>

#include <string>
#include <vector>

class Renderer;

struct TextureRecord
{
    IDirect3DTexture8* texture = nullptr; // owned reference, or none
    Renderer* renderer = nullptr;         // renderer whose device made the texture
    std::string fileName;                 // the name exactly as the first caller spelled it
    int width = 0;                        // source image size, not the texture's
    int height = 0;
    int preset = 0; // texture-stage preset requested whenever the texture is bound
    // The file as it was when it was read: its size and a hash of its bytes.
    unsigned long long fileSize = 0;
    unsigned long long fileHash = 0;

    // 0 on success, 1 on failure (the record then holds no texture). The
    // file is read through the renderer's file system.
    int LoadFromFile(Renderer* renderer, const char* fileName);
    // The same from the file's bytes, read already.
    int LoadFromBytes(Renderer* renderer, const char* fileName,
                      const std::vector<unsigned char>& bytes);
    void ReleaseTexture();
    // Whether these are the bytes the texture was made from.
    bool SameFile(const std::vector<unsigned char>& bytes) const;
};

class TextureTable
{
  public:
    static const int SlotCount = 255;

    TextureRecord* slots[SlotCount] = {};
    Renderer* renderer = nullptr; // set by CreateDevice, cleared by ReleaseAll
    int currentPreset = 0;

    TextureTable() = default;
    TextureTable(const TextureTable&) = delete;
    TextureTable& operator=(const TextureTable&) = delete;
    ~TextureTable() { ReleaseAll(); }

    int FindTexture(const char* fileName) const;
    int AddTexture(const char* fileName);
    void ReleaseAll();

    // The record of an occupied slot, or null for -1, an index out of range
    // or an empty slot. Every reader of a slot index goes through this test.
    TextureRecord* Record(int index) const;

    // Numbered texture-stage setups (RenderPresets.cpp).
    void ApplyPreset(int preset, bool force);
};

#endif
