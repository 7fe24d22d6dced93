#include "platform/append_file.h"
#include "platform/file_io_win32.h"
#include "platform/last_error.h"
#include "platform/wide_text_win32.h"

#include <windows.h>

namespace tarnel::platform {
namespace {

class Win32AppendFile : public AppendFile {
public:
    Win32AppendFile(HANDLE handle, std::string contents) : handle_(handle), contents_(std::move(contents)) {}
    ~Win32AppendFile() override { ::CloseHandle(handle_); }

    const std::string& Contents() const override { return contents_; }

    std::error_code Append(std::string_view text) override
    {
        if (const std::error_code error = WriteAll(handle_, text)) {
            return error;
        }
        return ::FlushFileBuffers(handle_) ? std::error_code{} : LastError();
    }

private:
    HANDLE handle_;
    std::string contents_;
};

}  // namespace

bool HeldElsewhere(std::error_code openError)
{
    return openError.category() == std::system_category() &&
           (openError.value() == ERROR_SHARING_VIOLATION || openError.value() == ERROR_LOCK_VIOLATION);
}

std::unique_ptr<AppendFile> AppendFile::Open(const std::string& path, std::error_code& error)
{
    // Appending only, and no other writer while open: others may read.
    const HANDLE handle = ::CreateFileW(Wide(path).c_str(), FILE_GENERIC_READ | FILE_APPEND_DATA, FILE_SHARE_READ,
                                       nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = LastError();
        return nullptr;
    }
    std::string contents;
    if ((error = ReadToEnd(handle, contents))) {
        ::CloseHandle(handle);
        return nullptr;
    }
    error.clear();
    return std::make_unique<Win32AppendFile>(handle, std::move(contents));
}

}  // namespace tarnel::platform
