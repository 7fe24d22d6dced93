#include "messages/chinese_catalogue.h"
#include "messages/messages.h"
#include "messages/mo_catalogue.h"

namespace tarnel::messages {
namespace {

const MoCatalogue& Catalogue()
{
    static const MoCatalogue catalogue(kChineseCatalogue);
    return catalogue;
}

const char* ChineseTr(const char* english)
{
    return Catalogue().Find(english).value_or(english);
}

const char* ChineseTrN(const char* one, const char* many, unsigned long count)
{
    return Catalogue().Find(one).value_or(count == 1 ? one : many);
}

}  // namespace

const Translation kChinese{ChineseTr, ChineseTrN};

}  // namespace tarnel::messages
