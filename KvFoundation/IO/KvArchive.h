#pragma once

#include <cstdint>

// Where an archive's named values go to or come from.
class KvArchiveBackend
{
public:
    virtual ~KvArchiveBackend() = default;
    virtual void SerializeInt32(const char* name, int32_t& value) = 0;
};

// Named, versioned serialisation of typed objects.
class KvArchive
{
public:
    enum tMode : uint32_t
    {
        MODE_SAVE = 0,
        MODE_LOAD = 1,
    };

    // The backend stays the caller's.
    KvArchive(tMode mode, KvArchiveBackend* pBackend) : m_eMode(mode), m_pBackend(pBackend) {}

    bool IsLoading() const { return m_eMode == MODE_LOAD; }
    void Serialize(const char* name, int32_t& value) { m_pBackend->SerializeInt32(name, value); }

    // Logs "Archive error: <message>" at level 3; the load goes on.
    void Error(const char* message);

private:
    tMode m_eMode;
    KvArchiveBackend* m_pBackend;
};
