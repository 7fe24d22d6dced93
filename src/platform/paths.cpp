#include "platform/path_separators.h"
#include "platform/paths.h"

namespace tarnel::platform {

std::string FolderOf(const std::string& path)
{
    const auto end = path.find_last_of(kPathSeparators);
    return end == std::string::npos ? std::string{} : path.substr(0, end);
}

std::string NameOf(const std::string& path)
{
    return path.substr(path.find_last_of(kPathSeparators) + 1);
}

std::string Joined(const std::string& folder, const std::string& name)
{
    if (folder.empty()) {
        return name;
    }
    const bool separated = std::string(kPathSeparators).find(folder.back()) != std::string::npos;
    return separated ? folder + name : folder + kPathSeparators[0] + name;
}

}  // namespace tarnel::platform
