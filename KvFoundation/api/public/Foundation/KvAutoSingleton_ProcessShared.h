#pragma once

#include "Foundation/KvSharedMemoryPtr.h"

#include <string>

// A process-wide T that publishes itself while it lives. Constructing a second one while one
// is published, or destroying one after the module's pointer is gone, is fatal.
template <class T>
class KvAutoSingleton_ProcessShared
{
public:
    // The published instance; when none is published, a new one is created and published.
    static T* GetInstance()
    {
        T* pInstance = SharedPtr().Get();
        return pInstance ? pInstance : new T();
    }

    // The published instance or null.
    static T* GetPublished() { return SharedPtr().Get(); }

protected:
    // Publishes the address of the T under construction: only the address is taken, the
    // object is not used before it is complete, hence the vptr check is off here.
    __attribute__((no_sanitize("vptr"))) KvAutoSingleton_ProcessShared()
    {
        if (SharedPtr().Get())
            Fail("KvAutoSingleton_ProcessShared", 61, "Tried to instantiate singleton more than once");
        SharedPtr().Set(static_cast<T*>(this));
    }

    // May raise the fatal error to the host.
    ~KvAutoSingleton_ProcessShared() noexcept(false)
    {
        if (!s_pSharedPtr)
            Fail("~KvAutoSingleton_ProcessShared", 69, "Tried to destroy singleton more than once");
        s_pSharedPtr->Set(nullptr);
        delete s_pSharedPtr;
        s_pSharedPtr = nullptr;
    }

    KvAutoSingleton_ProcessShared(const KvAutoSingleton_ProcessShared&) = delete;
    KvAutoSingleton_ProcessShared& operator=(const KvAutoSingleton_ProcessShared&) = delete;

private:
    static KvSharedMemoryPtr<T>& SharedPtr()
    {
        if (!s_pSharedPtr)
            s_pSharedPtr = new KvSharedMemoryPtr<T>(KvSharedTypeTraits<T>::kTypeName,
                                                    KvSharedTypeTraits<T>::kInstanceName);
        return *s_pSharedPtr;
    }

    [[noreturn]] static void Fail(const char* operation, int line, const char* message)
    {
        const std::string function = std::string("KvAutoSingleton_ProcessShared<") +
                                     KvSharedTypeTraits<T>::kDeclaration + ">::" + operation;
        KvFatalReport(
            {"KvFoundation/api/public/Foundation/KvAutoSingleton_ProcessShared", function.c_str(), line},
            "%s", message);
    }

    // This module's pointer object; released when the published instance is destroyed.
    static inline KvSharedMemoryPtr<T>* s_pSharedPtr = nullptr;
};
