// The font registry: 16 slots of fonts found by typeface name (ASCII letters
// compared without case), created on first request at 8 points on the
// owner device, and the entries' formatted, optionally centred printing.
#include "text/FontRegistry.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "text/DiagnosticLog.h"
#include "text/Font2D.h"

namespace
{
const unsigned kRegistryPointSize = 8;
const char kInitErrorMessage[] = "Font2D Init Error: ";
// Names are kept in 32 bytes; GDI itself uses no more of a face name.
const size_t kNameLength = sizeof(FontEntry::name) - 1;

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c;
}

// Equal when the first kNameLength characters agree with A to Z taken as a
// to z. A name longer than an entry holds is compared by what was stored of
// it, so asking again for the same long name finds its font.
bool SameName(const char* stored, const char* asked)
{
    for (size_t i = 0; i < kNameLength; ++i)
    {
        if (LowerAscii(stored[i]) != LowerAscii(asked[i]))
            return false;
        if (stored[i] == '\0')
            return true;
    }
    return true;
}
} // namespace

bool FontEntry::Load(IDirect3DDevice8* device, const char* typeface, unsigned size)
{
    Unload();
    if (!typeface)
        typeface = "";
    font = new Font2D(typeface, size, 0);
    // A registry without an owner device cannot make fonts:
    // CreateGlyphTexture refuses a null device.
    HRESULT result = font->CreateGlyphTexture(device);
    if (SUCCEEDED(result))
        result = font->CreateDrawResources();
    if (FAILED(result))
    {
        LogError(result, kInitErrorMessage);
        return false;
    }
    ready = 1;
    strncpy(name, typeface, kNameLength);
    name[kNameLength] = '\0';
    return true;
}

void FontEntry::Unload()
{
    if (font)
    {
        font->Teardown();
        delete font;
    }
    font = nullptr;
    ready = 0;
    name[0] = '\0'; // an entry without a font is never found by name
}

Font2D* FontEntry::DrawingFont() const
{
    return ready && font && font->CanDraw() ? font : nullptr;
}

void FontEntry::Print(float x, float y, bool centred, D3DCOLOR colour, const char* format, ...)
{
    if (!ready || !font || !format)
        return;
    va_list arguments;
    va_start(arguments, format);
    // Longer texts are cut at the buffer's 2047 characters.
    const int length = vsnprintf(textBuffer, sizeof(textBuffer), format, arguments);
    va_end(arguments);
    if (length < 0)
        textBuffer[0] = '\0';
    if (centred)
    {
        SIZE size = {0, 0};
        font->MeasureText(textBuffer, &size);
        // Integer halves (truncated toward zero), subtracted in floating point.
        x -= (float)(size.cx / 2);
        y -= (float)(size.cy / 2);
    }
    font->DrawString(x, y, colour, textBuffer, 0);
}

void FontRegistry::SetOwner(IDirect3DDevice8* device)
{
    ReleaseAll();
    owner = device;
}

int FontRegistry::Find(const char* name) const
{
    if (!name)
        return -1;
    // Only loaded fonts carry a name; an entry whose font failed is skipped
    // even when the empty name is asked for.
    for (int i = 0; i < SlotCount; ++i)
        if (slots[i] && slots[i]->ready && SameName(slots[i]->name, name))
            return i;
    return -1;
}

int FontRegistry::Register(const char* name)
{
    for (int i = 0; i < SlotCount; ++i)
    {
        if (slots[i])
            continue;
        FontEntry* entry = new FontEntry;
        entry->Load(owner, name, kRegistryPointSize);
        slots[i] = entry; // kept even when the font failed: the slot is used up
        return i;
    }
    return -1;
}

int FontRegistry::FindOrRegister(const char* name)
{
    int index = Find(name);
    if (index < 0)
        index = Register(name);
    return index < 0 ? 0 : index;
}

void FontRegistry::ReleaseAll()
{
    for (FontEntry*& slot : slots)
    {
        if (slot)
        {
            slot->Unload();
            delete slot;
        }
        slot = nullptr;
    }
}

void FontRegistry::ReleaseDeviceResources()
{
    for (FontEntry* slot : slots)
        if (slot && slot->font)
            slot->font->ReleaseDrawResources();
}

void FontRegistry::RestoreDeviceResources()
{
    for (FontEntry* slot : slots)
    {
        if (!slot || !slot->ready || !slot->font)
            continue;
        const HRESULT result = slot->font->CreateDrawResources();
        if (FAILED(result))
            LogError(result, kInitErrorMessage);
    }
}

FontEntry* FontRegistry::Entry(int index) const
{
    if (index < 0 || index >= SlotCount)
        return nullptr;
    return slots[index];
}
