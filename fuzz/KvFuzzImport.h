#pragma once

#include "Foundation/KvError_Globals.h"
#include "Foundation/KvFatalError.h"
#include "IO/KvIOStream_Memory.h"
#include "reflection/KvReflectionInterface.h"
#include "resources/KvResource.h"
#include "resources/KvResourceDescriptor.h"
#include "store/KvJsonStore.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

// Fatal errors fail the one input (as in the kvres tool) instead of ending the fuzzer.
inline void KvFuzzRaiseFatalErrors()
{
    static const bool s_bSet = []
    {
        tGlobals* pGlobals = KvError::GetGlobals();
        pGlobals->m_bShowMessageBox = 0;
        pGlobals->m_bRaiseException = 1;
        return true;
    }();
    (void)s_bSet;
}

// Exactly the input's bytes in a buffer of their own, so that a read one past the end is
// caught; an empty input still has an address for the stream.
inline std::unique_ptr<uint8_t[]> KvFuzzExactCopy(const uint8_t* data, size_t size)
{
    auto copy = std::make_unique_for_overwrite<uint8_t[]>(size);
    if (size)
        std::memcpy(copy.get(), data, size);
    return copy;
}

// A result must come back unchanged through the JSON store, as the host keeps it.
inline void KvFuzzSaveAndReload(const KvReflectedDataType* pType, const void* pObject)
{
    const KvJsonStore::Json saved = KvJsonStore::Save(pType, pObject);
    void* pLoaded = KvJsonStore::Load(pType, saved, "fuzz");
    if (!pLoaded)
    {
        std::fprintf(stderr, "The JSON store refused what it saved:\n%s\n", saved.dump(2).c_str());
        std::abort();
    }
    const KvJsonStore::Json reloaded = KvJsonStore::Save(pType, pLoaded);
    KvReflectionInterface::GetInstance()->DestroyObject(pType, pLoaded);
    if (reloaded != saved)
    {
        std::fprintf(stderr, "Saved:\n%s\nReloaded:\n%s\n", saved.dump(2).c_str(), reloaded.dump(2).c_str());
        std::abort();
    }
}

// Imports the input with a fresh importer, saves and reloads whatever came back, and releases it.
// An importer that updates existing data is given `existing`, which stays the caller's.
template <class Importer>
void KvFuzzImport(const uint8_t* data, size_t size, const char* resourceName, void* existing = nullptr)
{
    KvFuzzRaiseFatalErrors();
    const std::unique_ptr<uint8_t[]> bytes = KvFuzzExactCopy(data, size);
    KvIOStream_Memory stream(bytes.get(), static_cast<uint32_t>(size));
    KvResource resource;
    resource.SetName(resourceName);
    Importer importer;
    const KvResourceDescriptor* pDescriptor = importer.GetResourceType();
    void* pPayload = nullptr;
    void* pRaw = nullptr;
    try
    {
        pRaw = importer.ConvertToRaw(pPayload, &resource, &stream, existing);
    }
    catch (const KvStructuredException&)
    {
    }
    if (pRaw)
        KvFuzzSaveAndReload(pDescriptor->GetRootDataType(), pRaw);
    if (pRaw && pPayload)
        KvFuzzSaveAndReload(pDescriptor->GetPayloadDataType(), pPayload);
    KvReflectionInterface* pRegistry = KvReflectionInterface::GetInstance();
    if (pRaw && pRaw != existing)
        pRegistry->DestroyObject(pDescriptor->GetRootDataType(), pRaw);
    if (pPayload)
        pRegistry->DestroyObject(pDescriptor->GetPayloadDataType(), pPayload);
}

#define KV_FUZZ_IMPORTER(Importer, ResourceName)                                                             \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)                                  \
    {                                                                                                        \
        KvFuzzImport<Importer>(data, size, ResourceName);                                                    \
        return 0;                                                                                            \
    }
