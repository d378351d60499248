#include "KvFuzzImport.h"
#include "projectdata/KvProjectData_Core_Material.h"
#include "projectdata/KvProjectData_Core_Mesh.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

namespace
{
using Mesh = KvProjectData_Core_Raw_Mesh;

// The mesh of the example material file, so that its seed reaches every setting.
constexpr const char* kMeshName = "props\\crate_data\\materials\\crate";

Mesh* NewMesh()
{
    Mesh* pMesh = KvCreateData<Mesh>();
    for (const char* name : {"wood", "metal"})
    {
        KvProjectData_Core_Raw_MaterialInfo& info = pMesh->m_aMaterials.emplace_back();
        info.m_strName = std::string(kMeshName) + "\\" + name;
        info.m_pDefaultMaterial = KvCreateData<KvProjectData_Core_Raw_Material>();
        for (const char* slot : {"diffuse", "normal", "specular"})
            info.m_pDefaultMaterial->m_apTextureSlots
                .emplace_back(KvCreateData<KvProjectData_Core_Raw_MaterialTextureSlot>())
                ->m_strSlotName = slot;
    }
    return pMesh;
}
} // namespace

// Every input updates the same mesh, which must come out of each import as it went in.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Mesh* const s_pMesh = NewMesh();
    static const KvJsonStore::Json s_Saved = KvJsonStore::Save(Mesh::GetReflectedDataType(), s_pMesh);
    KvFuzzImport<KvResourceImporter_EngineMaterial>(data, size, kMeshName, s_pMesh);
    if (KvJsonStore::Save(Mesh::GetReflectedDataType(), s_pMesh) != s_Saved)
    {
        std::fprintf(stderr, "The import changed the mesh it was given\n");
        std::abort();
    }
    return 0;
}
