#pragma once

#include "Foundation/KvReport.h"
#include "TypeManager/KvTypeManager.h"
#include "TypeManager/KvTypedObject.h"

#include <string>
#include <type_traits>

// Registers class T with the type manager when constructed; T names itself and its parent
// through KV_DECLARE_TYPED_CLASS.
template <class T>
class KvObjectFactory
{
public:
    KvObjectFactory()
    {
        m_pTypeInfo = KvTypeManager::GetInstance()->RegisterTemplate(
            this, std::is_abstract_v<T>, T::kClassName, T::kParentName, &Create, sizeof(T), 0, 0);
        if (!m_pTypeInfo)
        {
            const std::string function =
                std::string("KvObjectFactory<class ") + T::kClassName + ">::KvObjectFactory";
            KvFatalReport({"KvFoundation/api/public/TypeManager/KvObjectFactory", function.c_str(), 65},
                          "Failed to register object template!");
        }
    }

    KvObjectFactory(const KvObjectFactory&) = delete;
    KvObjectFactory& operator=(const KvObjectFactory&) = delete;

    KvTypeInfo* GetTypeInfo() const { return m_pTypeInfo; }

private:
    static KvTypedObject* Create()
    {
        if constexpr (std::is_abstract_v<T>)
            return nullptr;
        else
            return new T();
    }

    KvTypeInfo* m_pTypeInfo = nullptr;
};
