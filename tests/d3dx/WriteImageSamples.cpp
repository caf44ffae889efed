// Writes the sample files (one valid file of every kind and variant) into
// the folder named on the command line, made if need be: the seed corpus of
// the image decoder fuzzer. Built in the native (Linux) tree only.
#include <errno.h>
#include <stdio.h>
#include <sys/stat.h>

#include "tests/d3dx/SampleFiles.h"

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    if (mkdir(argv[1], 0755) != 0 && errno != EEXIST)
    {
        perror(argv[1]);
        return 1;
    }
    int written = 0;
    for (const testimages::SampleFile& sample : testimages::SampleFiles())
    {
        const std::string path = std::string(argv[1]) + "/" + sample.name;
        if (!testimages::WriteFileBytes(path, sample.bytes))
        {
            fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        ++written;
    }
    printf("%d sample images in %s\n", written, argv[1]);
    return 0;
}
