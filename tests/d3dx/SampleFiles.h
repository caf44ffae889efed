// One small valid file of every kind and variant the decoders know. The
// bad-file tests truncate them at every length, the fuzz seed writer puts
// them into the fuzzer's starting corpus.
#ifndef MAPEDITOR_TESTS_SAMPLEFILES_H
#define MAPEDITOR_TESTS_SAMPLEFILES_H

#include <string>
#include <vector>

#include "tests/d3dx/TestImages.h"

namespace testimages
{
struct SampleFile
{
    std::string name; // a file name with the usual extension
    Bytes bytes;
    // Text files (P2, P3) may still be valid when cut after a digit.
    bool text = false;
};

std::vector<SampleFile> SampleFiles();
} // namespace testimages

#endif
