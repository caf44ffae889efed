// The JPEG marker walk. Segments are a marker (0xFF, a code) and, for most
// codes, a 16-bit big-endian length that counts itself. After a scan header
// the entropy-coded data runs to the next marker that is neither a stuffed
// zero (0xFF 0x00) nor a restart (0xFF 0xD0..0xD7). Bytes between the end
// of a segment and the next marker are stray: skipped and reported.
//
// The tables are checked here because stb_image 2.27 trusts them: a Huffman
// table whose 16 counts add up to more than 256 codes makes it write past
// its own arrays, and a scan that uses a table no segment has defined makes
// it index with uninitialised memory. So every table a scan needs must have
// been defined before it.
#include "d3dx/image/JpegStructure.h"

#include "d3dx/image/ByteReader.h"

namespace d3dximage
{
namespace
{
enum Marker : uint8_t
{
    Baseline = 0xC0,
    Extended = 0xC1,
    Progressive = 0xC2,
    HuffmanTables = 0xC4,
    StartOfImage = 0xD8,
    EndOfImage = 0xD9,
    StartOfScan = 0xDA,
    QuantisationTables = 0xDB,
    RestartInterval = 0xDD,
};

bool IsRestart(uint8_t code)
{
    return code >= 0xD0 && code <= 0xD7;
}

// Frames other than the three Huffman ones stb_image decodes: lossless,
// hierarchical and arithmetic-coded (0xC4, 0xC8 and 0xCC are not frames).
bool IsUnsupportedFrame(uint8_t code)
{
    return code >= 0xC3 && code <= 0xCF && code != HuffmanTables && code != 0xC8 && code != 0xCC;
}

struct Frame
{
    bool seen = false;
    bool progressive = false;
    uint32_t components = 0;
    uint8_t ids[4] = {};
    uint8_t quantisation[4] = {}; // the table slot of each component
};

// Which table slots (bit per slot 0..3) segments so far have defined.
struct DefinedTables
{
    uint32_t dc = 0, ac = 0, quantisation = 0;
};

bool CheckHuffmanTables(const uint8_t* body, uint32_t length, DefinedTables* defined)
{
    uint32_t at = 0;
    while (at < length)
    {
        if (length - at < 17)
            return false;
        const uint32_t kind = body[at] >> 4, slot = body[at] & 15;
        if (kind > 1 || slot > 3)
            return false;
        // The counts of codes of each length 1..16 must be possible codes
        // (no length runs out of code space) and at most 256 in all.
        uint32_t total = 0, space = 1;
        for (uint32_t bits = 1; bits <= 16; ++bits)
        {
            const uint32_t count = body[at + bits];
            space <<= 1;
            if (count > space)
                return false;
            space -= count;
            total += count;
        }
        if (total > 256 || length - at - 17 < total)
            return false;
        (kind ? defined->ac : defined->dc) |= 1u << slot;
        at += 17 + total;
    }
    return true;
}

bool CheckQuantisationTables(const uint8_t* body, uint32_t length, DefinedTables* defined)
{
    uint32_t at = 0;
    while (at < length)
    {
        const uint32_t precision = body[at] >> 4, slot = body[at] & 15;
        const uint32_t bytes = precision ? 128 : 64;
        if (precision > 1 || slot > 3 || length - at - 1 < bytes)
            return false;
        defined->quantisation |= 1u << slot;
        at += 1 + bytes;
    }
    return true;
}

bool CheckFrame(uint8_t code, const uint8_t* body, uint32_t length, const DecodeLimits& limits,
                Frame* frame)
{
    if (frame->seen || length < 6)
        return false;
    const uint32_t precision = body[0], height = Be16(body + 1), width = Be16(body + 3);
    const uint32_t components = body[5];
    if (precision != 8 || !WithinLimits(width, height, limits) ||
        (components != 1 && components != 3 && components != 4) || length != 6 + 3 * components)
        return false;
    for (uint32_t i = 0; i < components; ++i)
    {
        const uint8_t* c = body + 6 + 3 * i;
        const uint32_t h = c[1] >> 4, v = c[1] & 15;
        if (h < 1 || h > 4 || v < 1 || v > 4 || c[2] > 3)
            return false;
        frame->ids[i] = c[0];
        frame->quantisation[i] = c[2];
    }
    frame->seen = true;
    frame->progressive = code == Progressive;
    frame->components = components;
    return true;
}

bool CheckScanHeader(const uint8_t* body, uint32_t length, const Frame& frame,
                     const DefinedTables& defined)
{
    if (!frame.seen || length < 1)
        return false;
    for (uint32_t c = 0; c < frame.components; ++c)
    {
        if (!(defined.quantisation >> frame.quantisation[c] & 1))
            return false;
    }
    const uint32_t count = body[0];
    if (count < 1 || count > frame.components || length != 4 + 2 * count)
        return false;
    const uint8_t* spectral = body + 1 + 2 * count;
    const uint32_t start = spectral[0], end = spectral[1];
    const uint32_t high = spectral[2] >> 4, low = spectral[2] & 15;
    if (frame.progressive ? start > end || end > 63 || high > 13 || low > 13
                          : start != 0 || high != 0 || low != 0)
        return false;
    // Baseline scans use both tables of each component; progressive ones
    // the DC table in a first DC scan and the AC table in AC scans.
    const bool needsDc = !frame.progressive || (start == 0 && high == 0);
    const bool needsAc = !frame.progressive || start > 0;
    for (uint32_t i = 0; i < count; ++i)
    {
        const uint8_t id = body[1 + 2 * i], tables = body[2 + 2 * i];
        bool known = false;
        for (uint32_t c = 0; c < frame.components; ++c)
            known = known || frame.ids[c] == id;
        const uint32_t dc = tables >> 4, ac = tables & 15;
        if (!known || dc > 3 || ac > 3 || (needsDc && !(defined.dc >> dc & 1)) ||
            (needsAc && !(defined.ac >> ac & 1)))
            return false;
    }
    return true;
}

// The offset of the next marker at or after `at` (its first 0xFF, fill
// bytes included), or `size` when the file ends first. A 0xFF followed by a
// zero is no marker.
size_t NextMarker(const uint8_t* data, size_t size, size_t at)
{
    while (at < size)
    {
        size_t code = at;
        while (code < size && data[code] == 0xFF)
            ++code;
        if (code == at)
            ++at;
        else if (code < size && data[code] == 0x00)
            at = code + 1;
        else
            return code < size ? at : size;
    }
    return size;
}

// Past the entropy-coded data that starts at `at`: the offset of the next
// real marker, or `size` when the file ends first.
size_t SkipEntropyData(const uint8_t* data, size_t size, size_t at)
{
    while (at + 1 < size)
    {
        if (data[at] != 0xFF)
            ++at;
        else if (data[at + 1] == 0x00 || IsRestart(data[at + 1]))
            at += 2;
        else
            return at;
    }
    return size;
}
} // namespace

bool CheckJpegStructure(const uint8_t* data, size_t size, const DecodeLimits& limits,
                        std::vector<ByteRange>* stray)
{
    if (size < 2 || data[0] != 0xFF || data[1] != StartOfImage)
        return false;
    Frame frame;
    DefinedTables defined;
    bool scanned = false;
    size_t at = 2;
    for (;;)
    {
        const size_t marker = NextMarker(data, size, at);
        if (marker >= size)
            return false;
        if (marker > at && stray)
            stray->push_back({at, marker - at});
        at = marker;
        while (data[at] == 0xFF)
            ++at; // fill bytes; NextMarker saw the code after them
        const uint8_t code = data[at++];
        if (code == EndOfImage)
            return scanned;
        if (IsRestart(code) || code == 0x01)
            continue; // markers without a segment
        if (code == StartOfImage || IsUnsupportedFrame(code) || !Fits(size, at, 2))
            return false;
        const uint32_t length = Be16(data + at);
        if (length < 2 || !Fits(size, at, length))
            return false;
        const uint8_t* body = data + at + 2;
        const uint32_t bodyLength = length - 2;
        bool valid = true;
        switch (code)
        {
        case Baseline:
        case Extended:
        case Progressive:
            valid = CheckFrame(code, body, bodyLength, limits, &frame);
            break;
        case HuffmanTables:
            valid = CheckHuffmanTables(body, bodyLength, &defined);
            break;
        case QuantisationTables:
            valid = CheckQuantisationTables(body, bodyLength, &defined);
            break;
        case RestartInterval:
            valid = bodyLength == 2;
            break;
        case StartOfScan:
            valid = CheckScanHeader(body, bodyLength, frame, defined);
            break;
        default:
            break; // application data, comments and the like
        }
        if (!valid)
            return false;
        at += length;
        if (code == StartOfScan)
        {
            scanned = true;
            at = SkipEntropyData(data, size, at);
        }
    }
}
} // namespace d3dximage
