#pragma once

#include "Foundation/KvSha256.h"
#include "store/KvBlobSink.h"

// A sink that stores nothing: the JSON gets the references a project file would hold, for
// showing a resource without writing its blobs anywhere.
class KvBlobHashOnly : public KvBlobSink
{
public:
    std::string Put(const std::vector<uint8_t>& bytes) override
    {
        KvSha256 hash;
        hash.Update(bytes.data(), bytes.size());
        return KvSha256::ToHex(hash.Final());
    }
};
