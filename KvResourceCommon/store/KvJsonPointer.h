#pragma once

#include <charconv>
#include <string>
#include <string_view>

// JSON pointers (RFC 6901) to the values a store walk is at: the targets of {"$ref"} and the
// places named in load errors.

// Appends one reference token, "~" and "/" escaped.
inline void KvAppendJsonPointerToken(std::string& path, std::string_view token)
{
    path += '/';
    for (char c : token)
    {
        if (c == '~')
            path += "~0";
        else if (c == '/')
            path += "~1";
        else
            path += c;
    }
}

inline std::string KvJsonPointerChild(const std::string& path, std::string_view token)
{
    std::string child = path;
    KvAppendJsonPointerToken(child, token);
    return child;
}

// Appends one token to a pointer while it lives, so that a walk keeps one path buffer
// instead of a string per member.
class KvJsonPointerToken
{
public:
    KvJsonPointerToken(std::string& path, std::string_view token) : m_rPath(path), m_uiLength(path.size())
    {
        KvAppendJsonPointerToken(path, token);
    }
    KvJsonPointerToken(std::string& path, size_t index) : m_rPath(path), m_uiLength(path.size())
    {
        char text[24];
        KvAppendJsonPointerToken(path,
                                 std::string_view(text, std::to_chars(text, text + sizeof(text), index).ptr));
    }
    ~KvJsonPointerToken() { m_rPath.resize(m_uiLength); }

    KvJsonPointerToken(const KvJsonPointerToken&) = delete;
    KvJsonPointerToken& operator=(const KvJsonPointerToken&) = delete;

private:
    std::string& m_rPath;
    size_t m_uiLength;
};
