// The model test run on seeded random commands: the document and its model
// agree after every command (see tests/model). MODEL_COMMANDS=n runs about
// n commands instead of the default (for long runs outside `make test`).
#include <gtest/gtest.h>

#include <stdlib.h>

#include <random>

#include "tests/model/DocumentModel.h"

TEST(DocumentModel, AgreesWithTheDocumentAfterEveryCommand)
{
    const char* wanted = getenv("MODEL_COMMANDS");
    const size_t total = wanted ? strtoull(wanted, nullptr, 10) : 12000;
    size_t run = 0;
    for (unsigned seed = 1; run < total; ++seed)
    {
        // Most runs are short; every fourth is long enough to fill the
        // history, and leaves out the commands that start a new one.
        const size_t bytes = seed % 4 == 0 ? 100000 : 3000;
        std::mt19937 random(seed);
        std::vector<uint8_t> data(bytes);
        for (uint8_t& byte : data)
            byte = (uint8_t)random();
        data[0] = seed % 4 == 0 ? 0 : 1;
        std::string why;
        size_t commands = 0;
        ASSERT_TRUE(RunDocumentModel(data.data(), data.size(), &why, &commands))
            << "seed " << seed << ": " << why;
        run += commands;
    }
    RecordProperty("commands", std::to_string(run));
}
