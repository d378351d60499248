#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "reflection/KvReflectedObjCtorContext.h"

#include <cstdint>
#include <string>

class KvEditorPawn;
class KvReflectedDataType;

// A name, the chosen run-time class and an object of it: the shape shared by actor code,
// components, triggers and world code, created "By Type" from a game base class.
class KV_PLUGIN_CORE_API KvProjectData_Core_CodeHolder
{
public:
    KvProjectData_Core_CodeHolder() = default;
    // Picks the run-time class named by the context label and makes an object of it.
    explicit KvProjectData_Core_CodeHolder(const KvReflectedObjCtorContext& context);

    // Holds a new object of the run-time class registered under the name, releasing what it
    // held; an unknown name leaves the holder named but without type and object.
    void ChooseClass(const std::string& typeName);
    // Calls the held object's debug drawing when it has one.
    void DrawDebug(KvEditorPawn* pPawn, uint32_t flags) const;

    std::string m_strName;
    const KvReflectedDataType* m_pDataType = nullptr;
    void* m_pData = nullptr;
};

#define KV_DECLARE_CODE_HOLDER(Class)                                                                        \
    class KV_PLUGIN_CORE_API Class : public KvProjectData_Core_CodeHolder                                    \
    {                                                                                                        \
    public:                                                                                                  \
        Class() = default;                                                                                   \
        explicit Class(const KvReflectedObjCtorContext& context) : KvProjectData_Core_CodeHolder(context) {} \
        static const KvReflectedDataType* GetReflectedDataType();                                            \
    }

// The schema of a holder: its type attributes (which differ per holder), then "m_strName"
// (hidden in the property grid when HideName), "m_pDataType" and "m_pData".
#define KV_CODE_HOLDER_SCHEMA(Class, HideName, ...)                                                          \
    KV_BEGIN_SCHEMA(Class, ObjectConstructor)                                                                \
    for (KvAttribute * pAttribute : std::initializer_list<KvAttribute*>{__VA_ARGS__})                        \
        schema.TypeAttribute(pAttribute);                                                                    \
    schema.Member("m_strName", &Class::m_strName).With(new KvAttribute_DisplayNameFromMember("%s"));         \
    if (HideName)                                                                                            \
        schema.With(new KvAttribute_HideInPropertyGrid());                                                   \
    schema.InheritedTypeRecord("m_pDataType", &Class::m_pDataType)                                           \
        .With(new KvAttribute_HideVirtualNode())                                                             \
        .With(new KvAttribute_HideInPropertyGrid());                                                         \
    schema.Dynamic("m_pData", "m_pDataType", &Class::m_pData);                                               \
    KV_END_SCHEMA()
