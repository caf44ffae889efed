// libFuzzer target of the object placement file reader (the one the editor,
// the tests and the map checker use): any bytes are either refused or read,
// and what is read saves and reads back to the same document and the same
// bytes. The reader that reads a file in place (ObjectFilePieces) takes
// exactly the files the whole-file reader takes, with the same contents.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "document/ObjectFile.h"

namespace
{
// The pieces the reader asks for, filled from the input as a file system
// fills them; false when it asks past the end.
bool ReadInPlace(const uint8_t* data, size_t size, ObjectFilePieces* pieces)
{
    for (uint64_t offset = 0;;)
    {
        void* into = nullptr;
        size_t piece = 0;
        pieces->NextPiece(size, offset, &into, &piece);
        if (piece == 0)
            return true;
        if (piece > size - offset)
            return false;
        memcpy(into, data + offset, piece);
        offset += piece;
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ObjectFileContents contents;
    const bool parsed = ParseObjectFile(data, size, &contents);
    ObjectFilePieces pieces;
    if (!ReadInPlace(data, size, &pieces) || pieces.Complete() != parsed)
        abort();
    if (!parsed)
        return 0;
    std::vector<unsigned char> whole, inPlace;
    EncodeObjectFile(contents.types, contents.objects, &whole);
    EncodeObjectFile(pieces.contents.types, pieces.contents.objects, &inPlace);
    if (whole != inPlace)
        abort();
    std::vector<unsigned char> saved;
    if (!EncodeObjectFile(contents.types, contents.objects, &saved))
        abort();
    ObjectFileContents again;
    if (!ParseObjectFile(saved.data(), saved.size(), &again))
        abort();
    if (again.types.size() != contents.types.size() ||
        again.objects.size() != contents.objects.size())
        abort();
    for (size_t i = 0; i < contents.types.size(); ++i)
    {
        if (again.types[i].path != contents.types[i].path || contents.types[i].path.size() > 127)
            abort();
    }
    if (!contents.objects.empty() && memcmp(again.objects.data(), contents.objects.data(),
                                            contents.objects.size() * sizeof(PlacedObject)) != 0)
        abort();
    // Saved again, the document gives the same bytes.
    std::vector<unsigned char> savedAgain;
    if (!EncodeObjectFile(again.types, again.objects, &savedAgain) || savedAgain != saved)
        abort();
    // The records are carried byte for byte from where the input holds them.
    const size_t records = contents.objects.size() * sizeof(PlacedObject);
    const size_t inputRecords = kObjectFileHeaderSize + kObjectFileNameSize * contents.types.size();
    if (records && memcmp(saved.data() + saved.size() - records, data + inputRecords, records) != 0)
        abort();
    return 0;
}
