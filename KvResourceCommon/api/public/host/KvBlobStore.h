#pragma once

#include "KvResourceCommonExport.h"
#include "store/KvBlobSink.h"
#include "store/KvBlobSource.h"

#include <string>

// The blobs of a project folder: each in "<folder>/.kvblobs/<2 hex>/<62 hex>", named by the
// SHA-256 of its bytes, written once and shared by every document that references it.
class KV_RESOURCECOMMON_API KvBlobStore : public KvBlobSink, public KvBlobSource
{
public:
    // The folder below a project folder; hidden, so that the project walk never takes it for
    // resources.
    static constexpr const char* kFolderName = ".kvblobs";
    // What a temporary blob's name starts with, so that anything that is not a blob stands out.
    static constexpr const char* kTemporaryPrefix = ".tmp-";

    explicit KvBlobStore(const std::string& projectFolder);

    const std::string& GetFolder() const { return m_strFolder; }
    std::string GetPath(const std::string& hash) const;

    // Streams the bytes to a temporary file beside the blobs while hashing them, then renames
    // it to its hash; a blob already there of the same size is kept. The blob is on disk
    // before its reference can be.
    std::string Put(const std::vector<uint8_t>& bytes) override;
    // Maps the file and checks its size and hash before copying it out.
    KvResult Get(const std::string& hash, uint64_t size, std::vector<uint8_t>& outBytes) const override;
    // Whether every blob a saved project file references is here at its size; false when the
    // file cannot be read. Files that hold no reference are not parsed.
    bool HoldsBlobsOf(const std::string& savedFile) const;

private:
    std::string m_strFolder;
};
