#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

namespace tarnel::test {

// A table row's name as gtest takes a test's: letters, digits and '_'.
template <class Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info)
{
    std::string name = info.param.name;
    std::ranges::replace_if(name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

}  // namespace tarnel::test
