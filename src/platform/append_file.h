#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <system_error>

namespace tarnel::platform {

// A file a technician keeps, such as a record of work done: opened for
// reading and appending only, never truncated, held by this program alone
// while open, and grown by whole pieces that are on the disk before Append
// returns, so that a crash or a flat battery loses nothing appended.
class AppendFile {
public:
    // Opens `path`, creating it (and syncing its folder) when missing. On
    // failure the file is left as it was and `error` says why.
    static std::unique_ptr<AppendFile> Open(const std::string& path, std::error_code& error);

    virtual ~AppendFile() = default;

    // Everything the file held when it was opened.
    virtual const std::string& Contents() const = 0;

    // Appends `text` and waits until it is on the disk.
    virtual std::error_code Append(std::string_view text) = 0;
};

// Whether an Open failed because another run holds the file.
bool HeldElsewhere(std::error_code openError);

}  // namespace tarnel::platform
