#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// A fixed table between the values 0..N-1 of an enumeration and static names. Entry N is
// the terminator "[NONE]"; names are never copied.
class KvEnumConverterBase
{
public:
    uint32_t GetCount() const { return m_uiCount; }
    // The enumeration's name as its table was declared ("tTextureFormat").
    const std::string& GetEnumName() const { return m_strEnumName; }

    // The name of a value; null for a value outside 0..N.
    const char* ToString(uint32_t value) const;
    // The first value 0..N-1 whose name equals the text byte for byte; 0 for no match or null.
    uint32_t FromString(const char* text) const;
    // The lowest value 0..N with the name, the terminator included; nothing when none has it.
    std::optional<uint32_t> FindValue(std::string_view name) const;
    // Whether another value 0..N has the same name as this one ("[NONE]" names 0 and N).
    bool IsNameShared(uint32_t value) const;

protected:
    KvEnumConverterBase(const char* enumName, uint32_t count);

    // Stores a name; a second name for a value other than 0 and N-1 is fatal.
    void AddString(uint32_t value, const char* text);
    // Fills 0 and N with "[NONE]" where empty, then checks that every entry was declared.
    void Finish();

private:
    std::string m_strEnumName;
    std::vector<const char*> m_apStrings;
    // Name to lowest value 0..N, built once the table is complete: importers and loads look
    // names up per attribute, and the key table alone has hundreds of names.
    std::unordered_map<std::string_view, uint32_t> m_ValueOfName;
    std::vector<bool> m_abNameShared;
    uint32_t m_uiCount;
    uint32_t m_uiDeclared = 0;
};

template <class T>
class KvEnumConverter : public KvEnumConverterBase
{
public:
    using Entry = std::pair<T, const char*>;

    KvEnumConverter(const char* enumName, uint32_t count, std::initializer_list<Entry> entries)
        : KvEnumConverter(enumName, count, std::vector<Entry>(entries))
    {
    }
    // For tables built by code (long, regular ones).
    KvEnumConverter(const char* enumName, uint32_t count, const std::vector<Entry>& entries)
        : KvEnumConverterBase(enumName, count)
    {
        for (const Entry& entry : entries)
            AddString(static_cast<uint32_t>(entry.first), entry.second);
        Finish();
    }

    const char* ToString(T value) const
    {
        return KvEnumConverterBase::ToString(static_cast<uint32_t>(value));
    }
    T FromString(const char* text) const { return static_cast<T>(KvEnumConverterBase::FromString(text)); }
};
