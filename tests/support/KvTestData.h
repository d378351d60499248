#pragma once

#include "support/KvTestFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>

// Fixtures, tables of cases and expected outputs kept as files under tests/data
// (KV_TESTDATA_DIR), so that the suites hold the rules and the data stays reviewable as data.
inline std::filesystem::path TestDataPath(const std::string& relative)
{
    return std::filesystem::path(KV_TESTDATA_DIR) / relative;
}

// The text of a data file; a missing or empty file fails the test.
inline std::string TestDataText(const std::string& relative)
{
    const std::string text = ReadFile(TestDataPath(relative));
    EXPECT_FALSE(text.empty()) << TestDataPath(relative) << " is missing or empty";
    return text;
}

// A JSON data file, members in the order written.
inline nlohmann::ordered_json TestDataJson(const std::string& relative)
{
    return nlohmann::ordered_json::parse(TestDataText(relative));
}

// One table of a JSON data file, by value; a missing or empty table fails the test.
inline nlohmann::ordered_json TestDataTable(const std::string& relative, const std::string& table)
{
    const nlohmann::ordered_json tables = TestDataJson(relative);
    EXPECT_FALSE(tables.value(table, nlohmann::ordered_json()).empty())
        << relative << " has no rows in " << table;
    return tables.value(table, nlohmann::ordered_json::array());
}

// For EXPECT_TRUE: equal JSON documents, a difference shown as the patch that turns the expected
// document into the actual one.
inline ::testing::AssertionResult JsonEqual(const nlohmann::ordered_json& actual,
                                            const nlohmann::ordered_json& expected)
{
    if (actual == expected)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "differs from the expected document by "
                                         << nlohmann::ordered_json::diff(expected, actual).dump();
}
