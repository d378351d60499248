#include "projectdata/KvProjectData_Core_Attachment.h"

#include "projectdata/KvSchema.h"

KV_BEGIN_SCHEMA(KvAttachmentSlotTemplate, ObjectConstructor)
using T = KvAttachmentSlotTemplate;
schema.TypeAttribute(new KvAttribute_Network());
schema.IdentityName(&T::m_strName).With(new KvAttribute_DisplayNameFromMember("Attachment template: %s"));
schema.IdentityGuid();
schema.IdentityLocalIndex();
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvAttachmentSlot, ObjectConstructor)
using T = KvAttachmentSlot;
schema.TypeAttribute(new KvAttribute_Network());
schema.Pointer("m_pSlotTemplate", &T::m_pSlotTemplate, KvAttachmentSlotTemplate::GetReflectedDataType())
    .With(new KvAttribute_HideVirtualNode())
    .PickedByName(true)
    .With(new KvAttribute_XRef())
    .With(new KvAttribute_DisplayNameFromMember("Attachment slot: %s"));
schema.Member("m_strBoneName", &T::m_strBoneName);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_KvProjectData_AttachmentTemplateTopLevel, ObjectConstructor)
using T = KvProjectData_KvProjectData_AttachmentTemplateTopLevel;
schema.PointerArray("m_apTemplates", &T::m_apTemplates, KvAttachmentSlotTemplate::GetReflectedDataType());
KV_END_SCHEMA()
