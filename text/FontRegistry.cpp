// The font registry. Not written yet: no font is ever created or drawn.
#include "text/FontRegistry.h"

bool FontEntry::Load(Renderer* owner, const char* name, unsigned pointSize) { return false; }
void FontEntry::Unload() {}
void FontEntry::Print(float x, float y, bool centred, D3DCOLOR colour, const char* format, ...) {}

void FontRegistry::SetOwner(Renderer* newOwner) { owner = newOwner; }
int FontRegistry::Find(const char* name) const { return -1; }
int FontRegistry::Register(const char* name) { return -1; }
int FontRegistry::FindOrRegister(const char* name) { return 0; }
void FontRegistry::ReleaseAll() {}
FontEntry* FontRegistry::Entry(int index) const { return nullptr; }
