// The map checker's command line: arguments, the three kinds of run and
// their exit status (see the header).
#include "mapcheck/MapCheck.h"

#include <ctype.h>
#include <string.h>

#include <filesystem>
#include <system_error>

#include "document/ObjectFile.h"
#include "mapcheck/MapChecks.h"
#include "mapcheck/ObjectJson.h"

namespace mapcheck
{
namespace
{
const char kUsage[] = "usage: mapcheck [--program-dir DIR] MAP.ini | FILE.mob\n"
                      "       mapcheck --json FILE.mob\n"
                      "       mapcheck --from-json FILE.json OUT.mob\n"
                      "Checks a map settings file and the files it names, or an object\n"
                      "placement file; prints one line \"file: problem\" per problem.\n"
                      "Exit status: 0 no problem, 1 problems, 2 could not run.\n"
                      "Relative names lead from DIR, the editor's program directory\n"
                      "(by default the folder \"editor\" beside the map's folder).\n";

enum class Mode
{
    Check,
    ToJson,
    FromJson,
};

struct Arguments
{
    Mode mode = Mode::Check;
    std::string programDir;
    bool programDirGiven = false;
    std::vector<std::string> files;
};

// False with *problem when the command line is not one of the usages.
bool ParseArguments(const std::vector<std::string>& arguments, Arguments* parsed,
                    std::string* problem)
{
    const auto refuse = [problem](const std::string& why)
    {
        *problem = why;
        return false;
    };
    bool modeGiven = false;
    bool optionsEnd = false;
    for (size_t i = 0; i < arguments.size(); ++i)
    {
        const std::string& argument = arguments[i];
        if (optionsEnd || argument.size() < 2 || argument[0] != '-')
        {
            parsed->files.push_back(argument);
            continue;
        }
        if (argument == "--")
            optionsEnd = true;
        else if (argument == "--json" || argument == "--from-json")
        {
            if (modeGiven)
                return refuse("--json and --from-json go alone");
            parsed->mode = argument == "--json" ? Mode::ToJson : Mode::FromJson;
            modeGiven = true;
        }
        else if (argument == "--program-dir" || argument.rfind("--program-dir=", 0) == 0)
        {
            if (argument == "--program-dir" && i + 1 == arguments.size())
                return refuse("--program-dir needs a folder");
            parsed->programDir = argument == "--program-dir" ? arguments[++i] : argument.substr(14);
            parsed->programDirGiven = true;
        }
        else
            return refuse("unknown option " + argument);
    }
    const size_t wanted = parsed->mode == Mode::FromJson ? 2 : 1;
    if (parsed->files.size() != wanted)
        return refuse(parsed->files.size() < wanted ? "a file is missing" : "too many files");
    if (parsed->mode != Mode::Check && parsed->programDirGiven)
        return refuse("--program-dir goes with checking only");
    if (parsed->programDirGiven)
    {
        std::error_code error;
        if (!std::filesystem::is_directory(std::filesystem::path(parsed->programDir), error))
            return refuse(parsed->programDir + " is not a folder");
    }
    return true;
}

bool EndsWithMob(const std::string& name)
{
    static const char kExtension[] = ".mob";
    const size_t length = sizeof(kExtension) - 1;
    if (name.size() < length)
        return false;
    for (size_t i = 0; i < length; ++i)
    {
        if (tolower((unsigned char)name[name.size() - length + i]) != kExtension[i])
            return false;
    }
    return true;
}

bool IsObjectFile(const std::string& name, const FileView& bytes)
{
    return EndsWithMob(name) ||
           (bytes.Size() >= sizeof(kObjectFileSignature) &&
            memcmp(bytes.Data(), kObjectFileSignature, sizeof(kObjectFileSignature)) == 0);
}

class Run
{
  public:
    Run(FileSystem& files, std::ostream& out, std::ostream& err)
        : files_(files), out_(out), err_(err)
    {
    }

    int CouldNotRun(const std::string& file, FileError error)
    {
        err_ << "mapcheck: " << file << ": " << DescribeFileError(error) << '\n';
        return kCouldNotRun;
    }

    // The file's bytes, or false (and said on err) when it cannot be read.
    bool Read(const std::string& file, std::vector<unsigned char>* bytes, int* status)
    {
        const FileError error = files_.ReadWholeFile(file, bytes);
        if (error == FileError::None)
            return true;
        *status = CouldNotRun(file, error);
        return false;
    }

    // The same as a view, for files that are read once (perhaps a million
    // objects): mapped where the file system can.
    bool View(const std::string& file, std::unique_ptr<FileView>* bytes, int* status)
    {
        const FileError error = files_.ViewWholeFile(file, bytes);
        if (error == FileError::None)
            return true;
        *status = CouldNotRun(file, error);
        return false;
    }

    int Check(const Arguments& arguments)
    {
        const std::string& file = arguments.files[0];
        std::unique_ptr<FileView> bytes;
        int status = kCouldNotRun;
        if (!View(file, &bytes, &status))
            return status;
        Report report(out_);
        const bool objects = IsObjectFile(file, *bytes);
        CheckSetup setup{files_, arguments.programDir, arguments.programDirGiven};
        if (objects)
            CheckObjectFile(file, bytes->Data(), bytes->Size(), setup, &report);
        else
        {
            if (!arguments.programDirGiven)
                setup.programDir = DefaultProgramDir(file);
            setup.checkDescriptions = true;
            CheckMapSettings(file, bytes->Data(), bytes->Size(), setup, &report);
        }
        out_.flush();
        return report.Count() ? kProblems : kClean;
    }

    int ToJson(const std::string& file)
    {
        std::unique_ptr<FileView> bytes;
        int status = kCouldNotRun;
        if (!View(file, &bytes, &status))
            return status;
        std::vector<ObjectType> types;
        const PlacedObject* records = nullptr;
        size_t objectCount = 0;
        std::string problem;
        if (!ParseObjectFileInPlace(bytes->Data(), bytes->Size(), &types, &records, &objectCount,
                                    &problem))
        {
            err_ << file << ": " << problem << '\n';
            return kProblems;
        }
        WriteObjectJson(types, records, objectCount, out_);
        out_.flush();
        if (!out_)
        {
            err_ << "mapcheck: the JSON could not be written\n";
            return kCouldNotRun;
        }
        return kClean;
    }

    int FromJson(const std::string& file, const std::string& output)
    {
        std::vector<unsigned char> bytes;
        int status = kCouldNotRun;
        if (!Read(file, &bytes, &status))
            return status;
        ObjectFileContents contents;
        std::string problem;
        std::vector<unsigned char> encoded;
        if (!ReadObjectJson((const char*)bytes.data(), bytes.size(), &contents, &problem))
        {
            err_ << file << ": " << problem << '\n';
            return kProblems;
        }
        if (!EncodeObjectFile(contents.types, contents.objects, &encoded))
        {
            err_ << file << ": it holds more entries than an object file counts\n";
            return kProblems;
        }
        const FileError error = files_.ReplaceWholeFile(output, encoded.data(), encoded.size());
        return error == FileError::None ? kClean : CouldNotRun(output, error);
    }

  private:
    FileSystem& files_;
    std::ostream& out_;
    std::ostream& err_;
};
} // namespace

int RunMapCheck(const std::vector<std::string>& arguments, FileSystem& files, std::ostream& out,
                std::ostream& err)
{
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h"))
    {
        out << kUsage;
        return kClean;
    }
    Arguments parsed;
    std::string problem;
    if (!ParseArguments(arguments, &parsed, &problem))
    {
        err << "mapcheck: " << problem << '\n' << kUsage;
        return kCouldNotRun;
    }
    Run run(files, out, err);
    switch (parsed.mode)
    {
    case Mode::Check:
        return run.Check(parsed);
    case Mode::ToJson:
        return run.ToJson(parsed.files[0]);
    case Mode::FromJson:
        return run.FromJson(parsed.files[0], parsed.files[1]);
    }
    return kCouldNotRun;
}
} // namespace mapcheck
