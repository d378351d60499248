#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// A whole file mapped read-only: large inputs are parsed in place, without copying them into
// memory first.
class FileView
{
public:
    // Throws std::runtime_error "<path>: cannot be opened" (or "is larger than <limit> bytes").
    FileView(const std::string& path, std::size_t maxSize);
    ~FileView();
    FileView(const FileView&) = delete;
    FileView& operator=(const FileView&) = delete;

    std::string_view Text() const { return {static_cast<const char*>(m_pData), m_uiSize}; }

private:
    void* m_pData = nullptr;
    std::size_t m_uiSize = 0;
};
