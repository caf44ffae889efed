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
// The file's size and last-write time, or false when it cannot be seen.
bool FileStamp(const char* name, unsigned long long* size, unsigned long long* writeTime)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(name, GetFileExInfoStandard, &data))
        return false;
    *size = (unsigned long long)data.nFileSizeHigh << 32 | data.nFileSizeLow;
    *writeTime = (unsigned long long)data.ftLastWriteTime.dwHighDateTime << 32 |
                 data.ftLastWriteTime.dwLowDateTime;
    return true;
}
} // namespace

bool TextureRecord::FileUnchanged() const
{
    unsigned long long size = 0, writeTime = 0;
    return FileStamp(fileName.c_str(), &size, &writeTime) && size == fileSize &&
           writeTime == fileWriteTime;
}

int TextureRecord::LoadFromFile(Renderer* owner, const char* name)
{
    ReleaseTexture();
    if (!owner || !name)
        return 1;
    D3DXIMAGE_INFO info;
    ZeroMemory(&info, sizeof(info));
    const HRESULT result = D3DXCreateTextureFromFileExA(
        owner->Device(), name, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0, D3DFMT_A8R8G8B8,
        D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, &info, nullptr, &texture);
    if (FAILED(result))
    {
        texture = nullptr;
        return 1;
    }
    fileName = name;
    FileStamp(name, &fileSize, &fileWriteTime);
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
    TextureRecord* record = textures_.slots[found];
    if (record->FileUnchanged())
        return found;
    // Changed on disk (an image edited in a paint program): read as it is
    // now, into the same slot, under the name it was first loaded with. When
    // it can no longer be read the slot keeps what it showed.
    TextureRecord* fresh = new (std::nothrow) TextureRecord();
    if (!fresh)
        return -1;
    if (fresh->LoadFromFile(this, record->fileName.c_str()) != 0)
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
