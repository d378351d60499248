#pragma once

#include "KvResourceCommonExport.h"
#include "reflection/KvAttributes.h"
#include "reflection/KvReflectedObjectConstructor.h"
#include "reflection/KvReflectedPrimitive.h"

#include <cstdint>
#include <string>
#include <vector>

struct KvVector3;

// Draws an object's editor preview at a world position; bPlaying when the preview plays.
using KvEditorPreviewFunction = void (*)(const void* pObject, const KvVector3& position, bool bPlaying);

// The schema of one reflected type. A record first made by name only (a forward
// declaration) is completed in place by the type's real declaration.
class KV_RESOURCECOMMON_API KvReflectedDataType
{
public:
    explicit KvReflectedDataType(const std::string& name);
    ~KvReflectedDataType();

    KvReflectedDataType(const KvReflectedDataType&) = delete;
    KvReflectedDataType& operator=(const KvReflectedDataType&) = delete;

    const std::string& GetName() const { return m_strName; }
    uint32_t GetSize() const { return m_uiSize; }
    // Null for a forward declaration and for types the host cannot create.
    const KvReflectedObjectConstructor* GetObjectConstructor() const { return m_pConstructor; }
    bool IsSealed() const { return m_bSealed; }

    uint32_t GetMemberCount() const { return static_cast<uint32_t>(m_apMembers.size()); }
    // The member's index, or -1.
    int32_t FindMember(const char* name) const;
    const KvReflectedPrimitive* GetMember(uint32_t index) const { return m_apMembers[index]; }
    // The members that can hold objects: records, arrays of records and pointers of every kind,
    // in declaration order. Plain values, enumerations and value arrays never do, so walks that
    // follow objects (release, references) visit only these.
    const std::vector<const KvReflectedPrimitive*>& GetMembersHoldingObjects() const
    {
        return m_apMembersHoldingObjects;
    }
    const std::vector<KvAttribute*>& GetAttributes() const { return m_apAttributes; }

    // The shown name of an object: the type's delegate, else the first string member with a
    // DisplayNameFromMember format, else its non-empty XRefKey name, else the type's
    // DisplayName, else the type name.
    std::string GetObjectDisplayName(const void* pObject) const;
    // How objects of the type draw their editor preview, for the game's preview handlers, which
    // know the previewed object by address and type only; null for most types. Editor
    // behaviour, not part of the schema.
    KvEditorPreviewFunction GetEditorPreview() const { return m_pfnEditorPreview; }

private:
    friend class KvReflectedDataTypeBuilder;

    std::string m_strName;
    uint32_t m_uiSize = 0;
    KvReflectedObjectConstructor* m_pConstructor = nullptr;
    std::vector<KvReflectedPrimitive*> m_apMembers;
    std::vector<const KvReflectedPrimitive*> m_apMembersHoldingObjects;
    std::vector<KvAttribute*> m_apAttributes;
    bool m_bSealed = false;
    KvEditorPreviewFunction m_pfnEditorPreview = nullptr;
};
