#pragma once

#include "KvResourceCommonExport.h"
#include "store/KvJsonWriter.h"

#include <iosfwd>
#include <string>
#include <vector>

// Writes JSON text as the events arrive, byte for byte as nlohmann's dump(indent) writes the
// same document: members and elements one per line with `indent` spaces per level, or all on
// one line for an indent below 0. Only a small buffer is held, never the document.
class KV_RESOURCECOMMON_API KvJsonTextWriter : public KvJsonWriter
{
public:
    KvJsonTextWriter(std::ostream& out, int indent);
    // Flushes what is buffered.
    ~KvJsonTextWriter() override;

    KvJsonTextWriter(const KvJsonTextWriter&) = delete;
    KvJsonTextWriter& operator=(const KvJsonTextWriter&) = delete;

    void BeginObject() override;
    void Key(std::string_view key) override;
    void EndObject() override;
    void BeginArray() override;
    void EndArray() override;

    void Null() override;
    void Bool(bool value) override;
    void Unsigned(uint64_t value) override;
    void Signed(int64_t value) override;
    void Double(double value) override;
    void String(std::string_view text) override;

    // Text written outside the JSON value (a final line feed).
    void Raw(std::string_view text);
    // Hands the buffered text to the stream; false when the stream has failed.
    bool Flush();

private:
    // Starts an element or a member: the comma after the previous one and the line break.
    void BeginItem();
    void BeginValue();
    void Open(char bracket);
    void Close(char bracket);
    void PutQuoted(std::string_view text);
    // A line break and the indent of the depth.
    void PutIndent(size_t depth);
    void Put(std::string_view text);
    void WriteBuffer();

    std::ostream& m_rOut;
    int m_iIndent;
    std::string m_strBuffer;
    // Per open container, innermost last: whether it has an item yet.
    std::vector<bool> m_abHasItems;
    bool m_bAfterKey = false;
};
