#include "messages/messages.h"

namespace tarnel::messages {
namespace {

const char* Same(const char* english)
{
    return english;
}

const char* SameN(const char* one, const char* many, unsigned long count)
{
    return count == 1 ? one : many;
}

}  // namespace

const Translation kUserLanguage{Tr, TrN};
const Translation kEnglish{Same, SameN};

}  // namespace tarnel::messages
