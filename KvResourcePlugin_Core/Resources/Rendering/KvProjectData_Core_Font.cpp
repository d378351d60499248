#include "projectdata/KvProjectData_Core_Font.h"

#include "projectdata/KvSchema.h"

KV_BEGIN_SCHEMA(KvProjectData_Core_Font_Character, ObjectConstructor)
using T = KvProjectData_Core_Font_Character;
schema.Member("m_ulId", &T::m_ulId);
schema.Member("m_vPos", &T::m_vPos);
schema.Member("m_vSize", &T::m_vSize);
schema.Member("m_vOffset.x", &T::m_slOffsetX);
schema.Member("m_vOffset.y", &T::m_slOffsetY);
schema.Member("m_slAdvanceX", &T::m_slAdvanceX);
schema.Member("m_ulPage", &T::m_ulPage);
schema.NestedMember("m_vUV.m_vMin", &T::m_vUV, &KvBoundingBox2D::m_vMin);
schema.NestedMember("m_vUV.m_vMax", &T::m_vUV, &KvBoundingBox2D::m_vMax);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Font, ObjectConstructor)
using T = KvProjectData_Core_Font;
schema.IdentityName(&T::m_strName);
schema.IdentityGuid();
schema.IdentityLocalIndex();
schema.RecordArray("m_apCharacters", &T::m_apCharacters,
                   KvProjectData_Core_Font_Character::GetReflectedDataType());
schema.Member("m_ulFontSize", &T::m_ulFontSize);
schema.Member("m_strFontPage", &T::m_strFontPage);
KV_END_SCHEMA()
