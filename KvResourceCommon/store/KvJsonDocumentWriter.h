#pragma once

#include "KvResourceCommonExport.h"
#include "store/KvJsonWriter.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

// Builds the document the events describe, for callers that inspect or edit it.
class KV_RESOURCECOMMON_API KvJsonDocumentWriter : public KvJsonWriter
{
public:
    using Json = nlohmann::ordered_json;

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

    // The document once its outermost value is complete.
    Json TakeDocument() { return std::move(m_Document); }

private:
    // Adds a value where the events are: the document itself, the next array element or
    // the member named by the last key.
    Json& Place(Json value);

    Json m_Document;
    // The containers still open, innermost last. Each is the last value of its parent, which
    // gains nothing while it is open, so the pointers stay valid.
    std::vector<Json*> m_apOpen;
    std::string m_strKey;
};
