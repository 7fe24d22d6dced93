#include "messages.h"

namespace tarnel::messages {
namespace {

bool inEnglish = false;

}  // namespace

InEnglish::InEnglish() : outer_(inEnglish)
{
    inEnglish = true;
}

InEnglish::~InEnglish()
{
    inEnglish = outer_;
}

bool InEnglish::Active()
{
    return inEnglish;
}

}  // namespace tarnel::messages
