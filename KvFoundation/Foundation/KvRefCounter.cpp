#include "Foundation/KvRefCounter.h"

#include "Foundation/KvReport.h"

namespace
{
constexpr const char* kFile = "KvFoundation/api/public/Foundation/KvRefCounter";
}

KvRefCounter::~KvRefCounter() noexcept(false)
{
    if (m_iRefCount.load() != 0)
        KvFatalReport({kFile, "KvRefCounter::~KvRefCounter", 56},
                      "Reference count was not null when destroyed!");
}

void KvRefCounter::Release()
{
    if (m_iRefCount.load() <= 0)
        KvFatalReport({kFile, "KvRefCounter::Release", 77},
                      "Tried to release reference on object without any active references!");
    if (m_iRefCount.fetch_sub(1) == 1)
        delete this;
}
