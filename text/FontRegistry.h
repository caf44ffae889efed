// Up to 16 texture fonts looked up by typeface name (ASCII case ignored),
// created on first request at 8 points on the owner device. Callers keep
// the slot index and draw through the entry's Print.
#ifndef MAPEDITOR_FONTREGISTRY_H
#define MAPEDITOR_FONTREGISTRY_H

#include <windows.h>
#include <d3d8.h>

class Font2D;

struct FontEntry
{
    Font2D* font = nullptr;
    char name[32] = {};         // empty until the font loads
    char textBuffer[2048] = {}; // text of the last Print
    unsigned char ready = 0;

    FontEntry() = default;
    FontEntry(const FontEntry&) = delete;
    FontEntry& operator=(const FontEntry&) = delete;
    ~FontEntry() { Unload(); }

    bool Load(IDirect3DDevice8* device, const char* name, unsigned pointSize);
    void Unload();
    void Print(float x, float y, bool centred, D3DCOLOR colour, const char* format, ...)
        __attribute__((format(gnu_printf, 6, 7)));
    // The font Print draws with, or null when it would draw nothing.
    Font2D* DrawingFont() const;
};

class FontRegistry
{
  public:
    static const int SlotCount = 16;

    FontEntry* slots[SlotCount] = {};
    IDirect3DDevice8* owner = nullptr; // the device fonts are made on (borrowed)

    FontRegistry() = default;
    FontRegistry(const FontRegistry&) = delete;
    FontRegistry& operator=(const FontRegistry&) = delete;
    ~FontRegistry() { ReleaseAll(); }

    void SetOwner(IDirect3DDevice8* device);
    int Find(const char* name) const;
    int Register(const char* name);
    int FindOrRegister(const char* name);
    void ReleaseAll();

    // Around a reset of the owner device: every font's vertex buffer and
    // state blocks (default-pool resources, which a reset needs released)
    // go, and are made again afterwards; the glyph textures are managed and
    // stay. A font whose resources cannot be made again logs why and draws
    // nothing.
    void ReleaseDeviceResources();
    void RestoreDeviceResources();

    // The entry of an occupied slot, or null.
    FontEntry* Entry(int index) const;
};

#endif
