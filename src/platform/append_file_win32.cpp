#include "platform/append_file.h"
#include "platform/last_error.h"

#include <windows.h>

namespace tarnel::platform {
namespace {

std::wstring Wide(const std::string& text)
{
    std::wstring wide(static_cast<std::size_t>(
                          ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0)),
                      L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                          static_cast<int>(wide.size()));
    return wide;
}

class Win32AppendFile : public AppendFile {
public:
    Win32AppendFile(HANDLE handle, std::string contents) : handle_(handle), contents_(std::move(contents)) {}
    ~Win32AppendFile() override { ::CloseHandle(handle_); }

    const std::string& Contents() const override { return contents_; }

    std::error_code Append(std::string_view text) override
    {
        DWORD written = 0;
        if (!::WriteFile(handle_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
            written != text.size() || !::FlushFileBuffers(handle_)) {
            return LastError();
        }
        return {};
    }

private:
    HANDLE handle_;
    std::string contents_;
};

}  // namespace

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
    char buffer[4096];
    DWORD read = 0;
    BOOL readable = TRUE;
    while ((readable = ::ReadFile(handle, buffer, sizeof buffer, &read, nullptr)) && read != 0) {
        contents.append(buffer, read);
    }
    if (!readable) {
        error = LastError();
        ::CloseHandle(handle);
        return nullptr;
    }
    error.clear();
    return std::make_unique<Win32AppendFile>(handle, std::move(contents));
}

}  // namespace tarnel::platform
