#include "store/KvJsonStore.h"

#include "reflection/KvMemberVisitor.h"
#include "reflection/KvObjectTree.h"
#include "reflection/KvReflectedDataType.h"
#include "reflection/KvReflectionInterface.h"
#include "store/KvBase64.h"
#include "store/KvBlobReference.h"
#include "store/KvBlobSink.h"
#include "store/KvJsonEnum.h"
#include "store/KvJsonFloat.h"
#include "store/KvJsonPointer.h"
#include "store/KvJsonString.h"
#include "store/KvJsonWriter.h"

#include <map>

namespace
{
const void* PointeeAt(const KvReflectedPrimitive& member, const void* pObject)
{
    return *static_cast<void* const*>(member.GetAddress(pObject));
}

// Writes an object tree as JSON events; each object owned twice is written in full at its
// first place and later as {"$ref": <JSON pointer of that place>}.
class Saver
{
public:
    Saver(KvJsonWriter& writer, const std::set<const void*>& nameOnlyTargets, KvBlobSink* pBlobs)
        : m_rWriter(writer), m_NameOnlyTargets(nameOnlyTargets), m_pBlobs(pBlobs)
    {
    }

    void SaveObject(const KvReflectedDataType* pType, const void* pObject)
    {
        m_rWriter.BeginObject();
        m_rWriter.Key("$type");
        m_rWriter.String(pType->GetName());
        for (uint32_t index = 0; index < pType->GetMemberCount(); ++index)
        {
            const KvReflectedPrimitive& member = *pType->GetMember(index);
            if (!KvJsonStore::IsSaved(member))
                continue;
            m_rWriter.Key(member.GetName());
            const KvJsonPointerToken token(m_strPath, member.GetName());
            KvVisitMember(member, *this, pType, pObject);
        }
        m_rWriter.EndObject();
    }

    // Member callbacks: the member of the owner type and the owner.
    void Value(const KvReflectedPrimitive& member, const KvReflectedDataType*, const void* pObject)
    {
        WriteValue(member.GetValueType(), member.GetAddress(pObject));
    }
    void Enum(const KvReflectedPrimitive& member, const KvReflectedDataType*, const void* pObject)
    {
        KvWriteEnum(m_rWriter, member.GetEnumConverter(),
                    *static_cast<const uint32_t*>(member.GetAddress(pObject)));
    }
    void Record(const KvReflectedPrimitive& member, const KvReflectedDataType*, const void* pObject)
    {
        SaveObject(member.GetElementType(), member.GetAddress(pObject));
    }
    void ValueArray(const KvReflectedPrimitive& member, const KvReflectedDataType*, const void* pObject)
    {
        if (member.GetValueType() == VALUE_U8)
            WriteBytes(*static_cast<const std::vector<uint8_t>*>(member.GetAddress(pObject)));
        else
            WriteElements(member, pObject,
                          [&](const void* pElement) { WriteValue(member.GetValueType(), pElement); });
    }
    void RecordArray(const KvReflectedPrimitive& member, const KvReflectedDataType*, const void* pObject)
    {
        WriteElements(member, pObject,
                      [&](const void* pElement) { SaveObject(member.GetElementType(), pElement); });
    }
    void OwnedPointer(const KvReflectedPrimitive& member, const KvReflectedDataType*, const void* pObject)
    {
        SaveOwned(member.GetPointeeType(), PointeeAt(member, pObject));
    }
    void OwnedPointerArray(const KvReflectedPrimitive& member, const KvReflectedDataType*,
                           const void* pObject)
    {
        WriteElements(member, pObject,
                      [&](const void* pElement)
                      { SaveOwned(member.GetPointeeType(), *static_cast<void* const*>(pElement)); });
    }
    // Only cross-references reach here: parent links are not saved.
    void Reference(const KvReflectedPrimitive& member, const KvReflectedDataType*, const void* pObject)
    {
        SaveCrossReference(member.GetPointeeType(), PointeeAt(member, pObject));
    }
    void ReferenceArray(const KvReflectedPrimitive& member, const KvReflectedDataType*, const void* pObject)
    {
        WriteElements(member, pObject,
                      [&](const void* pElement)
                      { SaveCrossReference(member.GetPointeeType(), *static_cast<void* const*>(pElement)); });
    }
    void TypeRecord(const KvReflectedPrimitive& member, const KvReflectedDataType*, const void* pObject)
    {
        if (const auto* pRecord = static_cast<const KvReflectedDataType*>(PointeeAt(member, pObject)))
            m_rWriter.String(pRecord->GetName());
        else
            m_rWriter.Null();
    }
    void DynamicPointer(const KvReflectedPrimitive& member, const KvReflectedDataType* pType,
                        const void* pObject)
    {
        const KvReflectedDataType* pChildType = KvObjectTree::GetDynamicType(pType, pObject, &member);
        SaveOwned(pChildType, pChildType ? PointeeAt(member, pObject) : nullptr);
    }

private:
    void WriteBytes(const std::vector<uint8_t>& bytes)
    {
        if (m_pBlobs && bytes.size() >= KvBlobSink::kMinBlobSize)
            KvBlobReference{m_pBlobs->Put(bytes), bytes.size()}.Write(m_rWriter);
        else
            m_rWriter.String(KvEncodeBase64(bytes));
    }

    template <class WriteElement>
    void WriteElements(const KvReflectedPrimitive& member, const void* pObject, WriteElement&& write)
    {
        m_rWriter.BeginArray();
        KvForEachElement(member, pObject,
                         [&](const void* pElement, size_t index)
                         {
                             const KvJsonPointerToken token(m_strPath, index);
                             write(pElement);
                         });
        m_rWriter.EndArray();
    }

    void SaveOwned(const KvReflectedDataType* pType, const void* pObject)
    {
        if (!pObject)
        {
            m_rWriter.Null();
            return;
        }
        const auto [written, bFirst] = m_WrittenAt.emplace(pObject, m_strPath);
        if (bFirst)
        {
            SaveObject(pType, pObject);
            return;
        }
        m_rWriter.BeginObject();
        m_rWriter.Key("$ref");
        m_rWriter.String(written->second);
        m_rWriter.EndObject();
    }

    void SaveCrossReference(const KvReflectedDataType* pType, const void* pTarget)
    {
        if (!pTarget)
        {
            m_rWriter.Null();
            return;
        }
        m_rWriter.BeginObject();
        m_rWriter.Key("$xref");
        m_rWriter.String(pType->GetName());
        if (const std::string* pName = KvReflectionInterface::GetObjectName(pType, pTarget))
        {
            m_rWriter.Key("name");
            KvWriteString(m_rWriter, *pName);
        }
        const int32_t guidIndex = pType->FindMember(KvReflectionInterface::kGuidMember);
        if (guidIndex >= 0 && !m_NameOnlyTargets.contains(pTarget))
        {
            m_rWriter.Key("guid");
            m_rWriter.String(
                static_cast<const KvGuid*>(pType->GetMember(guidIndex)->GetAddress(pTarget))->ToString());
        }
        m_rWriter.EndObject();
    }

    void WriteFloats(const float* pValues, size_t count)
    {
        m_rWriter.BeginArray();
        for (size_t index = 0; index < count; ++index)
            KvWriteFloat(m_rWriter, pValues[index]);
        m_rWriter.EndArray();
    }

    void WriteValue(eReflectedValueType valueType, const void* pValue)
    {
        switch (valueType)
        {
        case VALUE_BOOL:
            m_rWriter.Bool(*static_cast<const bool*>(pValue));
            break;
        case VALUE_U8:
            m_rWriter.Unsigned(*static_cast<const uint8_t*>(pValue));
            break;
        case VALUE_U32:
            m_rWriter.Unsigned(*static_cast<const uint32_t*>(pValue));
            break;
        case VALUE_S32:
            m_rWriter.Signed(*static_cast<const int32_t*>(pValue));
            break;
        case VALUE_F32:
            KvWriteFloat(m_rWriter, *static_cast<const float*>(pValue));
            break;
        case VALUE_STRING:
            KvWriteString(m_rWriter, *static_cast<const std::string*>(pValue));
            break;
        case VALUE_GUID:
            m_rWriter.String(static_cast<const KvGuid*>(pValue)->ToString());
            break;
        case VALUE_VECTOR2:
            WriteFloats(static_cast<const float*>(pValue), 2);
            break;
        case VALUE_VECTOR3:
            WriteFloats(static_cast<const float*>(pValue), 3);
            break;
        case VALUE_VECTOR4:
        case VALUE_QUATERNION:
            WriteFloats(static_cast<const float*>(pValue), 4);
            break;
        case VALUE_COLOR:
        {
            const auto* pColor = static_cast<const KvColor*>(pValue);
            m_rWriter.BeginArray();
            for (const uint8_t channel : {pColor->r, pColor->g, pColor->b, pColor->a})
                m_rWriter.Unsigned(channel);
            m_rWriter.EndArray();
            break;
        }
        case VALUE_HANDLE:
        case VALUE_NONE:
            m_rWriter.Null();
            break;
        }
    }

    KvJsonWriter& m_rWriter;
    const std::set<const void*>& m_NameOnlyTargets;
    KvBlobSink* m_pBlobs;
    // The JSON pointer of the value being written.
    std::string m_strPath;
    std::map<const void*, std::string> m_WrittenAt;
};
} // namespace

void KvJsonStore::Save(KvJsonWriter& writer, const KvReflectedDataType* pType, const void* pObject,
                       const std::set<const void*>& nameOnlyTargets, KvBlobSink* pBlobs)
{
    Saver(writer, nameOnlyTargets, pBlobs).SaveObject(pType, pObject);
}
