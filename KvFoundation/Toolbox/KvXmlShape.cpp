#include "Toolbox/KvXmlShape.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace
{
// The parser's character classes, one table lookup per character as in the parser itself.
enum : uint8_t
{
    kWhitespace = 1,
    kEndsElementName = 2,
    kEndsAttributeName = 4,
};

constexpr std::array<uint8_t, 256> kCharacterClasses = []
{
    std::array<uint8_t, 256> classes{};
    for (const unsigned char c : {' ', '\t', '\n', '\r'})
        classes[c] = kWhitespace | kEndsElementName | kEndsAttributeName;
    for (const unsigned char c : {'\0', '/', '>', '?'})
        classes[c] = kEndsElementName | kEndsAttributeName;
    for (const unsigned char c : {'!', '<', '='})
        classes[c] = kEndsAttributeName;
    return classes;
}();

bool IsOf(char c, uint8_t characterClass)
{
    return (kCharacterClasses[static_cast<unsigned char>(c)] & characterClass) != 0;
}

bool IsWhitespace(char c)
{
    return IsOf(c, kWhitespace);
}

// The position of the first character at or after text that is of the class.
const char* SkipUntil(const char* text, uint8_t characterClass)
{
    while (!IsOf(*text, characterClass))
        ++text;
    return text;
}

const char* SkipWhitespace(const char* text)
{
    while (IsWhitespace(*text))
        ++text;
    return text;
}

// The position after the first terminator at or after text; null when the text ends first.
const char* After(const char* text, const char* terminator)
{
    const char* found = std::strstr(text, terminator);
    return found ? found + std::strlen(terminator) : nullptr;
}
} // namespace

// Walks the text as the parser does with its default flags, one construct per step, keeping
// the count of open elements where the parser keeps its call stack.
class KvXmlShape::Scanner
{
public:
    Scanner(const char* text, KvXmlShape& shape) : m_pText(text), m_rShape(shape)
    {
        if (std::strncmp(m_pText, "\xEF\xBB\xBF", 3) == 0)
            m_pText += 3;
    }

    // False when the text ends or the parser would stop.
    bool Step() { return m_ulOpen == 0 ? DocumentStep() : ContentStep(); }

private:
    bool DocumentStep()
    {
        m_pText = SkipWhitespace(m_pText);
        if (*m_pText != '<')
            return false;
        ++m_pText;
        return Markup();
    }

    bool ContentStep()
    {
        m_pText = SkipWhitespace(m_pText);
        if (*m_pText == '<' && m_pText[1] == '/')
        {
            m_pText = SkipWhitespace(SkipUntil(m_pText + 2, kEndsElementName));
            if (*m_pText != '>')
                return false;
            ++m_pText;
            --m_ulOpen;
            return true;
        }
        if (*m_pText == '<')
        {
            ++m_pText;
            return Markup();
        }
        if (*m_pText == '\0')
            return false;
        // Text up to the next markup is one data node.
        ++m_rShape.m_ulNodes;
        m_pText = strchrnul(m_pText, '<');
        return true;
    }

    // After a "<" that does not close an element.
    bool Markup()
    {
        if (*m_pText == '?')
            m_pText = After(m_pText + 1, "?>");
        else if (*m_pText != '!')
            return Element();
        else if (std::strncmp(m_pText, "!--", 3) == 0)
            m_pText = After(m_pText + 3, "-->");
        else if (std::strncmp(m_pText, "![CDATA[", 8) == 0)
        {
            ++m_rShape.m_ulNodes;
            m_pText = After(m_pText + 8, "]]>");
        }
        else if (std::strncmp(m_pText, "!DOCTYPE", 8) == 0 && IsWhitespace(m_pText[8]))
            m_pText = AfterDoctype(m_pText + 9);
        else
            m_pText = After(m_pText + 1, ">");
        return m_pText != nullptr;
    }

    // Bracketed sections nest, and a ">" inside them does not end the declaration.
    static const char* AfterDoctype(const char* text)
    {
        while (*text != '>')
        {
            if (*text == '\0')
                return nullptr;
            if (*text++ != '[')
                continue;
            for (uint64_t brackets = 1; brackets > 0; ++text)
            {
                if (*text == '\0')
                    return nullptr;
                if (*text == '[')
                    ++brackets;
                else if (*text == ']')
                    --brackets;
            }
        }
        return text + 1;
    }

    bool Element()
    {
        const char* name = m_pText;
        m_pText = SkipUntil(m_pText, kEndsElementName);
        if (m_pText == name)
            return false;
        ++m_rShape.m_ulNodes;
        m_pText = SkipWhitespace(m_pText);
        while (!IsOf(*m_pText, kEndsAttributeName))
        {
            m_pText = SkipUntil(m_pText, kEndsAttributeName);
            ++m_rShape.m_ulAttributes;
            m_pText = SkipWhitespace(m_pText);
            if (*m_pText != '=')
                return false;
            m_pText = SkipWhitespace(m_pText + 1);
            const char quote = *m_pText;
            if (quote != '"' && quote != '\'')
                return false;
            // Values are short: a plain loop beats a library search.
            ++m_pText;
            while (*m_pText != quote && *m_pText != '\0')
                ++m_pText;
            if (*m_pText == '\0')
                return false;
            m_pText = SkipWhitespace(m_pText + 1);
        }
        if (*m_pText == '/' && m_pText[1] == '>')
        {
            m_pText += 2;
            return true;
        }
        if (*m_pText != '>')
            return false;
        ++m_pText;
        m_rShape.m_ulDepth = std::max(m_rShape.m_ulDepth, ++m_ulOpen);
        return true;
    }

    const char* m_pText;
    KvXmlShape& m_rShape;
    uint64_t m_ulOpen = 0;
};

KvXmlShape KvXmlShape::Measure(const char* text)
{
    KvXmlShape shape;
    Scanner scanner(text, shape);
    while (scanner.Step())
    {
    }
    return shape;
}
