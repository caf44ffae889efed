// libFuzzer target of the clipboard reader: data on the clipboard may come
// from any program. Any bytes are refused or read; what is read encodes back
// to bytes that read to the same group, and pastes into a document.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "document/ClipboardData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ObjectGroup group;
    if (!DecodeObjectGroup(data, size, &group))
        return 0;
    const std::vector<unsigned char> encoded = EncodeObjectGroup(group);
    ObjectGroup again;
    if (!DecodeObjectGroup(encoded.data(), encoded.size(), &again) ||
        EncodeObjectGroup(again) != encoded)
        abort();
    MapDocument document;
    document.AddObjectType("tree.ini");
    const bool pasted = document.InsertGroup(group, 0.25f, -0.25f, "Paste");
    if (pasted && document.ObjectCount() != (int)group.objects.size())
        abort();
    if (!pasted && document.ObjectCount() != 0)
        abort();
    ObjectGroupText(group);
    if (pasted && (!document.Undo() || document.ObjectCount() != 0))
        abort();
    return 0;
}
