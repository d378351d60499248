#pragma once

#include "Foundation/KvColor.h"
#include "Foundation/KvEnumConverter.h"
#include "Foundation/KvGuid.h"
#include "math/KvQuaternion.h"
#include "math/KvVector.h"
#include "reflection/KvReflectedDataType.h"

#include <cstdint>
#include <string>
#include <vector>

// A small data model that exercises every member kind the host supports.

// The first and the terminating value share the name "[NONE]".
enum eTestShape : uint32_t
{
    SHAPE_NONE,
    SHAPE_SPHERE,
    SHAPE_CAPSULE,
    SHAPE_COUNT
};
extern const KvEnumConverter<eTestShape> g_Converter_TestShape;

// Held by value.
struct KvTestRecord
{
    float m_fWeight = 1.0f;
    std::string m_strTag;

    static const KvReflectedDataType* GetReflectedDataType();
};

// A cross-reference target: registered as a live object while it exists.
class KvTestTarget
{
public:
    KvTestTarget();
    KvTestTarget(const KvTestTarget& other);
    KvTestTarget& operator=(const KvTestTarget&) = default;
    virtual ~KvTestTarget();

    std::string m_strName;
    KvGuid m_XRefGUID;
    uint32_t m_ulLocalIndex = 0xFFFFFFFF;

    static const KvReflectedDataType* GetReflectedDataType();
};

// A payload of a dynamic pointer.
struct KvTestPayload
{
    int32_t m_slValue = 0;
    std::vector<KvVector2> m_aPoints;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KvTestNode
{
public:
    KvTestNode() = default;
    // Frees only what is still held: the host empties owned members before destroying.
    virtual ~KvTestNode();

    KvTestNode(const KvTestNode&) = delete;
    KvTestNode& operator=(const KvTestNode&) = delete;

    // Rebuilds the children's parent links, which are not saved.
    void PostDeserialize();

    std::string m_strName;
    bool m_bFlag = false;
    uint8_t m_ucByte = 0;
    uint32_t m_ulCount = 0;
    int32_t m_slOffset = 0;
    float m_fScale = 1.0f;
    KvGuid m_Guid;
    KvVector2 m_vUV;
    KvVector3 m_vPosition;
    KvVector4 m_vPlane;
    KvQuaternion m_quatRotation;
    KvColor m_colTint{255, 255, 255, 255};
    void* m_pRunResource = nullptr;
    eTestShape m_eShape = SHAPE_NONE;
    uint32_t m_eRawKind = 0;
    KvTestRecord m_Record;
    std::vector<uint32_t> m_aIds;
    std::vector<std::string> m_aNames;
    std::vector<uint8_t> m_acBytes;
    std::vector<KvTestRecord> m_aRecords;
    KvTestNode* m_pChild = nullptr;
    std::vector<KvTestNode*> m_apChildren;
    KvTestNode* m_pParent = nullptr;
    KvTestTarget* m_pTarget = nullptr;
    std::vector<KvTestTarget*> m_apTargets;
    const KvReflectedDataType* m_pDataType = nullptr;
    void* m_pData = nullptr;
    uint32_t m_ulRuntimeOnly = 0;
    int m_iPostDeserializeCount = 0;

    static const KvReflectedDataType* GetReflectedDataType();
};

// Its constructor makes an owned child and keeps an unsaved link to it, as an editor pawn
// keeps its owner's transform.
class KvTestHolder
{
public:
    KvTestHolder();
    ~KvTestHolder();

    KvTestHolder(const KvTestHolder&) = delete;
    KvTestHolder& operator=(const KvTestHolder&) = delete;

    KvTestRecord* m_pRecord;
    KvTestRecord* m_pMadeRecord;

    static const KvReflectedDataType* GetReflectedDataType();
};
