#include "actions/KvNativeAction_Mesh.h"

#include "projectdata/KvProjectData_Core_Mesh.h"

KvNativeAction_Mesh::KvNativeAction_Mesh(const char* label, KvProjectData_Core_Raw_Mesh* pMesh)
    : m_strName(label ? label : "Undefined"), m_pMesh(pMesh)
{
}

void KvNativeAction_Mesh::Do()
{
    if (m_pMesh)
        DoOn(*m_pMesh);
}

void KvNativeAction_Mesh::Undo()
{
    if (m_pMesh)
        UndoOn(*m_pMesh);
}

void KvNativeAction_Mesh::GetChangedMemory(std::vector<void*>& outMemory) const
{
    if (m_pMesh)
        outMemory.push_back(m_pMesh);
}

void KvNativeAction_Mesh::GetModifiedResources(std::vector<KvResource*>& outResources) const
{
    if (m_pMesh && m_pMesh->m_pRunResource)
        outResources.push_back(static_cast<KvResource*>(m_pMesh->m_pRunResource));
}
