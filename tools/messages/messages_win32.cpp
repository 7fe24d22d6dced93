#include "messages.h"

#include "chinese_catalogue.h"
#include "mo_catalogue.h"

#include <windows.h>

namespace tarnel::messages {
namespace {

MoCatalogue catalogue;

}  // namespace

void UseUserLanguage()
{
    // The texts are UTF-8: cmd.exe and PowerShell show them as such.
    ::SetConsoleOutputCP(CP_UTF8);
    if (PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_CHINESE) {
        catalogue = MoCatalogue(kChineseCatalogue);
    }
}

const char* Tr(const char* english)
{
    return InEnglish::Active() ? english : catalogue.Find(english).value_or(english);
}

const char* TrN(const char* one, const char* many, unsigned long count)
{
    const char* english = count == 1 ? one : many;
    return InEnglish::Active() ? english : catalogue.Find(one).value_or(english);
}

}  // namespace tarnel::messages
