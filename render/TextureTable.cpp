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
} // namespace

int TextureRecord::LoadFromFile(Renderer* owner, const char* name)
{
    ReleaseTexture();
    // A name that does not fit fileName is refused before the file is read.
    if (!owner || !name || strlen(name) >= sizeof(fileName))
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
    strcpy(fileName, name);
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
        if (slots[i] && SameNameIgnoringCase(slots[i]->fileName, fileName))
            return i;
    }
    return -1;
}

int TextureTable::AddTexture(const char* fileName)
{
    // A name that does not fit the record's field is refused before the file
    // is read, so it can never be truncated into the name of another file.
    if (!fileName || strlen(fileName) >= sizeof(TextureRecord::fileName))
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
    const int found = textures.FindTexture(fileName);
    if (found != -1)
        return found;
    return textures.AddTexture(fileName);
}
