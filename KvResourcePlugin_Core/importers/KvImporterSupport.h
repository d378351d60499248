#pragma once

#include "IO/KvIOStream.h"
#include "reflection/KvReflectedDataType.h"
#include "reflection/KvReflectionInterface.h"

#include <cstdint>
#include <vector>

// A new data object made the way the host makes them: through the type's object constructor.
template <class T>
T* KvCreateData()
{
    return static_cast<T*>(T::GetReflectedDataType()->GetObjectConstructor()->Create());
}

// Releases a data object by its schema, as the host does: its owned children, then the object.
template <class T>
void KvDestroyData(T* pObject)
{
    KvReflectionInterface::GetInstance()->DestroyObject(T::GetReflectedDataType(), pObject);
}

// Releases every object of a list by its schema and empties the list.
template <class T>
void KvDestroyAllData(std::vector<T*>& objects)
{
    for (T* pObject : objects)
        KvDestroyData(pObject);
    objects.clear();
}

// Holds a data object an importer is building: released by its schema unless handed over,
// so that neither an early return nor a fatal error raised as an exception leaks it.
template <class T>
class KvImportedData
{
public:
    KvImportedData() : m_pObject(KvCreateData<T>()) {}
    // Holds an object made elsewhere, such as a copy being changed.
    explicit KvImportedData(T* pObject) : m_pObject(pObject) {}
    ~KvImportedData()
    {
        if (m_pObject)
            KvDestroyData(m_pObject);
    }
    KvImportedData(const KvImportedData&) = delete;
    KvImportedData& operator=(const KvImportedData&) = delete;

    T* operator->() const { return m_pObject; }
    T& operator*() const { return *m_pObject; }
    // Hands the object over to the caller.
    T* Release()
    {
        T* pObject = m_pObject;
        m_pObject = nullptr;
        return pObject;
    }

private:
    T* m_pObject;
};

// How many bytes the stream reports from its position to its end.
inline uint64_t KvRemainingBytes(KvIOStream& stream)
{
    const uint64_t size = stream.GetSize();
    const uint64_t position = stream.Tell();
    return size > position ? size - position : 0;
}

// The bytes from the stream's position to its end; the buffer is sized to what the stream
// reports, and what a short read leaves is zero.
inline std::vector<uint8_t> KvReadRemainingBytes(KvIOStream& stream)
{
    std::vector<uint8_t> bytes(KvRemainingBytes(stream));
    stream.Read(bytes.data(), bytes.size());
    return bytes;
}
