#pragma once

#include "Foundation/KvMemoryMappedFile.h"
#include "Foundation/KvReport.h"
#include "Foundation/KvSharedTypeTraits.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

// Longest shared-memory pointer name, the terminating zero excluded.
inline constexpr size_t kKvSharedMemoryNameCapacity = 255;

// Formats "KvSharedMemoryPtr_<type>_<instance>_pid<pid>", cut to 255 characters.
std::string KvFormatSharedMemoryName(const char* typeName, const char* instanceName, uint32_t processId);

// One module's handle on a process-wide pointer to a T. The 8-byte block holds the address;
// the first module to create the block stores null in it. The pointed-to object is never
// destroyed through this handle.
template <class T>
class KvSharedMemoryPtr
{
public:
    KvSharedMemoryPtr(const char* typeName, const char* instanceName)
    {
        const std::string name =
            KvFormatSharedMemoryName(typeName, instanceName, static_cast<uint32_t>(getpid()));
        m_pBlock = KvMemoryMappedFile_SharedMemory::CreateShared(name.c_str());
        if (!m_pBlock)
            FailNoBlock("KvSharedMemoryPtr", 65);
        if (m_pBlock->IsCreated())
            Set(nullptr);
    }

    virtual ~KvSharedMemoryPtr() { delete m_pBlock; }

    KvSharedMemoryPtr(const KvSharedMemoryPtr&) = delete;
    KvSharedMemoryPtr& operator=(const KvSharedMemoryPtr&) = delete;

    T* Get() const
    {
        T* pObject = nullptr;
        if (m_pBlock)
            std::memcpy(&pObject, m_pBlock->GetData(), sizeof(pObject));
        return pObject;
    }

    void Set(T* pObject)
    {
        if (!m_pBlock)
            FailNoBlock("Set", 96);
        std::memcpy(m_pBlock->GetData(), &pObject, sizeof(pObject));
        m_pPublishedHere = pObject;
    }

    // This module's handle on the pointer named by KvSharedTypeTraits<T>. Never destroyed,
    // so code that runs during static destruction can still reach the shared object.
    static KvSharedMemoryPtr& ForModule()
    {
        static KvSharedMemoryPtr* s_pModulePtr =
            new KvSharedMemoryPtr(KvSharedTypeTraits<T>::kTypeName, KvSharedTypeTraits<T>::kInstanceName);
        return *s_pModulePtr;
    }

private:
    [[noreturn]] static void FailNoBlock(const char* operation, int line)
    {
        const std::string function =
            std::string("KvSharedMemoryPtr<") + KvSharedTypeTraits<T>::kDeclaration + ">::" + operation;
        KvFatalReport({"KvFoundation/api/public/Foundation/KvSharedMemoryPtr", function.c_str(), line},
                      "Failed to create shared memory instance required for shared memory pointer.");
    }

    KvMemoryMappedFile_SharedMemory* m_pBlock;
    // What this handle last published. Published objects live until the process ends; leak
    // checkers do not scan shared mappings, so this keeps them reachable from the module.
    T* m_pPublishedHere = nullptr;
};
