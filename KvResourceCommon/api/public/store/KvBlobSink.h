#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Takes the byte arrays the JSON store writes as blob references instead of base64.
class KvBlobSink
{
public:
    // Byte arrays of this size and more go to a sink when the save has one.
    static constexpr size_t kMinBlobSize = 64 * 1024;

    virtual ~KvBlobSink() = default;

    // The SHA-256 of the bytes as 64 lower-case hex digits, once they are stored under it;
    // throws std::filesystem::filesystem_error when they cannot be.
    virtual std::string Put(const std::vector<uint8_t>& bytes) = 0;
};
