#include "platform/file_io_win32.h"
#include "platform/last_error.h"
#include "platform/wide_text_win32.h"
#include "platform/whole_file.h"

namespace tarnel::platform {
namespace {

// The folder part of `path`, "." when it names none.
std::wstring FolderOf(const std::wstring& path)
{
    const auto end = path.find_last_of(L"\\/");
    return end == std::wstring::npos ? L"." : path.substr(0, end);
}

}  // namespace

std::error_code ReadToEnd(HANDLE handle, std::string& contents)
{
    char buffer[4096];
    DWORD read = 0;
    BOOL readable = TRUE;
    while ((readable = ::ReadFile(handle, buffer, sizeof buffer, &read, nullptr)) && read != 0) {
        contents.append(buffer, read);
    }
    return readable ? std::error_code{} : LastError();
}

std::error_code WriteAll(HANDLE handle, std::string_view text)
{
    DWORD written = 0;
    const BOOL ok = ::WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return WriteResult(ok, written, text.size());
}

std::error_code WriteResult(BOOL ok, DWORD written, std::size_t wanted)
{
    if (!ok) {
        return LastError();
    }
    return written == wanted ? std::error_code{} : std::error_code(ERROR_DISK_FULL, std::system_category());
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::error_code& error)
{
    // Readable also while a run appends to it.
    const HANDLE handle = ::CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = LastError();
        return std::nullopt;
    }
    std::string contents;
    error = ReadToEnd(handle, contents);
    ::CloseHandle(handle);
    return error ? std::nullopt : std::optional(std::move(contents));
}

bool NoSuchFile(std::error_code readError)
{
    return readError.category() == std::system_category() &&
           (readError.value() == ERROR_FILE_NOT_FOUND || readError.value() == ERROR_PATH_NOT_FOUND);
}

std::error_code WriteWholeFile(const std::string& path, std::string_view text)
{
    const std::wstring target = Wide(path);
    wchar_t temporary[MAX_PATH];
    if (::GetTempFileNameW(FolderOf(target).c_str(), L"trn", 0, temporary) == 0) {
        return LastError();
    }
    const HANDLE handle = ::CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                       nullptr);
    std::error_code error = handle == INVALID_HANDLE_VALUE ? LastError() : WriteAll(handle, text);
    if (!error && !::FlushFileBuffers(handle)) {
        error = LastError();
    }
    if (handle != INVALID_HANDLE_VALUE) {
        ::CloseHandle(handle);
    }
    if (!error && !::MoveFileExW(temporary, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = LastError();
    }
    if (error) {
        ::DeleteFileW(temporary);
    }
    return error;
}

std::error_code MakeFolders(const std::string& path)
{
    // Each folder from the top down; those above the last may be a drive or
    // a share, which cannot be made and need not be.
    const std::wstring folder = Wide(path);
    for (auto end = folder.find_first_of(L"\\/", 1); end != std::wstring::npos;
         end = folder.find_first_of(L"\\/", end + 1)) {
        ::CreateDirectoryW(folder.substr(0, end).c_str(), nullptr);
    }
    if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
        return LastError();
    }
    return {};
}

}  // namespace tarnel::platform
