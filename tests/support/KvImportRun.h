#pragma once

#include "IO/KvIOStream_Memory.h"
#include "reflection/KvReflectionInterface.h"
#include "resources/KvResource.h"
#include "resources/KvResourceDescriptor.h"
#include "resources/KvResourceImporter.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One import of in-memory bytes under a resource name; the result is released by its types
// unless it is the existing object given, which stays the caller's.
// The bytes sit in a buffer of exactly their size, so that a read past the end is caught under
// the sanitizers; an empty source still has an address for the stream.
class ImportRun
{
public:
    ImportRun(KvResourceImporter& importer, const std::vector<uint8_t>& bytes,
              const std::string& resourceName = "resource", void* existing = nullptr)
        : m_pBytes(std::make_unique_for_overwrite<uint8_t[]>(bytes.size())), m_pExisting(existing)
    {
        std::copy(bytes.begin(), bytes.end(), m_pBytes.get());
        m_Resource.SetName(resourceName);
        KvIOStream_Memory stream(m_pBytes.get(), static_cast<uint32_t>(bytes.size()));
        m_pDescriptor = importer.GetResourceType();
        m_pRaw = importer.ConvertToRaw(m_pPayload, &m_Resource, &stream, existing);
    }
    ~ImportRun()
    {
        KvReflectionInterface* pRegistry = KvReflectionInterface::GetInstance();
        if (m_pRaw && m_pRaw != m_pExisting)
            pRegistry->DestroyObject(m_pDescriptor->GetRootDataType(), m_pRaw);
        if (m_pPayload)
            pRegistry->DestroyObject(m_pDescriptor->GetPayloadDataType(), m_pPayload);
    }
    ImportRun(const ImportRun&) = delete;
    ImportRun& operator=(const ImportRun&) = delete;

    template <class T>
    T* Raw() const
    {
        return static_cast<T*>(m_pRaw);
    }
    template <class T>
    T* Payload() const
    {
        return static_cast<T*>(m_pPayload);
    }

private:
    std::unique_ptr<uint8_t[]> m_pBytes;
    void* m_pExisting;
    KvResource m_Resource;
    const KvResourceDescriptor* m_pDescriptor = nullptr;
    void* m_pRaw = nullptr;
    void* m_pPayload = nullptr;
};
