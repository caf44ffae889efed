// The object placement file (.mob) as bytes: reading a whole file's bytes into
// the catalog and the placed objects, and writing them back. No Windows API;
// MapDocument does the file handling and the palette list around it.
//
// Layout, all integers little-endian:
//   0   4        signature "M4DO" (4D 34 44 4F)
//   4   4        type count T (signed)
//   8   4        object count N (signed)
//   12  128 x T  type names, each zero-terminated and zero-padded
//   ..  17 x N   PlacedObject records, verbatim
// A count below zero means no entries of that kind.
#ifndef MAPEDITOR_OBJECTFILE_H
#define MAPEDITOR_OBJECTFILE_H

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "document/FileSystem.h"
#include "document/ObjectType.h"
#include "document/PlacedObject.h"

const size_t kObjectFileHeaderSize = 12;
const size_t kObjectFileNameSize = 128;
const size_t kObjectRecordSize = sizeof(PlacedObject);
extern const unsigned char kObjectFileSignature[4];

struct ObjectFileHeader
{
    int32_t typeCount = 0;
    int32_t objectCount = 0;
};

// Reads the 12-byte header. False when fewer than 12 bytes are given or the
// signature is wrong.
bool ReadObjectFileHeader(const unsigned char* data, size_t size, ObjectFileHeader* header);

// Bytes that a file with this header must hold at least: 12 + 128 x T + 17 x N
// with counts below zero taken as zero. Computed in 64 bits, so the largest
// counts (about 311 GB) cannot overflow.
uint64_t ObjectFileRequiredSize(const ObjectFileHeader& header);

struct ObjectFileContents
{
    std::vector<ObjectType> types;
    std::vector<PlacedObject> objects;
};

// Reads count name fields of 128 bytes each, back to back, into catalog
// entries: each up to its first zero byte and never past 127 characters.
void ReadObjectTypeNames(const unsigned char* fields, size_t count, std::vector<ObjectType>* types);

// Checks and reads a whole file held in memory: the one reader of object
// placement files. A file is refused (false, *contents untouched, *problem
// saying why in plain words) when its signature is wrong or it is shorter
// than its counts say; bytes after the last record are ignored. A name field
// without a zero byte gives its first 127 characters. Records are kept
// exactly as stored, including types that the catalog does not have. Memory
// that cannot be had refuses the file too.
bool ParseObjectFile(const unsigned char* data, size_t size, ObjectFileContents* contents,
                     std::string* problem = nullptr);

// The same reading without copying the records: the catalog, and where the
// records lie in `data` (packed, alignment 1), for whoever only passes over
// them once (the map checker on a million objects). May throw std::bad_alloc.
bool ParseObjectFileInPlace(const unsigned char* data, size_t size, std::vector<ObjectType>* types,
                            const PlacedObject** records, size_t* objectCount,
                            std::string* problem = nullptr);

// Reads a file that ParseObjectFile would take straight into place through
// FileSystem::ReadInPieces: the header, the names, then the records into the
// objects' own storage, with no copy of the whole file in between. It stops
// (Complete() false, nothing kept) at whatever ParseObjectFile would refuse
// or at memory that cannot be had; ParseObjectFile of the whole file then
// says why. Bytes after the last record are not read.
class ObjectFilePieces : public FileReader
{
  public:
    void NextPiece(uint64_t fileSize, uint64_t offset, void** into, size_t* size) override;
    // Whether every part was handed out; with a read that succeeded,
    // `contents` then holds the file as ParseObjectFile reads it.
    bool Complete() const { return stage_ == Stage::Done; }

    ObjectFileContents contents;

  private:
    enum class Stage
    {
        Header,
        Names,
        Records,
        Done,
        Stopped
    };
    Stage stage_ = Stage::Header;
    unsigned char header_[kObjectFileHeaderSize] = {};
    std::vector<unsigned char> names_;
    size_t typeCount_ = 0;
};

// Builds the start of a file, header and names, for a document with these
// types and objectCount objects; the records follow as the objects' memory,
// verbatim. A name longer than 127 characters (which the catalog never
// holds) is cut to fit its field rather than overrun it. False when a count
// does not fit the file's 32-bit field. May throw std::bad_alloc.
bool EncodeObjectFileHead(const std::vector<ObjectType>& types, size_t objectCount,
                          std::vector<unsigned char>* out);

// Builds the bytes of a whole file: the head and the records.
bool EncodeObjectFile(const std::vector<ObjectType>& types,
                      const std::vector<PlacedObject>& objects, std::vector<unsigned char>* out);

#endif
