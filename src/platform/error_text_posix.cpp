#include "platform/error_text.h"

namespace tarnel::platform {

// strerror follows the locale, UTF-8 on any current Linux.
std::string ErrorText(std::error_code error)
{
    return error.message();
}

}  // namespace tarnel::platform
