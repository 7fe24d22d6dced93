#include "messages/messages.h"

#include "messages/chinese_catalogue.h"
#include "messages/mo_catalogue.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace tarnel::messages {
namespace {

MoCatalogue catalogue;

}  // namespace

void UseUserLanguage()
{
    // The texts are UTF-8: cmd.exe and PowerShell show them as such. The C
    // runtime would put text for a console through its own code page, and
    // unbuffered a byte at a time, which splits characters: the console gets
    // whole buffers as they are, flushed where the tools wait or report.
    ::SetConsoleOutputCP(CP_UTF8);
    for (FILE* stream : {stdout, stderr}) {
        DWORD mode = 0;
        if (::GetConsoleMode(reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream))), &mode)) {
            ::_setmode(::_fileno(stream), _O_BINARY);
            std::setvbuf(stream, nullptr, _IOFBF, 4096);
        }
    }
    if (PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_CHINESE) {
        catalogue = MoCatalogue(kChineseCatalogue);
    }
}

const char* Tr(const char* english)
{
    return catalogue.Find(english).value_or(english);
}

const char* TrN(const char* one, const char* many, unsigned long count)
{
    const char* english = count == 1 ? one : many;
    return catalogue.Find(one).value_or(english);
}

}  // namespace tarnel::messages
