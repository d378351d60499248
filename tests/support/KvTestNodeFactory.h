#pragma once

#include "support/KvReflectedData.h"
#include "support/KvTestModel.h"

#include <cfloat>

// Every member kind set away from its default; the target is referenced, not owned.
inline KvTestNode* NewFullNode(KvTestTarget* pTarget)
{
    KvTestNode* pNode = NewNamed<KvTestNode>("root");
    pNode->m_bFlag = true;
    pNode->m_ucByte = 200;
    pNode->m_ulCount = 4000000000u;
    pNode->m_slOffset = -7;
    pNode->m_fScale = 0.1f;
    pNode->m_Guid = *KvGuid::FromString("00112233-4455-6677-8899-aabbccddeeff");
    pNode->m_vUV = {0.5f, -FLT_MAX};
    pNode->m_vPosition = {1.0f, 2.5f, -3.25f};
    pNode->m_vPlane = {FLT_MIN, 1e-40f, 3.4028235e38f, -0.0f};
    pNode->m_quatRotation = {0.0f, 0.70710677f, 0.0f, 0.70710677f};
    pNode->m_colTint = {1, 2, 3, 4};
    pNode->m_eShape = SHAPE_CAPSULE;
    pNode->m_eRawKind = 77;
    pNode->m_Record = {2.0f, "embedded"};
    pNode->m_aIds = {1, 2, 0xFFFFFFFF};
    pNode->m_aNames = {"a", "", "c \"quoted\""};
    pNode->m_acBytes = {0, 1, 254, 255, 10};
    pNode->m_aRecords = {{0.25f, "first"}, {0.75f, "second"}};
    pNode->m_pChild = NewNamed<KvTestNode>("only child");
    pNode->m_apChildren = {NewNamed<KvTestNode>("left"), NewNamed<KvTestNode>("right")};
    pNode->m_apChildren[0]->m_pParent = pNode;
    pNode->m_pTarget = pTarget;
    pNode->m_apTargets = {pTarget, pTarget};
    pNode->m_pDataType = KvTestPayload::GetReflectedDataType();
    auto* pPayload = NewData<KvTestPayload>();
    pPayload->m_slValue = 42;
    pPayload->m_aPoints = {{1, 2}, {3, 4}};
    pNode->m_pData = pPayload;
    pNode->m_ulRuntimeOnly = 99;
    return pNode;
}
