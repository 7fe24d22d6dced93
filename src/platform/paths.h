#pragma once

#include <string>

// File paths as text, with the system's separators.
namespace tarnel::platform {

// The folder part of `path`; empty when it names none.
std::string FolderOf(const std::string& path);

// The last part of `path`: a file's or a folder's own name.
std::string NameOf(const std::string& path);

// `name` inside `folder`.
std::string Joined(const std::string& folder, const std::string& name);

}  // namespace tarnel::platform
