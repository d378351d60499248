#include "src/foundation/KvTimeUuidGenerator.h"

#include <ctime>
#include <pthread.h>
#include <sys/random.h>

namespace KvPlatform
{
namespace
{
// 100 ns intervals from the Gregorian reform (1582-10-15) to the Unix epoch.
constexpr uint64_t kGregorianToUnix = 0x01B21DD213814000ull;
constexpr uint64_t kTimestampMask = (1ull << 60) - 1;
constexpr uint64_t kNodeMask = (1ull << 48) - 1;
constexpr uint64_t kClockSequenceMask = (1ull << 14) - 1;
// The multicast bit of the node's first byte marks an id that is no network card's address.
constexpr uint64_t kMulticastBit = 1ull << 40;

uint64_t NowInUuidTime()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return (static_cast<uint64_t>(now.tv_sec) * 10'000'000ull + static_cast<uint64_t>(now.tv_nsec) / 100 +
            kGregorianToUnix) &
           kTimestampMask;
}

void PutBigEndian(uint8_t* pOut, uint64_t value, int byteCount)
{
    for (int index = byteCount - 1; index >= 0; --index, value >>= 8)
        pOut[index] = static_cast<uint8_t>(value);
}
} // namespace

KvTimeUuidGenerator& KvTimeUuidGenerator::GetInstance()
{
    static KvTimeUuidGenerator s_Generator;
    return s_Generator;
}

KvTimeUuidGenerator::KvTimeUuidGenerator()
{
    Seed();
    // The child runs alone when the handler runs, so nothing races the reseeding.
    pthread_atfork(nullptr, nullptr, [] { GetInstance().Seed(); });
}

void KvTimeUuidGenerator::Seed()
{
    uint64_t random = 0;
    const bool bSeeded = getrandom(&random, sizeof(random), 0) == static_cast<ssize_t>(sizeof(random));
    const uint64_t node = (random & kNodeMask) | kMulticastBit;
    const uint64_t clockSequence = (random >> 48) & kClockSequenceMask;
    m_ulClockSequenceAndNode.store(clockSequence << 48 | node, std::memory_order_relaxed);
    m_bSeeded.store(bSeeded, std::memory_order_release);
}

bool KvTimeUuidGenerator::Generate(uint8_t (&outBytes)[16])
{
    if (!m_bSeeded.load(std::memory_order_acquire))
        return false;
    const uint64_t now = NowInUuidTime();
    uint64_t last = m_ulLastTimestamp.load(std::memory_order_relaxed);
    uint64_t timestamp = 0;
    do
        timestamp = now > last ? now : last + 1;
    while (!m_ulLastTimestamp.compare_exchange_weak(last, timestamp, std::memory_order_relaxed));

    const uint64_t clockSequenceAndNode = m_ulClockSequenceAndNode.load(std::memory_order_relaxed);
    PutBigEndian(outBytes, timestamp & 0xFFFFFFFF, 4);
    PutBigEndian(outBytes + 4, (timestamp >> 32) & 0xFFFF, 2);
    PutBigEndian(outBytes + 6, ((timestamp >> 48) & 0x0FFF) | 0x1000, 2);
    // The variant's two high bits 10 above the clock sequence.
    PutBigEndian(outBytes + 8, ((clockSequenceAndNode >> 48) & kClockSequenceMask) | 0x8000, 2);
    PutBigEndian(outBytes + 10, clockSequenceAndNode & kNodeMask, 6);
    return true;
}
} // namespace KvPlatform
