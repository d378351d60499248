#pragma once

#include <cstdint>
#include <string_view>

// Receives a JSON value as a sequence of events, so that one walker can build a document or
// write text as it goes. Containers nest: BeginObject, then Key and one value per member,
// then EndObject; BeginArray, the elements, EndArray. Keys and strings are UTF-8.
class KvJsonWriter
{
public:
    virtual ~KvJsonWriter() = default;

    virtual void BeginObject() = 0;
    virtual void Key(std::string_view key) = 0;
    virtual void EndObject() = 0;
    virtual void BeginArray() = 0;
    virtual void EndArray() = 0;

    virtual void Null() = 0;
    virtual void Bool(bool value) = 0;
    virtual void Unsigned(uint64_t value) = 0;
    virtual void Signed(int64_t value) = 0;
    virtual void Double(double value) = 0;
    virtual void String(std::string_view text) = 0;
};
