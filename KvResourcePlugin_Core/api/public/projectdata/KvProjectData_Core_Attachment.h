#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "projectdata/KvXRefObject.h"

#include <string>
#include <vector>

class KV_PLUGIN_CORE_API KvAttachmentSlotTemplate : public KvXRefObject<KvAttachmentSlotTemplate>
{
public:
    std::string m_strName;

    static const KvReflectedDataType* GetReflectedDataType();
};

// A place on a bone where something can be attached.
class KV_PLUGIN_CORE_API KvAttachmentSlot
{
public:
    KvAttachmentSlotTemplate* m_pSlotTemplate = nullptr;
    std::string m_strBoneName;

    static const KvReflectedDataType* GetReflectedDataType();
};

// The raw data of the attachment-template resource.
class KV_PLUGIN_CORE_API KvProjectData_KvProjectData_AttachmentTemplateTopLevel
{
public:
    std::vector<KvAttachmentSlotTemplate*> m_apTemplates;

    static const KvReflectedDataType* GetReflectedDataType();
};
