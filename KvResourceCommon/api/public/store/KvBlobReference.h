#pragma once

#include "KvResourceCommonExport.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class KvJsonWriter;

// A byte array kept out of the document: {"$blob": "sha256:<64 hex digits>", "size": N}.
struct KvBlobReference
{
    std::string m_strHash;
    uint64_t m_ullSize = 0;

    KV_RESOURCECOMMON_API void Write(KvJsonWriter& writer) const;
    // Nothing for JSON of any other form, a hash included that is not 64 lower-case hex digits
    // (so that a hash never names anything but a file of the blob store).
    KV_RESOURCECOMMON_API static std::optional<KvBlobReference> Parse(const nlohmann::ordered_json& json);
    // Whether JSON is meant as a reference, well formed or not.
    KV_RESOURCECOMMON_API static bool IsMarked(const nlohmann::ordered_json& json);
    KV_RESOURCECOMMON_API static bool IsHash(std::string_view text);
    // Every well-formed reference of a document, walked level by level: a document may nest
    // deeper than the stack allows.
    KV_RESOURCECOMMON_API static std::vector<KvBlobReference>
    CollectIn(const nlohmann::ordered_json& document);
};
