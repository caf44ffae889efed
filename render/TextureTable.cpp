// Loading image files into the texture table's slots, finding them again by
// name, and releasing them at exit.
#include "render/TextureTable.h"

#include <string.h>

#include <new>

#include "d3dx/d3dx8.h"
#include "render/Renderer.h"

namespace
{
// ASCII letters compared without regard to case; other bytes as they are.
bool SameNameIgnoringCase(const char* a, const char* b)
{
    for (;; ++a, ++b)
    {
        unsigned char ca = (unsigned char)*a;
        unsigned char cb = (unsigned char)*b;
        if (ca >= 'A' && ca <= 'Z')
            ca = (unsigned char)(ca - 'A' + 'a');
        if (cb >= 'A' && cb <= 'Z')
            cb = (unsigned char)(cb - 'A' + 'a');
        if (ca != cb)
            return false;
        if (ca == 0)
            return true;
    }
}

// A hash of a file's bytes, eight at a time: tells a changed file from the
// one a texture was made from (nothing here is chosen by an adversary).
unsigned long long HashOf(const std::vector<unsigned char>& bytes)
{
    const unsigned long long prime = 0x100000001b3ull;
    unsigned long long hash = 0xcbf29ce484222325ull ^ bytes.size();
    size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8)
    {
        unsigned long long word;
        memcpy(&word, &bytes[i], sizeof(word));
        hash = (hash ^ word) * prime;
        hash ^= hash >> 29;
    }
    for (; i < bytes.size(); ++i)
        hash = (hash ^ bytes[i]) * prime;
    return hash;
}

bool ReadThrough(Renderer* owner, const char* name, std::vector<unsigned char>* bytes)
{
    return owner && name && owner->Files() &&
           owner->Files()->ReadWholeFile(name, bytes) == FileError::None;
}
} // namespace

bool TextureRecord::SameFile(const std::vector<unsigned char>& bytes) const
{
    return bytes.size() == fileSize && HashOf(bytes) == fileHash;
}

int TextureRecord::LoadFromFile(Renderer* owner, const char* name)
{
    ReleaseTexture();
    std::vector<unsigned char> bytes;
    if (!owner || !name)
        return 1;
    if (!ReadThrough(owner, name, &bytes))
        return 1;
    return LoadFromBytes(owner, name, bytes);
}

int TextureRecord::LoadFromBytes(Renderer* owner, const char* name,
                                 const std::vector<unsigned char>& bytes)
{
    ReleaseTexture();
    if (!owner || !name || bytes.empty() || bytes.size() > 0x7FFFFFFF)
        return 1;
    D3DXIMAGE_INFO info;
    ZeroMemory(&info, sizeof(info));
    const HRESULT result = D3DXCreateTextureFromFileInMemoryEx(
        owner->Device(), bytes.data(), (UINT)bytes.size(), D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT,
        0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, &info, nullptr,
        &texture);
    if (FAILED(result))
    {
        texture = nullptr;
        return 1;
    }
    fileName = name;
    fileSize = bytes.size();
    fileHash = HashOf(bytes);
    renderer = owner;
    width = (int)info.Width;
    height = (int)info.Height;
    return 0;
}

void TextureRecord::ReleaseTexture()
{
    if (texture)
    {
        texture->Release();
        texture = nullptr;
    }
}

TextureRecord* TextureTable::Record(int index) const
{
    if (index < 0 || index >= SlotCount)
        return nullptr;
    return slots[index];
}

int TextureTable::FindTexture(const char* fileName) const
{
    if (!fileName)
        return -1;
    for (int i = 0; i < SlotCount; ++i)
    {
        if (slots[i] && SameNameIgnoringCase(slots[i]->fileName.c_str(), fileName))
            return i;
    }
    return -1;
}

int TextureTable::AddTexture(const char* fileName)
{
    if (!fileName)
        return -1;
    if (!renderer || !renderer->Device())
        return -1;

    TextureRecord* record = new (std::nothrow) TextureRecord();
    if (!record)
        return -1;
    if (record->LoadFromFile(renderer, fileName) != 0)
    {
        record->ReleaseTexture();
        delete record;
        return -1;
    }
    // The file is read before a free slot is looked for.
    for (int i = 0; i < SlotCount; ++i)
    {
        if (!slots[i])
        {
            slots[i] = record;
            return i;
        }
    }
    record->ReleaseTexture();
    delete record;
    return -1;
}

void TextureTable::ReleaseAll()
{
    renderer = nullptr;
    for (int i = 0; i < SlotCount; ++i)
    {
        if (slots[i])
        {
            slots[i]->ReleaseTexture();
            delete slots[i];
            slots[i] = nullptr;
        }
    }
}

int Renderer::LoadTexture(const char* fileName)
{
    const int found = textures_.FindTexture(fileName);
    if (found == -1)
        return textures_.AddTexture(fileName);
    // Read again whenever asked for: an image edited in a paint program is
    // made a texture as it is now, into the same slot, under the name it was
    // first loaded with. When it can no longer be read the slot keeps what
    // it showed.
    TextureRecord* record = textures_.slots[found];
    std::vector<unsigned char> bytes;
    if (!ReadThrough(this, record->fileName.c_str(), &bytes))
        return -1;
    if (record->SameFile(bytes))
        return found;
    TextureRecord* fresh = new (std::nothrow) TextureRecord();
    if (!fresh)
        return -1;
    if (fresh->LoadFromBytes(this, record->fileName.c_str(), bytes) != 0)
    {
        fresh->ReleaseTexture();
        delete fresh;
        return -1;
    }
    fresh->preset = record->preset;
    record->ReleaseTexture();
    delete record;
    textures_.slots[found] = fresh;
    return found;
}
