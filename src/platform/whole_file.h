#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <system_error>

// Files read or written as a whole, such as a report made from a record.
namespace tarnel::platform {

// The contents of the file at `path`; none, with `error` saying why, when it
// cannot be read (a missing file too). Nothing is created or locked.
std::optional<std::string> ReadWholeFile(const std::string& path, std::error_code& error);

// Whether a read failed because nothing is at the path.
bool NoSuchFile(std::error_code readError);

// Puts `text` at `path` in one step: written and synced beside it, then
// renamed over it, so that no reader sees half a file and a failure leaves
// what was there before.
std::error_code WriteWholeFile(const std::string& path, std::string_view text);

// Makes the folder `path` and the missing folders above it.
std::error_code MakeFolders(const std::string& path);

}  // namespace tarnel::platform
