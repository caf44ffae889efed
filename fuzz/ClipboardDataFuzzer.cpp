// libFuzzer target of the clipboard readers: data on the clipboard may come
// from any program, and its text from any editor, spreadsheet or script.
// Any bytes are refused or read, both as the editor's binary form and as
// the plain-text form. What the binary reader reads encodes back to bytes
// that read to the same group, and pastes into a document; what the text
// reader reads is written as text that reads back to the same objects.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "document/ClipboardData.h"

namespace
{
void ReadAsText(const uint8_t* data, size_t size)
{
    ObjectGroup typed;
    TextFormProblem problem;
    if (!ReadObjectGroupText((const char*)data, size, &typed, &problem))
    {
        if (problem.reason.empty())
            abort(); // a refusal always says why
        return;
    }
    const std::string text = ObjectGroupText(typed);
    ObjectGroup again;
    if (!ReadObjectGroupText(text.data(), text.size(), &again, nullptr) ||
        ObjectGroupText(again) != text || again.objects.size() != typed.objects.size() ||
        memcmp(again.objects.data(), typed.objects.data(),
               typed.objects.size() * sizeof(PlacedObject)) != 0)
        abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ReadAsText(data, size);
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
