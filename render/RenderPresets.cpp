// Numbered texture-stage setups. Not written yet: no preset changes anything.
#include "render/TextureTable.h"

void TextureTable::ApplyPreset(int preset, bool force) {}
