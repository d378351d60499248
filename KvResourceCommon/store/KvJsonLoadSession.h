#pragma once

#include "KvResourceCommonExport.h"
#include "store/KvJsonStore.h"

#include <memory>
#include <string>

class KvBlobSource;
class KvPlaceholderSet;
class KvReflectedDataType;

// Loads documents whose cross-references may point into one another, such as the files of a
// project: a reference is resolved once every document is loaded, whatever their order, and the
// loaded objects' post-deserialise steps run after that, in load order.
class KV_RESOURCECOMMON_API KvJsonLoadSession
{
public:
    // References whose targets are not loaded get placeholders from `pPlaceholders` when given;
    // blob references are read from `pBlobs`, which must outlive the session.
    explicit KvJsonLoadSession(KvPlaceholderSet* pPlaceholders = nullptr,
                               const KvBlobSource* pBlobs = nullptr);
    // Unfinished references stay empty.
    ~KvJsonLoadSession();
    KvJsonLoadSession(const KvJsonLoadSession&) = delete;
    KvJsonLoadSession& operator=(const KvJsonLoadSession&) = delete;

    // As KvJsonStore::Load and LoadFile, but the object's cross-references stay empty until
    // Finish; the object must live until then.
    void* Load(const KvReflectedDataType* pType, const KvJsonStore::Json& document,
               const std::string& sourceName);
    void* LoadFile(const std::string& path, const KvReflectedDataType* pType);

    // Points every reference loaded at its target among the live objects (by GUID, then by name,
    // then a placeholder; a missing target is logged and the reference left empty), then runs
    // the post-deserialise steps. Documents loaded afterwards wait for the next Finish.
    void Finish();

    // What waits for Finish; defined with the loader.
    struct tPending;

private:
    std::unique_ptr<tPending> m_pPending;
    KvPlaceholderSet* m_pPlaceholders;
    const KvBlobSource* m_pBlobs;
};
