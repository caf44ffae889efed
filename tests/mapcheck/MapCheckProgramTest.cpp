// The real mapcheck program, started as a build pipeline starts it: its exit
// status and output on a good and a broken map, and an object file through
// --json and --from-json via a pipe back to the same bytes.
#include <gtest/gtest.h>

#include <stdio.h>
#include <sys/wait.h>

#include <filesystem>

#include "tests/document/DocumentTestSupport.h"

namespace
{
// Runs the program with these arguments (shell words); its exit status and
// standard output.
int Program(const std::string& arguments, std::string* out)
{
    const std::string command = std::string(MAPCHECK_PROGRAM) + " " + arguments;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    char chunk[4096];
    size_t got;
    out->clear();
    while ((got = fread(chunk, 1, sizeof(chunk), pipe)) > 0)
        out->append(chunk, got);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
} // namespace

TEST(MapCheckProgram, ExitStatusOutputAndAJsonRoundTripThroughAPipe)
{
    TempFolder folder;
    std::filesystem::copy(SampleFolder(), folder.Path(), std::filesystem::copy_options::recursive);
    const std::string map = folder.File("maps/area1.ini"), mob = folder.File("maps/area1.mob");
    std::string out;
    EXPECT_EQ(Program("'" + map + "'", &out), 0);
    EXPECT_EQ(out, "");

    Bytes broken = ReadBytes(mob);
    broken[12 + 5 * 128] = 9; // the first object's type
    WriteBytes(folder.File("broken.mob"), broken);
    EXPECT_EQ(Program("'" + folder.File("broken.mob") + "'", &out), 1);
    EXPECT_EQ(out, folder.File("broken.mob") +
                       ": object 0: its type 9 is not in the catalog (types 0 to 4)\n");

    EXPECT_EQ(Program("--json '" + mob + "' | " + MAPCHECK_PROGRAM + " --from-json /dev/stdin '" +
                          folder.File("back.mob") + "'",
                      &out),
              0);
    EXPECT_EQ(ReadBytes(folder.File("back.mob")), ReadBytes(mob));
    EXPECT_EQ(Program("'" + folder.File("maps/none.ini") + "' 2>/dev/null", &out), 2);
}
