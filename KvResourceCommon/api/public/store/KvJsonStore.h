#pragma once

#include "KvResourceCommonExport.h"
#include "store/KvJsonString.h"

#include <nlohmann/json.hpp>

#include <iosfwd>
#include <set>
#include <string>

class KvBlobSink;
class KvBlobSource;
class KvJsonWriter;
class KvPlaceholderSet;
class KvReflectedDataType;
class KvReflectedPrimitive;

// Saves and loads reflected objects as JSON, driven only by their schemas:
// - an object is {"$type": <type name>, <members in declaration order>}; NoSerialize members
//   and not-owned pointers are left out;
// - bool, u8, u32, s32 are JSON booleans and integers; f32 is exact for every bit pattern
//   (KvJsonFloat.h); strings are bytes, valid UTF-8 as JSON strings, others as
//   {"$latin1": ...} (KvJsonString.h); GUIDs are lower-case text; vectors and quaternions
//   arrays of floats; colours [r, g, b, a]; handles null;
// - enumerations with a converter are names unless the name is shared (KvJsonEnum.h),
//   without one numbers; byte arrays are base64, or blob references
//   {"$blob": "sha256:<hex>", "size": N} from KvBlobSink::kMinBlobSize on when the save is
//   given a blob sink (KvBlobReference.h), which a load then needs a blob source for;
// - owned pointers are nested objects or null; an object owned twice is written in full at
//   its first place and later as {"$ref": <JSON pointer>}, which loads only into a slot of
//   the same type; cross-references are {"$xref": <type>, "name": ..., "guid": ...},
//   resolved after load by GUID, then by name, else to a placeholder of the caller's set (or
//   left empty with a warning); type-record pointers are type names, limited
//   to a member's base class and its derived classes where it names one; dynamic pointers
//   objects of the type their sibling names.
// A load fills the object a constructor placed in an owned pointer, instead of replacing it,
// so that unsaved links of the owner to it stay valid.
class KV_RESOURCECOMMON_API KvJsonStore
{
public:
    using Json = nlohmann::ordered_json;

    // Spaces per level of the store's files.
    static constexpr int kFileIndent = 2;

    // Writes the object as one JSON value, alone or as a part of a document the caller
    // writes. Cross-references to `nameOnlyTargets` (placeholders of objects not loaded
    // yet) are written with their name and no GUID. Large byte arrays go to `pBlobs` when
    // given (whose failure to store them is thrown), before the reference to them is written.
    static void Save(KvJsonWriter& writer, const KvReflectedDataType* pType, const void* pObject,
                     const std::set<const void*>& nameOnlyTargets = {}, KvBlobSink* pBlobs = nullptr);
    // The same as a document, for callers that inspect or edit it.
    static Json Save(const KvReflectedDataType* pType, const void* pObject,
                     const std::set<const void*>& nameOnlyTargets = {});
    // The text of a store file (kFileIndent, final line feed) written as it is made; false
    // when the stream fails.
    static bool SaveText(std::ostream& out, const KvReflectedDataType* pType, const void* pObject,
                         const std::set<const void*>& nameOnlyTargets = {}, KvBlobSink* pBlobs = nullptr);
    // The loaded object (the caller owns it), or null with the reason logged as
    // "<source>: <JSON pointer of the member>: <what is wrong>"; nothing half-built remains.
    // References to objects not loaded get placeholders from `pPlaceholders` when given;
    // blob references are read from `pBlobs`, and refused without one.
    static void* Load(const KvReflectedDataType* pType, const Json& document, const std::string& sourceName,
                      KvPlaceholderSet* pPlaceholders = nullptr, const KvBlobSource* pBlobs = nullptr);

    // Writes SaveText to a file; false (logged) on failure.
    static bool SaveFile(const std::string& path, const KvReflectedDataType* pType, const void* pObject,
                         const std::set<const void*>& nameOnlyTargets = {});
    // Reads and loads a file; null (logged) for an unreadable, malformed or mismatched file.
    static void* LoadFile(const std::string& path, const KvReflectedDataType* pType,
                          KvPlaceholderSet* pPlaceholders = nullptr, const KvBlobSource* pBlobs = nullptr);

    // Whether a member is saved and loaded: neither NoSerialize nor a not-owned pointer.
    static bool IsSaved(const KvReflectedPrimitive& member);
};
