#include "editor/KvEditorPawnCallbackHandler.h"

#include "TypeManager/KvObjectFactory.h"
#include "TypeManager/KvTypeManager.h"

#include <algorithm>
#include <string>
#include <vector>

KV_IMPLEMENT_TYPED_CLASS(KvEditorPawnCallbackHandler)

KvEditorPawnCallbackHandler* KvEditorPawnCallbackHandler::CreateInstance(const char* className)
{
    KvTypeManager* pManager = KvTypeManager::GetInstance();
    const KvTypeInfo* pType = pManager->FindType(className);
    if (!pType)
        return nullptr;
    std::vector<std::string> handlers;
    pManager->GetDerivedTypeNames(GetType()->m_uiIndex, handlers);
    if (std::find(handlers.begin(), handlers.end(), pType->m_strName) == handlers.end())
        return nullptr;
    return static_cast<KvEditorPawnCallbackHandler*>(pType->CreateInstance());
}
