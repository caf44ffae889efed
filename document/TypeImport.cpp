// Object types added by their description files (see TypeImport.h).
#include "document/TypeImport.h"

namespace
{
// "" when the file can be read, else "<file>: <why not>".
std::string ReadProblem(FileSystem& files, const std::string& file)
{
    std::unique_ptr<FileView> view;
    const FileError error = files.ViewWholeFile(file, &view);
    return error == FileError::None ? std::string() : file + ": " + DescribeFileError(error);
}
} // namespace

int FindTypeByPath(const std::vector<ObjectType>& catalog, const std::string& path,
                   const SameFileName& same)
{
    for (size_t i = 0; i < catalog.size(); ++i)
    {
        if (same(catalog[i].path, path))
            return (int)i;
    }
    return -1;
}

TypeImportResult ImportTypeFile(MapDocument& document, FileSystem& files, const std::string& file,
                                const std::string& path, const SameFileName& same)
{
    TypeImportResult result;
    result.type = FindTypeByPath(document.objectTypes, path, same);
    if (result.type >= 0)
    {
        result.outcome = TypeImportResult::kAlreadyThere;
        return result;
    }
    // The object placement file stores 127 characters and a zero per name:
    // a longer path is refused rather than cut into the name of another file.
    if (path.size() > kMaxObjectTypePath)
    {
        result.problem = file + ": its path from the program folder (" +
                         std::to_string(path.size()) +
                         " characters) is too long for the object file's 127-character type names.";
        return result;
    }
    result.problem = ReadProblem(files, file);
    if (!result.problem.empty() || !document.ImportType(path))
        return result;
    result.outcome = TypeImportResult::kAdded;
    result.type = (int)document.objectTypes.size() - 1;
    return result;
}

bool MatchTypedTypes(const std::vector<ObjectType>& catalog, FileSystem& files,
                     const SameFileName& same, ObjectGroup* group, std::string* problem)
{
    std::vector<ObjectType>& types = group->types;
    for (size_t t = 0; t < types.size(); ++t)
    {
        const int entry = FindTypeByPath(catalog, types[t].path, same);
        if (entry >= 0)
        {
            types[t].path = catalog[(size_t)entry].path;
            continue;
        }
        size_t earlier = 0;
        while (earlier < t && !same(types[earlier].path, types[t].path))
            ++earlier;
        if (earlier < t)
        {
            types[t].path = types[earlier].path;
            continue;
        }
        const std::string why = ReadProblem(files, types[t].path);
        if (!why.empty())
        {
            if (problem)
                *problem = why;
            return false;
        }
    }
    return true;
}
