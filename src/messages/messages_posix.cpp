#include "messages/messages.h"

#include <clocale>
#include <filesystem>
#include <libintl.h>
#include <system_error>

namespace tarnel::messages {
namespace {

constexpr const char* kDomain = "tarnel";

// Beside the program's folder: /usr/share/locale for /usr/bin, and the build
// tree lays its catalogue out the same way.
std::string CatalogueFolder()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return (program.parent_path().parent_path() / "share" / "locale").string();
}

}  // namespace

void UseUserLanguage()
{
    // Messages and characters only: numbers in machine output keep C's form.
    std::setlocale(LC_CTYPE, "");
    std::setlocale(LC_MESSAGES, "");
    ::bindtextdomain(kDomain, CatalogueFolder().c_str());
    ::bind_textdomain_codeset(kDomain, "UTF-8");
}

const char* Tr(const char* english)
{
    return ::dgettext(kDomain, english);
}

const char* TrN(const char* one, const char* many, unsigned long count)
{
    return ::dngettext(kDomain, one, many, count);
}

}  // namespace tarnel::messages
