#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

// The bytes of a file; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// A fresh folder for each test, named after the process and the test, removed afterwards.
class TestFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const ::testing::TestInfo* pTest = ::testing::UnitTest::GetInstance()->current_test_info();
        // Parameterised tests have "/" in their names.
        std::string name = std::string(pTest->test_suite_name()) + "_" + pTest->name();
        std::replace(name.begin(), name.end(), '/', '_');
        m_Folder = std::filesystem::temp_directory_path() / ("Kv_" + std::to_string(getpid()) + "_" + name);
        std::filesystem::create_directories(m_Folder);
    }
    void TearDown() override { std::filesystem::remove_all(m_Folder); }

    std::string Path(const std::string& relative) const { return (m_Folder / relative).string(); }
    // Writes a file, creating its folders; its path.
    std::string Write(const std::string& relative, const std::string& text) const
    {
        std::filesystem::create_directories((m_Folder / relative).parent_path());
        std::ofstream(m_Folder / relative, std::ios::binary) << text;
        return Path(relative);
    }
    std::string Read(const std::string& relative) const { return ReadFile(m_Folder / relative); }

    std::filesystem::path m_Folder;
};
