#include "store/KvJsonTextWriter.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ostream>

namespace
{
// Text is handed to the stream in pieces of about this size.
constexpr size_t kFlushSize = 64 * 1024;

// The escape of a quote, a backslash or a control character, in the document path's form:
// the short escapes where JSON has them, else \u00xx in lower case.
std::string_view Escape(unsigned char byte)
{
    static const auto s_Escapes = []
    {
        std::array<std::array<char, 7>, 0x20> escapes{};
        for (unsigned code = 0; code < 0x20; ++code)
            std::snprintf(escapes[code].data(), escapes[code].size(), "\\u%04x", code);
        return escapes;
    }();
    switch (byte)
    {
    case '"':
        return "\\\"";
    case '\\':
        return "\\\\";
    case '\b':
        return "\\b";
    case '\t':
        return "\\t";
    case '\n':
        return "\\n";
    case '\f':
        return "\\f";
    case '\r':
        return "\\r";
    default:
        return std::string_view(s_Escapes[byte].data(), 6);
    }
}
} // namespace

KvJsonTextWriter::KvJsonTextWriter(std::ostream& out, int indent) : m_rOut(out), m_iIndent(indent)
{
    m_strBuffer.reserve(kFlushSize + 1024);
}

KvJsonTextWriter::~KvJsonTextWriter()
{
    Flush();
}

bool KvJsonTextWriter::Flush()
{
    WriteBuffer();
    m_rOut.flush();
    return static_cast<bool>(m_rOut);
}

void KvJsonTextWriter::WriteBuffer()
{
    m_rOut.write(m_strBuffer.data(), static_cast<std::streamsize>(m_strBuffer.size()));
    m_strBuffer.clear();
}

void KvJsonTextWriter::Put(std::string_view text)
{
    if (m_strBuffer.size() + text.size() > kFlushSize)
    {
        WriteBuffer();
        // A long text (a large string value) goes out without a copy.
        if (text.size() >= kFlushSize)
        {
            m_rOut.write(text.data(), static_cast<std::streamsize>(text.size()));
            return;
        }
    }
    m_strBuffer.append(text);
}

void KvJsonTextWriter::PutIndent(size_t depth)
{
    static constexpr std::string_view kSpaces = "                                ";
    Put("\n");
    for (size_t count = depth * static_cast<size_t>(m_iIndent); count > 0;)
    {
        const size_t step = std::min(count, kSpaces.size());
        Put(kSpaces.substr(0, step));
        count -= step;
    }
}

void KvJsonTextWriter::Raw(std::string_view text)
{
    Put(text);
}

void KvJsonTextWriter::BeginItem()
{
    if (m_abHasItems.back())
        Put(",");
    m_abHasItems.back() = true;
    if (m_iIndent >= 0)
        PutIndent(m_abHasItems.size());
}

void KvJsonTextWriter::BeginValue()
{
    // A member's value follows its key; an element starts a new item; the outermost value
    // stands alone.
    if (m_bAfterKey)
        m_bAfterKey = false;
    else if (!m_abHasItems.empty())
        BeginItem();
}

void KvJsonTextWriter::Open(char bracket)
{
    BeginValue();
    Put(std::string_view(&bracket, 1));
    m_abHasItems.push_back(false);
}

void KvJsonTextWriter::Close(char bracket)
{
    const bool bHadItems = m_abHasItems.back();
    m_abHasItems.pop_back();
    if (bHadItems && m_iIndent >= 0)
        PutIndent(m_abHasItems.size());
    Put(std::string_view(&bracket, 1));
}

void KvJsonTextWriter::BeginObject()
{
    Open('{');
}

void KvJsonTextWriter::Key(std::string_view key)
{
    BeginItem();
    PutQuoted(key);
    Put(m_iIndent >= 0 ? ": " : ":");
    m_bAfterKey = true;
}

void KvJsonTextWriter::EndObject()
{
    Close('}');
}

void KvJsonTextWriter::BeginArray()
{
    Open('[');
}

void KvJsonTextWriter::EndArray()
{
    Close(']');
}

void KvJsonTextWriter::Null()
{
    BeginValue();
    Put("null");
}

void KvJsonTextWriter::Bool(bool value)
{
    BeginValue();
    Put(value ? "true" : "false");
}

void KvJsonTextWriter::Unsigned(uint64_t value)
{
    BeginValue();
    char text[24];
    Put(std::string_view(text, std::to_chars(text, text + sizeof(text), value).ptr));
}

void KvJsonTextWriter::Signed(int64_t value)
{
    BeginValue();
    char text[24];
    Put(std::string_view(text, std::to_chars(text, text + sizeof(text), value).ptr));
}

void KvJsonTextWriter::Double(double value)
{
    BeginValue();
    if (!std::isfinite(value))
    {
        Put("null");
        return;
    }
    // The document path's own number form (shortest round trip, ".0" on whole numbers,
    // exponents from 1e16 and below 1e-4), so that both paths write the same bytes.
    char text[64];
    Put(std::string_view(text, nlohmann::detail::to_chars(text, text + sizeof(text), value)));
}

void KvJsonTextWriter::String(std::string_view text)
{
    BeginValue();
    PutQuoted(text);
}

void KvJsonTextWriter::PutQuoted(std::string_view text)
{
    Put("\"");
    size_t plain = 0;
    for (size_t index = 0; index < text.size(); ++index)
    {
        const auto byte = static_cast<unsigned char>(text[index]);
        if (byte >= 0x20 && byte != '"' && byte != '\\')
            continue;
        Put(text.substr(plain, index - plain));
        plain = index + 1;
        Put(Escape(byte));
    }
    Put(text.substr(plain));
    Put("\"");
}
