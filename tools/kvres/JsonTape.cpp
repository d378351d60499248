#include "JsonTape.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace
{
bool IsWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

void AppendUtf8(std::string& out, uint32_t codePoint)
{
    if (codePoint < 0x80)
    {
        out += static_cast<char>(codePoint);
    }
    else if (codePoint < 0x800)
    {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    else if (codePoint < 0x10000)
    {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    else
    {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}
} // namespace

// One pass over the text with an explicit stack of open containers, so that nesting depth
// costs memory, not call stack.
class JsonTape::Parser
{
public:
    Parser(std::string_view text, JsonTape& tape, std::string_view streamedKey, ElementSink* pSink)
        : m_Text(text), m_Tape(tape), m_StreamedKey(streamedKey), m_pSink(pSink)
    {
    }

    bool Document()
    {
        // A UTF-8 byte order mark may lead; a partial one is an error.
        if (!m_Text.empty() && static_cast<unsigned char>(m_Text[0]) == 0xEF)
        {
            if (m_Text.substr(0, 3) != "\xEF\xBB\xBF")
                return false;
            m_uiPos = 3;
        }
        std::vector<uint32_t> open;
        for (;;)
        {
            // A value.
            SkipWhiteSpace();
            if (AtEnd())
                return false;
            if (!open.empty() && open.back() == m_uiStreamed)
            {
                m_uiElementStart = static_cast<uint32_t>(m_Tape.m_aNodes.size());
                m_uiElementTextStart = m_Tape.m_strText.size();
            }
            const char c = m_Text[m_uiPos];
            if (c == '{' || c == '[')
            {
                ++m_uiPos;
                const bool bObject = c == '{';
                open.push_back(Push(bObject ? Kind::Object : Kind::Array));
                if (!bObject)
                    StartStream(open);
                SkipWhiteSpace();
                if (!AtEnd() && m_Text[m_uiPos] == (bObject ? '}' : ']'))
                {
                    ++m_uiPos;
                    Close(open);
                }
                else
                {
                    if (bObject && !MemberKey())
                        return false;
                    continue;
                }
            }
            else
            {
                if (!Scalar())
                    return false;
                Count(open);
            }
            // After a value: the containers it completes, then a separator or the end.
            for (;;)
            {
                SkipWhiteSpace();
                // nlohmann's lexer reads a NUL byte as the end of the input.
                if (open.empty())
                    return AtEnd() || m_Text[m_uiPos] == '\0';
                if (AtEnd())
                    return false;
                const char next = m_Text[m_uiPos++];
                const bool bObject = m_Tape.m_aNodes[open.back()].m_eKind == Kind::Object;
                if (next == ',')
                {
                    if (bObject && !MemberKey())
                        return false;
                    break;
                }
                if (next != (bObject ? '}' : ']'))
                    return false;
                Close(open);
            }
        }
    }

private:
    bool AtEnd() const { return m_uiPos >= m_Text.size(); }

    void SkipWhiteSpace()
    {
        while (m_uiPos < m_Text.size() && IsWhiteSpace(m_Text[m_uiPos]))
            ++m_uiPos;
    }

    uint32_t Push(Kind kind)
    {
        const uint32_t index = static_cast<uint32_t>(m_Tape.m_aNodes.size());
        Node& node = m_Tape.m_aNodes.emplace_back();
        node.m_eKind = kind;
        node.m_uiEnd = index + 1;
        node.m_ulValue = 0;
        return index;
    }

    // A finished value counts in its container; an element of the streamed array goes to the
    // sink and leaves the tape.
    void Count(const std::vector<uint32_t>& open)
    {
        if (open.empty())
            return;
        ++m_Tape.m_aNodes[open.back()].m_uiCount;
        if (open.back() != m_uiStreamed)
            return;
        m_pSink->Element(m_Tape, m_uiElementStart);
        m_Tape.m_aNodes.resize(m_uiElementStart);
        m_Tape.m_strText.resize(m_uiElementTextStart);
    }

    // An array just opened at the root object's streamed key starts the stream.
    void StartStream(const std::vector<uint32_t>& open)
    {
        if (m_pSink == nullptr || m_uiStreamed != kNone || open.size() != 2 ||
            m_Tape.m_aNodes[open[0]].m_eKind != Kind::Object)
            return;
        const uint32_t array = open.back();
        if (m_Tape.Text(array - 1) != m_StreamedKey)
            return;
        m_uiStreamed = array;
        // The root's members so far are what the sink can look at.
        m_Tape.m_aNodes[open[0]].m_uiEnd = array - 1;
        m_pSink->Started(m_Tape, array);
    }

    void Close(std::vector<uint32_t>& open)
    {
        m_Tape.m_aNodes[open.back()].m_uiEnd = static_cast<uint32_t>(m_Tape.m_aNodes.size());
        open.pop_back();
        Count(open);
    }

    // A member's key and its colon; the value follows.
    bool MemberKey()
    {
        SkipWhiteSpace();
        if (AtEnd() || m_Text[m_uiPos] != '"' || !String())
            return false;
        SkipWhiteSpace();
        if (AtEnd() || m_Text[m_uiPos] != ':')
            return false;
        ++m_uiPos;
        return true;
    }

    bool Scalar()
    {
        const char c = m_Text[m_uiPos];
        bool bOk = false;
        if (c == '"')
            bOk = String();
        else if (c == '-' || IsDigit(c))
            bOk = Number();
        else if (c == 't')
            bOk = Literal("true", Kind::Boolean, true);
        else if (c == 'f')
            bOk = Literal("false", Kind::Boolean, false);
        else if (c == 'n')
            bOk = Literal("null", Kind::Null, false);
        return bOk;
    }

    bool Literal(std::string_view word, Kind kind, bool bValue)
    {
        if (m_Text.substr(m_uiPos, word.size()) != word)
            return false;
        m_uiPos += word.size();
        m_Tape.m_aNodes[Push(kind)].m_bValue = bValue;
        return true;
    }

    bool Number()
    {
        const size_t start = m_uiPos;
        if (m_Text[m_uiPos] == '-')
            ++m_uiPos;
        if (AtEnd() || !IsDigit(m_Text[m_uiPos]))
            return false;
        if (m_Text[m_uiPos] == '0')
            ++m_uiPos;
        else
            SkipDigits();
        bool bInteger = true;
        if (!AtEnd() && m_Text[m_uiPos] == '.')
        {
            ++m_uiPos;
            if (AtEnd() || !IsDigit(m_Text[m_uiPos]))
                return false;
            SkipDigits();
            bInteger = false;
        }
        if (!AtEnd() && (m_Text[m_uiPos] == 'e' || m_Text[m_uiPos] == 'E'))
        {
            ++m_uiPos;
            if (!AtEnd() && (m_Text[m_uiPos] == '+' || m_Text[m_uiPos] == '-'))
                ++m_uiPos;
            if (AtEnd() || !IsDigit(m_Text[m_uiPos]))
                return false;
            SkipDigits();
            bInteger = false;
        }
        const char* pFirst = m_Text.data() + start;
        const char* pLast = m_Text.data() + m_uiPos;
        Node& node = m_Tape.m_aNodes[Push(Kind::Float)];
        // Integers that fit 64 bits stay integers, as nlohmann keeps them; others are doubles.
        if (bInteger)
        {
            if (*pFirst == '-')
            {
                int64_t value = 0;
                if (std::from_chars(pFirst, pLast, value).ec == std::errc())
                {
                    node.m_eKind = Kind::Integer;
                    node.m_iValue = value;
                    return true;
                }
            }
            else
            {
                uint64_t value = 0;
                if (std::from_chars(pFirst, pLast, value).ec == std::errc())
                {
                    node.m_eKind = Kind::Unsigned;
                    node.m_ulValue = value;
                    return true;
                }
            }
        }
        double value = 0.0;
        if (std::from_chars(pFirst, pLast, value).ec != std::errc())
        {
            // Out of range: strtod rounds to zero or infinity as nlohmann's reading does.
            const std::string token(pFirst, pLast);
            value = std::strtod(token.c_str(), nullptr);
        }
        // nlohmann refuses a number that overflows a double.
        if (!std::isfinite(value))
            return false;
        node.m_dValue = value;
        return true;
    }

    void SkipDigits()
    {
        while (!AtEnd() && IsDigit(m_Text[m_uiPos]))
            ++m_uiPos;
    }

    // A string at m_uiPos (its opening quote), decoded into the tape's text.
    bool String()
    {
        ++m_uiPos;
        std::string& out = m_Tape.m_strText;
        const size_t offset = out.size();
        for (;;)
        {
            // Plain printable ASCII in one run.
            const size_t runStart = m_uiPos;
            while (m_uiPos < m_Text.size())
            {
                const unsigned char c = static_cast<unsigned char>(m_Text[m_uiPos]);
                if (c == '"' || c == '\\' || c < 0x20 || c >= 0x80)
                    break;
                ++m_uiPos;
            }
            out.append(m_Text.data() + runStart, m_uiPos - runStart);
            if (AtEnd())
                return false;
            const unsigned char c = static_cast<unsigned char>(m_Text[m_uiPos]);
            if (c == '"')
            {
                ++m_uiPos;
                break;
            }
            if (c < 0x20)
                return false;
            if (c == '\\')
            {
                if (!Escape(out))
                    return false;
            }
            else if (!Utf8Sequence(out))
            {
                return false;
            }
        }
        Node& node = m_Tape.m_aNodes[Push(Kind::String)];
        node.m_Text.m_uiOffset = static_cast<uint32_t>(offset);
        node.m_Text.m_uiLength = static_cast<uint32_t>(out.size() - offset);
        return true;
    }

    bool Escape(std::string& out)
    {
        ++m_uiPos;
        if (AtEnd())
            return false;
        const char c = m_Text[m_uiPos++];
        switch (c)
        {
        case '"':
        case '\\':
        case '/':
            out += c;
            return true;
        case 'b':
            out += '\b';
            return true;
        case 'f':
            out += '\f';
            return true;
        case 'n':
            out += '\n';
            return true;
        case 'r':
            out += '\r';
            return true;
        case 't':
            out += '\t';
            return true;
        case 'u':
            break;
        default:
            return false;
        }
        uint32_t codePoint = 0;
        if (!HexQuad(codePoint))
            return false;
        if (codePoint >= 0xDC00 && codePoint <= 0xDFFF)
            return false;
        if (codePoint >= 0xD800 && codePoint <= 0xDBFF)
        {
            // A high surrogate needs its low half right after it.
            uint32_t low = 0;
            if (m_Text.substr(m_uiPos, 2) != "\\u")
                return false;
            m_uiPos += 2;
            if (!HexQuad(low) || low < 0xDC00 || low > 0xDFFF)
                return false;
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (low - 0xDC00);
        }
        AppendUtf8(out, codePoint);
        return true;
    }

    bool HexQuad(uint32_t& outValue)
    {
        if (m_Text.size() - m_uiPos < 4)
            return false;
        for (int digit = 0; digit < 4; ++digit)
        {
            const char c = m_Text[m_uiPos++];
            uint32_t value = 0;
            if (c >= '0' && c <= '9')
                value = c - '0';
            else if (c >= 'a' && c <= 'f')
                value = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                value = c - 'A' + 10;
            else
                return false;
            outValue = outValue * 16 + value;
        }
        return true;
    }

    // One well-formed multi-byte UTF-8 sequence (RFC 3629: no overlong forms, no surrogates,
    // nothing above U+10FFFF), copied as it is.
    bool Utf8Sequence(std::string& out)
    {
        const unsigned char lead = static_cast<unsigned char>(m_Text[m_uiPos]);
        unsigned char secondLow = 0x80;
        unsigned char secondHigh = 0xBF;
        size_t length = 0;
        if (lead >= 0xC2 && lead <= 0xDF)
            length = 2;
        else if (lead >= 0xE0 && lead <= 0xEF)
        {
            length = 3;
            secondLow = lead == 0xE0 ? 0xA0 : 0x80;
            secondHigh = lead == 0xED ? 0x9F : 0xBF;
        }
        else if (lead >= 0xF0 && lead <= 0xF4)
        {
            length = 4;
            secondLow = lead == 0xF0 ? 0x90 : 0x80;
            secondHigh = lead == 0xF4 ? 0x8F : 0xBF;
        }
        else
            return false;
        if (m_Text.size() - m_uiPos < length)
            return false;
        for (size_t index = 1; index < length; ++index)
        {
            const unsigned char c = static_cast<unsigned char>(m_Text[m_uiPos + index]);
            const unsigned char low = index == 1 ? secondLow : 0x80;
            const unsigned char high = index == 1 ? secondHigh : 0xBF;
            if (c < low || c > high)
                return false;
        }
        out.append(m_Text.data() + m_uiPos, length);
        m_uiPos += length;
        return true;
    }

    static constexpr uint32_t kNone = UINT32_MAX;

    std::string_view m_Text;
    JsonTape& m_Tape;
    std::string_view m_StreamedKey;
    ElementSink* m_pSink;
    uint32_t m_uiStreamed = kNone;
    uint32_t m_uiElementStart = 0;
    size_t m_uiElementTextStart = 0;
    size_t m_uiPos = 0;
};

bool JsonTape::Parse(std::string_view text, std::string_view streamedKey, ElementSink* pSink)
{
    m_aNodes.clear();
    m_strText.clear();
    // Files over 4 GiB do not fit the node offsets; the readers refuse far smaller ones.
    if (text.size() >= UINT32_MAX)
        return false;
    if (!Parser(text, *this, streamedKey, pSink).Document())
    {
        m_aNodes.clear();
        m_strText.clear();
        return false;
    }
    return true;
}

std::optional<uint32_t> JsonTape::Member(uint32_t object, std::string_view key) const
{
    std::optional<uint32_t> found;
    for (uint32_t name = First(object); name < m_aNodes[object].m_uiEnd; name = Next(name + 1))
    {
        if (Text(name) == key)
            found = name + 1;
    }
    return found;
}
