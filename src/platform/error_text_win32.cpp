#include "platform/error_text.h"

#include <windows.h>

namespace tarnel::platform {

// error_code::message() gives the ANSI code page's bytes (GBK on a Chinese
// Windows), which everything else here would take for UTF-8.
std::string ErrorText(std::error_code error)
{
    if (error.category() != std::system_category()) {
        return error.message();
    }
    wchar_t* text = nullptr;
    DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr,
        static_cast<DWORD>(error.value()), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0) {
        return error.message();
    }
    // The system ends its sentences with a full stop, in the language's own
    // form, and a line break: the callers put the text inside their own.
    while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n' || text[length - 1] == L' ')) {
        --length;
    }
    if (length > 0 && (text[length - 1] == L'.' || text[length - 1] == L'\u3002')) {
        --length;
    }
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), utf8.data(), size, nullptr, nullptr);
    ::LocalFree(text);
    return utf8;
}

}  // namespace tarnel::platform
