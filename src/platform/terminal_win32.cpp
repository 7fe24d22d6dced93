#include "platform/input_read.h"
#include "platform/terminal.h"

#include <windows.h>

namespace tarnel::platform {

unsigned ErrorTerminalColumns()
{
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &info)) {
        return 0;
    }
    return static_cast<unsigned>(info.srWindow.Right - info.srWindow.Left + 1);
}

namespace {

bool IsConsole(DWORD handle)
{
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(handle), &mode) != 0;
}

}  // namespace

bool InputIsTerminal()
{
    return IsConsole(STD_INPUT_HANDLE);
}

bool OutputIsTerminal()
{
    return IsConsole(STD_OUTPUT_HANDLE);
}

std::ptrdiff_t ReadInput(char* buffer, std::size_t size, std::chrono::milliseconds timeout)
{
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    const auto wait = static_cast<DWORD>(timeout.count());
    // A console signals any event, and its read waits for Enter; a pipe is
    // peeked at; a file is read straight away.
    if (IsConsole(STD_INPUT_HANDLE)) {
        if (::WaitForSingleObject(input, wait) != WAIT_OBJECT_0) {
            return -1;
        }
    } else if (DWORD available = 0;
               ::PeekNamedPipe(input, nullptr, 0, nullptr, &available, nullptr) && available == 0) {
        ::Sleep(wait);
        return -1;
    }
    DWORD read = 0;
    if (!::ReadFile(input, buffer, static_cast<DWORD>(size), &read, nullptr)) {
        return ::GetLastError() == ERROR_OPERATION_ABORTED ? -1 : 0;
    }
    return static_cast<std::ptrdiff_t>(read);
}

}  // namespace tarnel::platform
