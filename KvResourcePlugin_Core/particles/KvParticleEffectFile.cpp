#include "particles/KvParticleEffectFile.h"

#include "Foundation/KvReport.h"
#include "Toolbox/KvToolboxXML.h"
#include "importers/KvImportBudget.h"
#include "importers/KvImporterSupport.h"
#include "particles/KvParticleGroupDescriptor.h"
#include "projectdata/KvSchema.h"

#include <memory>

namespace
{
using Node = rapidxml::xml_node<>;
constexpr const char* kGroupElement = "groupdescriptor";
} // namespace

KvParticleEffectFile::KvParticleEffectFile(const std::string& name, KvIOStream& source) : m_strName(name)
{
    KvImportBudget budget(KvRemainingBytes(source));
    KvXmlDocument document;
    if (!document.Load(source))
        return;
    const Node* pLayer = document.GetRoot("particlelayer");
    if (!pLayer)
    {
        KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE, "Particle effect '%s' has no particlelayer element",
                    name.c_str());
        return;
    }
    size_t count = 0;
    for (const Node* pGroup = pLayer->first_node(kGroupElement); pGroup;
         pGroup = pGroup->next_sibling(kGroupElement))
        ++count;
    // Held until every group is read, so that a refused effect keeps none of them.
    std::vector<std::unique_ptr<KvParticleGroupDescriptor>> groups;
    bool bRead = budget.Charge(count * sizeof(KvParticleGroupDescriptor*));
    if (bRead)
        groups.reserve(count);
    for (const Node* pGroup = pLayer->first_node(kGroupElement); pGroup && bRead;
         pGroup = pGroup->next_sibling(kGroupElement))
    {
        bRead = budget.ChargeObject<KvParticleGroupDescriptor>();
        if (bRead)
            bRead = groups.emplace_back(std::make_unique<KvParticleGroupDescriptor>())->Read(*pGroup, budget);
    }
    if (!bRead)
    {
        budget.ReportSpent(KV_REPORT_SITE, name.c_str());
        return;
    }
    m_apGroupDescriptors.reserve(groups.size());
    for (std::unique_ptr<KvParticleGroupDescriptor>& pGroup : groups)
        m_apGroupDescriptors.push_back(pGroup.release());
}

KvParticleEffectFile::~KvParticleEffectFile()
{
    for (KvParticleGroupDescriptor* pGroup : m_apGroupDescriptors)
        delete pGroup;
}

KV_BEGIN_SCHEMA(KvParticleEffectFile, ObjectConstructor)
using T = KvParticleEffectFile;
schema.Member("name", &T::m_strName);
schema.PointerArray("groupdescriptor", &T::m_apGroupDescriptors,
                    KvParticleGroupDescriptor::GetReflectedDataType());
KV_END_SCHEMA()
