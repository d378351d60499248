#pragma once

#include <atomic>
#include <cstdint>

namespace KvPlatform
{
// Version 1 (time-based) UUIDs of RFC 4122 made in the process: a 60-bit count of 100 ns since
// 1582-10-15, a clock sequence and a random node id with the multicast bit set (so it never
// collides with a network card's address). Timestamps strictly increase across every call of
// the process, from any thread: when the clock has not moved since the last call the timestamp
// is bumped by one. A forked child draws a new node id and clock sequence, so parent and child
// never give the same UUID.
class KvTimeUuidGenerator
{
public:
    // The generator of this module.
    static KvTimeUuidGenerator& GetInstance();

    // Fills 16 bytes in RFC 4122 order; false when the system gave no random bytes for the
    // node id.
    bool Generate(uint8_t (&outBytes)[16]);

private:
    KvTimeUuidGenerator();
    // Draws the clock sequence and node id.
    void Seed();

    std::atomic<bool> m_bSeeded{false};
    std::atomic<uint64_t> m_ulLastTimestamp{0};
    // Clock sequence (14 bits) above the node id (48 bits), read in one load.
    std::atomic<uint64_t> m_ulClockSequenceAndNode{0};
};
} // namespace KvPlatform
