// libFuzzer target of the model test: the input's bytes choose editor
// commands, which are applied to the map document and to its model; any
// disagreement (files' bytes, the unsaved mark, the history's count, the
// selection) aborts with what differed.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "tests/model/DocumentModel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string why;
    size_t commands = 0;
    if (!RunDocumentModel(data, size, &why, &commands))
    {
        fprintf(stderr, "model test: %s\n", why.c_str());
        abort();
    }
    return 0;
}
