#include "actions/KvNativeAction_Mesh_BindingEdit.h"

#include "importers/KvImporterSupport.h"
#include "projectdata/KvProjectData_Core_Material.h"
#include "projectdata/KvProjectData_Core_Mesh.h"

#include <utility>

using Binding = KvProjectData_Core_Raw_MaterialPassBinding;

KvNativeAction_Mesh_BindingEdit::KvNativeAction_Mesh_BindingEdit(const char* label,
                                                                 KvProjectData_Core_Raw_Mesh* pMesh)
    : KvNativeAction_Mesh(label, pMesh)
{
}

KvNativeAction_Mesh_BindingEdit::KvNativeAction_Mesh_BindingEdit(const KvNativeAction_Mesh_BindingEdit& other)
    : KvNativeAction_Mesh(other), m_aSavedBindings(CloneLists(other.m_aSavedBindings))
{
}

KvNativeAction_Mesh_BindingEdit&
KvNativeAction_Mesh_BindingEdit::operator=(const KvNativeAction_Mesh_BindingEdit& other)
{
    if (this != &other)
    {
        KvNativeAction_Mesh::operator=(other);
        std::vector<BindingList> clones = CloneLists(other.m_aSavedBindings);
        DestroySaved();
        m_aSavedBindings = std::move(clones);
    }
    return *this;
}

KvNativeAction_Mesh_BindingEdit::~KvNativeAction_Mesh_BindingEdit()
{
    DestroySaved();
}

void KvNativeAction_Mesh_BindingEdit::DoOn(KvProjectData_Core_Raw_Mesh& mesh)
{
    for (KvProjectData_Core_Raw_Material* pMaterial : mesh.m_apMaterials)
    {
        // An empty entry keeps its place, so that list i still pairs with material i.
        m_aSavedBindings.push_back(pMaterial ? CloneList(pMaterial->m_apBindings) : BindingList());
        if (pMaterial)
            EditBindings(*pMaterial);
    }
}

void KvNativeAction_Mesh_BindingEdit::UndoOn(KvProjectData_Core_Raw_Mesh& mesh)
{
    for (size_t index = 0; index < mesh.m_apMaterials.size(); ++index)
    {
        KvProjectData_Core_Raw_Material* pMaterial = mesh.m_apMaterials[index];
        if (!pMaterial)
            continue;
        KvDestroyAllData(pMaterial->m_apBindings);
        if (index < m_aSavedBindings.size())
            std::swap(pMaterial->m_apBindings, m_aSavedBindings[index]);
    }
    // Lists of materials the mesh has lost since have no one to go to.
    DestroySaved();
}

std::vector<KvNativeAction_Mesh_BindingEdit::BindingList>
KvNativeAction_Mesh_BindingEdit::CloneLists(const std::vector<BindingList>& lists)
{
    std::vector<BindingList> clones;
    clones.reserve(lists.size());
    for (const BindingList& list : lists)
        clones.push_back(CloneList(list));
    return clones;
}

KvNativeAction_Mesh_BindingEdit::BindingList
KvNativeAction_Mesh_BindingEdit::CloneList(const BindingList& bindings)
{
    BindingList clones;
    clones.reserve(bindings.size());
    for (const Binding* pBinding : bindings)
        clones.push_back(static_cast<Binding*>(
            KvReflectionInterface::GetInstance()->CloneObject(Binding::GetReflectedDataType(), pBinding)));
    return clones;
}

void KvNativeAction_Mesh_BindingEdit::DestroySaved()
{
    for (BindingList& list : m_aSavedBindings)
        KvDestroyAllData(list);
    m_aSavedBindings.clear();
}
