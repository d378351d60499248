#pragma once

#include "host/KvResult.h"

#include <cstdint>
#include <string>
#include <vector>

// Gives back the bytes of the blob references a JSON document holds.
class KvBlobSource
{
public:
    virtual ~KvBlobSource() = default;

    // The bytes stored under a SHA-256 (64 lower-case hex digits): fails when there are none,
    // when they are not `size` bytes long or when they no longer hash to it.
    virtual KvResult Get(const std::string& hash, uint64_t size, std::vector<uint8_t>& outBytes) const = 0;
};
