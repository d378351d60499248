#include "actions/KvNativeAction_ActorPrefab_Export.h"

#include "Foundation/KvFileSystem.h"
#include "Foundation/KvReport.h"
#include "IO/KvIOStream_File.h"
#include "TypeManager/KvObjectFactory.h"
#include "math/KvVector.h"
#include "projectdata/KvProjectData_Core_Actor.h"
#include "projectdata/KvProjectData_Core_RenderShape.h"
#include "resources/KvFileSystemInterface.h"

#include <string_view>
#include <unordered_set>

KV_IMPLEMENT_TYPED_CLASS(KvNativeAction_ActorPrefab_Export)

namespace
{
constexpr const char* kReportFile = "actions\\KvNativeAction_ActorPrefab_Export";
constexpr const char* kExportFolder = "export\\actorprefabs\\";

// The same for every prefab: the engine's tools only need a valid header.
constexpr std::string_view kHeader =
    "<root>\n<info createdby=\"Corvane\" />\n<header version=\"0\" name=\"dungeon_3x6_block_BL\" "
    "description=\"\" "
    "category=\"\" convertible=\"True\" autosavebinary=\"False\" relativefilenames=\"False\">\n</header>\n";
constexpr std::string_view kFooter = "</root>";
constexpr const char* kShapeTemplate = "<shape class=\"StaticMeshShape\">\n"
                                       "\t<property name=\"MeshFileName\" value=\"%s\" />\n"
                                       "\t<property name=\"ShapeName\" value=\"%s\" />\n"
                                       "\t<property name=\"Position\" value=\"%f,%f,%f\" />\n"
                                       "\t<property name=\"Orientation\" value=\"%f,%f,%f\" />\n"
                                       "\t<property name=\"Scaling\" value=\"%f,%f,%f\" />\n"
                                       "</shape>\n";

void WriteText(KvIOStream& stream, std::string_view text)
{
    stream.Write(text.data(), text.size());
}

// The shell widens a folder name byte by byte.
std::u16string Widened(const std::string& text)
{
    std::u16string wide;
    for (const char c : text)
        wide.push_back(static_cast<unsigned char>(c));
    return wide;
}
} // namespace

KvNativeAction_ActorPrefab_Export::KvNativeAction_ActorPrefab_Export(
    KvProjectData_Core_Raw_ActorPrefab* pPrefab)
    : m_pPrefab(pPrefab)
{
    if (!pPrefab)
        KvFatalReport(
            {kReportFile, "KvNativeAction_ActorPrefab_Export::KvNativeAction_ActorPrefab_Export", 29},
            "Expected valid prefab for export- but NULL was passed - check with a programmer");
    m_strName = "Export prefab " + pPrefab->m_strName;
}

void KvNativeAction_ActorPrefab_Export::Do()
{
    DoExport(m_pPrefab);
}

void KvNativeAction_ActorPrefab_Export::DoExport(const KvProjectData_Core_Raw_ActorPrefab* pPrefab)
{
    if (!pPrefab)
        return;
    std::string path;
    KvFileSystemInterface::GetInterface()->GetFolder(KvFileSystemInterface::FOLDER_BASE, path);
    path += kExportFolder + pPrefab->m_strName + ".prefab";
    // A folder that cannot be made shows as the open failing.
    const size_t separator = path.rfind('\\');
    KvCreateFolder(Widened(separator == std::string::npos ? path : path.substr(0, separator)));
    KvIOStream_File stream;
    if (!stream.Open(path.c_str(), KvIOStream::MODE_WRITE))
    {
        KvLogReport(kKvLogLevelWarning, {kReportFile, "KvNativeAction_ActorPrefab_Export::DoExport", 98},
                    "Failed to open file '%s' for export - please check read only flags or lock status",
                    path.c_str());
        return;
    }
    WriteText(stream, kHeader);
    if (pPrefab->m_pDefaultEditorShape)
        WriteMesh(stream, pPrefab->m_strName.c_str(), *pPrefab->m_pDefaultEditorShape, {0.0f, 0.0f, 0.0f},
                  {0.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f});
    // Depth first: the last actor first, each before its children, children from last to first.
    // Each actor is written once, so actors a hand-edited project shares cannot loop.
    std::vector<const KvProjectData_Core_Raw_ActorEntry*> stack(pPrefab->m_apActors.begin(),
                                                                pPrefab->m_apActors.end());
    std::unordered_set<const KvProjectData_Core_Raw_ActorEntry*> visited;
    while (!stack.empty())
    {
        const KvProjectData_Core_Raw_ActorEntry* pActor = stack.back();
        stack.pop_back();
        if (!pActor || !visited.insert(pActor).second)
            continue;
        stack.insert(stack.end(), pActor->m_apChildren.begin(), pActor->m_apChildren.end());
        const KvProjectData_Core_Raw_RenderShapeMesh* pShape = pActor->m_pDefaultEditorShape;
        if (!pShape && pActor->m_pPrefab)
            pShape = pActor->m_pPrefab->m_pDefaultEditorShape;
        if (!pShape)
            continue;
        // An actor saved without a world transform stands at the origin.
        static const KvTransformSpace s_Origin;
        const KvTransformSpace* pWorld =
            pActor->m_pTransform ? pActor->m_pTransform->m_WorldTransform : nullptr;
        const KvTransformSpace& world = pWorld ? *pWorld : s_Origin;
        WriteMesh(stream, pActor->m_strName.c_str(), *pShape, world.m_vPosition, world.m_vYPR,
                  world.m_vScale);
    }
    WriteText(stream, kFooter);
    stream.Close();
}

void KvNativeAction_ActorPrefab_Export::WriteMesh(KvIOStream& stream, const char* shapeName,
                                                  const KvProjectData_Core_Raw_RenderShapeMesh& shape,
                                                  const KvVector3& position, const KvVector3& orientation,
                                                  const KvVector3& scaling)
{
    const std::string meshFile = "staticmeshes\\" + shape.m_strName + ".vmesh";
    WriteText(stream,
              KvFormatMessage(kShapeTemplate, meshFile.c_str(), shapeName, position.x, position.y, position.z,
                              orientation.x, orientation.y, orientation.z, scaling.x, scaling.y, scaling.z));
}
