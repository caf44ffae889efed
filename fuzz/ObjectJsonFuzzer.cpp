// libFuzzer target of the map checker's JSON reader (mapcheck --from-json):
// any text is either refused or read, and what is read writes an object
// file that reads back to the same records, whose JSON reads back to the
// same file.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <sstream>

#include "document/ObjectFile.h"
#include "mapcheck/ObjectJson.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ObjectFileContents contents;
    std::string problem;
    if (!mapcheck::ReadObjectJson((const char*)data, size, &contents, &problem))
    {
        if (problem.empty())
            abort(); // a refusal always says why
        return 0;
    }
    std::vector<unsigned char> file;
    if (!EncodeObjectFile(contents.types, contents.objects, &file))
        abort();
    ObjectFileContents parsed;
    if (!ParseObjectFile(file.data(), file.size(), &parsed) ||
        parsed.types.size() != contents.types.size() ||
        parsed.objects.size() != contents.objects.size())
        abort();
    for (size_t i = 0; i < parsed.types.size(); ++i)
    {
        if (parsed.types[i].path != contents.types[i].path)
            abort();
    }
    if (!parsed.objects.empty() && memcmp(parsed.objects.data(), contents.objects.data(),
                                          parsed.objects.size() * sizeof(PlacedObject)) != 0)
        abort();

    std::ostringstream json;
    mapcheck::WriteObjectJson(parsed, json);
    const std::string text = json.str();
    ObjectFileContents again;
    std::vector<unsigned char> fileAgain;
    if (!mapcheck::ReadObjectJson(text.data(), text.size(), &again, &problem) ||
        !EncodeObjectFile(again.types, again.objects, &fileAgain) || fileAgain != file)
        abort();
    return 0;
}
