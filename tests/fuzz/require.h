#pragma once

#include <cstdlib>

// A property every input must keep; libFuzzer keeps the input that breaks it.
inline void Require(bool property)
{
    if (!property) {
        std::abort();
    }
}
