#pragma once

#include "Foundation/KvError_Globals.h"
#include "Foundation/KvFatalError.h"
#include "IO/KvIOStream_Memory.h"
#include "Reflection/KvReflectionInterface.h"
#include "Resources/KvResource.h"
#include "Resources/KvResourceDescriptor.h"

#include <cstddef>
#include <cstdint>
#include <vector>

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

// Imports the input with a fresh importer and releases whatever came back.
template <class Importer>
void KvFuzzImport(const uint8_t* data, size_t size, const char* resourceName)
{
    KvFuzzRaiseFatalErrors();
    std::vector<uint8_t> bytes(data, data + size);
    bytes.push_back(0);
    KvIOStream_Memory stream(bytes.data(), static_cast<uint32_t>(size));
    KvResource resource;
    resource.SetName(resourceName);
    Importer importer;
    const KvResourceDescriptor* pDescriptor = importer.GetResourceType();
    void* pPayload = nullptr;
    void* pRaw = nullptr;
    try
    {
        pRaw = importer.ConvertToRaw(pPayload, &resource, &stream, nullptr);
    }
    catch (const KvStructuredException&)
    {
    }
    KvReflectionInterface* pRegistry = KvReflectionInterface::GetInstance();
    if (pRaw)
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
