#include "projectdata/KvProjectData_Core_EditorCollection.h"

#include "projectdata/KvSchema.h"

KvProjectData_Core_Raw_EditorEntry::~KvProjectData_Core_Raw_EditorEntry()
{
    if (m_pType && m_pData && m_pType->GetObjectConstructor())
        m_pType->GetObjectConstructor()->Destroy(m_pData);
}

KvProjectData_Core_Raw_EditorCollection::~KvProjectData_Core_Raw_EditorCollection()
{
    for (KvProjectData_Core_Raw_EditorEntry* pEntry : m_apData)
        delete pEntry;
}

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_EditorEntry, ObjectConstructor)
schema.TypeRecord("m_pType", &KvProjectData_Core_Raw_EditorEntry::m_pType);
schema.Dynamic("m_pData", "m_pType", &KvProjectData_Core_Raw_EditorEntry::m_pData);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_EditorCollection, ObjectConstructor)
schema.PointerArray("m_apData", &KvProjectData_Core_Raw_EditorCollection::m_apData,
                    KvProjectData_Core_Raw_EditorEntry::GetReflectedDataType());
KV_END_SCHEMA()
