#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <ostream>
#include <string>

// A test run once for each row of `rows`, which have a `name`; the body reads
// its row as GetParam(). gtest takes a row's name with letters, digits and '_'.
#define TABLE_TEST(Suite, Test, Row, rows)                                                                \
    [[maybe_unused]] void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }              \
    class Suite : public ::testing::TestWithParam<Row> {};                                               \
    INSTANTIATE_TEST_SUITE_P(Cases, Suite, ::testing::ValuesIn(rows), [](const auto& info) {             \
        std::string name = info.param.name;                                                              \
        std::ranges::replace_if(name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_'); \
        return name;                                                                                     \
    });                                                                                                  \
    TEST_P(Suite, Test)
