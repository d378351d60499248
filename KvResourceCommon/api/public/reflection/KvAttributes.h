#pragma once

#include "Foundation/KvSmartPtr.h"
#include "KvResourceCommonExport.h"
#include "reflection/KvReflectedObjCtorContext.h"

#include <string>
#include <variant>
#include <vector>

struct KvAttributeEventArgs_DragDrop;
class KvNativeAction;
class KvReflectedDataType;
class KvReflectedPrimitive;
class KvResource;

// Editor attributes of types and members. A schema hands each attribute to its builder,
// which owns it from then on.
enum eAttributeKind : uint32_t
{
    ATTRIBUTE_DISPLAY_NAME,
    ATTRIBUTE_DISPLAY_NAME_FROM_MEMBER,
    ATTRIBUTE_DISPLAY_NAME_FROM_DELEGATE,
    ATTRIBUTE_DESCRIPTION,
    ATTRIBUTE_CATEGORY_NAME,
    ATTRIBUTE_READ_ONLY,
    ATTRIBUTE_HIDE_IN_PROPERTY_GRID,
    ATTRIBUTE_HIDE_VIRTUAL_NODE,
    ATTRIBUTE_SKIP_VIRTUAL_NODE,
    ATTRIBUTE_NO_SERIALIZE,
    ATTRIBUTE_NO_SORTING,
    ATTRIBUTE_NETWORK,
    ATTRIBUTE_XREF,
    ATTRIBUTE_XREF_KEY,
    ATTRIBUTE_EDITOR,
    ATTRIBUTE_COLUMN_DROP_DOWN_EDITOR,
    ATTRIBUTE_MULTILINE_TEXTBOX_EDITOR,
    ATTRIBUTE_MEMBER_DATA_NOT_OWNED,
    ATTRIBUTE_SET_FROM_RESOURCE_NAME,
    ATTRIBUTE_SET_RESOURCE_HANDLE,
    ATTRIBUTE_SET_PAYLOAD_HANDLE,
    ATTRIBUTE_STATIC_FLAG,
    ATTRIBUTE_CTOR_BY_CONTEXT,
    ATTRIBUTE_CTOR_BY_TYPE_INHERITANCE,
    ATTRIBUTE_NATIVE_ACTION,
    ATTRIBUTE_EVENT_PARENT_CHANGED,
    ATTRIBUTE_EVENT_AFTER_DRAG_DROP,
};
// Members keep the kinds they carry as bits of one word.
static_assert(ATTRIBUTE_EVENT_AFTER_DRAG_DROP < 64);

// A text or flag argument, as schemas list them; functions and creators are not listed.
using KvAttributeArgument = std::variant<std::string, bool>;

class KV_RESOURCECOMMON_API KvAttribute
{
public:
    virtual ~KvAttribute() = default;
    virtual eAttributeKind GetKind() const = 0;
    // The class name without "KvAttribute_" ("DisplayName", "XRefKey", ...).
    virtual const char* GetName() const = 0;
    virtual std::vector<KvAttributeArgument> GetArguments() const { return {}; }
};

#define KV_DECLARE_FLAG_ATTRIBUTE(Name, Kind)                                                                \
    class KV_RESOURCECOMMON_API KvAttribute_##Name : public KvAttribute                                      \
    {                                                                                                        \
    public:                                                                                                  \
        static constexpr eAttributeKind kKind = Kind;                                                        \
        eAttributeKind GetKind() const override { return kKind; }                                            \
        const char* GetName() const override { return #Name; }                                               \
    }

#define KV_DECLARE_TEXT_ATTRIBUTE(Name, Kind)                                                                \
    class KV_RESOURCECOMMON_API KvAttribute_##Name : public KvAttribute                                      \
    {                                                                                                        \
    public:                                                                                                  \
        static constexpr eAttributeKind kKind = Kind;                                                        \
        explicit KvAttribute_##Name(const char* text) : m_strText(text ? text : "") {}                       \
        eAttributeKind GetKind() const override { return kKind; }                                            \
        const char* GetName() const override { return #Name; }                                               \
        std::vector<KvAttributeArgument> GetArguments() const override { return {m_strText}; }               \
        const std::string& GetText() const { return m_strText; }                                             \
                                                                                                             \
    private:                                                                                                 \
        std::string m_strText;                                                                               \
    }

KV_DECLARE_TEXT_ATTRIBUTE(DisplayName, ATTRIBUTE_DISPLAY_NAME);
// The text holds one "%s" for the member's value.
KV_DECLARE_TEXT_ATTRIBUTE(DisplayNameFromMember, ATTRIBUTE_DISPLAY_NAME_FROM_MEMBER);
KV_DECLARE_TEXT_ATTRIBUTE(Description, ATTRIBUTE_DESCRIPTION);
KV_DECLARE_TEXT_ATTRIBUTE(CategoryName, ATTRIBUTE_CATEGORY_NAME);
KV_DECLARE_TEXT_ATTRIBUTE(Editor, ATTRIBUTE_EDITOR);
KV_DECLARE_FLAG_ATTRIBUTE(ReadOnly, ATTRIBUTE_READ_ONLY);
KV_DECLARE_FLAG_ATTRIBUTE(HideInPropertyGrid, ATTRIBUTE_HIDE_IN_PROPERTY_GRID);
KV_DECLARE_FLAG_ATTRIBUTE(HideVirtualNode, ATTRIBUTE_HIDE_VIRTUAL_NODE);
KV_DECLARE_FLAG_ATTRIBUTE(SkipVirtualNode, ATTRIBUTE_SKIP_VIRTUAL_NODE);
KV_DECLARE_FLAG_ATTRIBUTE(NoSerialize, ATTRIBUTE_NO_SERIALIZE);
KV_DECLARE_FLAG_ATTRIBUTE(NoSorting, ATTRIBUTE_NO_SORTING);
KV_DECLARE_FLAG_ATTRIBUTE(Network, ATTRIBUTE_NETWORK);
KV_DECLARE_FLAG_ATTRIBUTE(XRef, ATTRIBUTE_XREF);
KV_DECLARE_FLAG_ATTRIBUTE(XRefKey, ATTRIBUTE_XREF_KEY);
KV_DECLARE_FLAG_ATTRIBUTE(MultilineTextboxEditor, ATTRIBUTE_MULTILINE_TEXTBOX_EDITOR);
KV_DECLARE_FLAG_ATTRIBUTE(MemberDataNotOwned, ATTRIBUTE_MEMBER_DATA_NOT_OWNED);
KV_DECLARE_FLAG_ATTRIBUTE(SetFromResourceName, ATTRIBUTE_SET_FROM_RESOURCE_NAME);
KV_DECLARE_FLAG_ATTRIBUTE(SetResourceHandle, ATTRIBUTE_SET_RESOURCE_HANDLE);
KV_DECLARE_FLAG_ATTRIBUTE(SetPayloadHandle, ATTRIBUTE_SET_PAYLOAD_HANDLE);
KV_DECLARE_FLAG_ATTRIBUTE(StaticFlag, ATTRIBUTE_STATIC_FLAG);

#undef KV_DECLARE_FLAG_ATTRIBUTE
#undef KV_DECLARE_TEXT_ATTRIBUTE

// The object's shown name computed by a function of the plug-in.
class KV_RESOURCECOMMON_API KvAttribute_DisplayNameFromDelegate : public KvAttribute
{
public:
    using Function = void (*)(std::string& outName, const KvReflectedDataType* pType, const void* pObject);
    static constexpr eAttributeKind kKind = ATTRIBUTE_DISPLAY_NAME_FROM_DELEGATE;

    explicit KvAttribute_DisplayNameFromDelegate(Function function) : m_pfnFunction(function) {}
    eAttributeKind GetKind() const override { return kKind; }
    const char* GetName() const override { return "DisplayNameFromDelegate"; }
    Function GetFunction() const { return m_pfnFunction; }

private:
    Function m_pfnFunction;
};

// A cross-reference chosen from a drop-down of candidates showing one column member.
class KV_RESOURCECOMMON_API KvAttribute_ColumnDropDownEditor : public KvAttribute
{
public:
    static constexpr eAttributeKind kKind = ATTRIBUTE_COLUMN_DROP_DOWN_EDITOR;

    KvAttribute_ColumnDropDownEditor(const char* columnMember, const char* text2, const char* text3,
                                     bool bFlag)
        : m_strColumnMember(columnMember), m_strText2(text2), m_strText3(text3), m_bFlag(bFlag)
    {
    }
    eAttributeKind GetKind() const override { return kKind; }
    const char* GetName() const override { return "ColumnDropDownEditor"; }
    std::vector<KvAttributeArgument> GetArguments() const override
    {
        return {m_strColumnMember, m_strText2, m_strText3, m_bFlag};
    }

private:
    std::string m_strColumnMember;
    std::string m_strText2;
    std::string m_strText3;
    bool m_bFlag;
};

// "Create" entries built from a list of contexts.
class KV_RESOURCECOMMON_API KvAttribute_CtorByContext : public KvAttribute
{
public:
    // Appends contexts the caller then owns.
    using ContextFunction = void (*)(std::vector<KvReflectedObjCtorContext*>& outContexts,
                                     const KvReflectedDataType* pTargetType, void* pParentObject,
                                     const KvReflectedPrimitive* pParentMember);
    static constexpr eAttributeKind kKind = ATTRIBUTE_CTOR_BY_CONTEXT;

    KvAttribute_CtorByContext(const char* label, ContextFunction function, KvReflectedObjectCreator* pCreator)
        : m_strLabel(label), m_pfnContexts(function), m_pCreator(pCreator)
    {
    }
    ~KvAttribute_CtorByContext() override { delete m_pCreator; }
    eAttributeKind GetKind() const override { return kKind; }
    const char* GetName() const override { return "CtorByContext"; }
    std::vector<KvAttributeArgument> GetArguments() const override { return {m_strLabel}; }

    const std::string& GetLabel() const { return m_strLabel; }
    ContextFunction GetContextFunction() const { return m_pfnContexts; }
    const KvReflectedObjectCreator* GetCreator() const { return m_pCreator; }

private:
    std::string m_strLabel;
    ContextFunction m_pfnContexts;
    KvReflectedObjectCreator* m_pCreator;
};

// One "create" entry per run-time class deriving from a named base class.
class KV_RESOURCECOMMON_API KvAttribute_CtorByTypeInheritance : public KvAttribute
{
public:
    static constexpr eAttributeKind kKind = ATTRIBUTE_CTOR_BY_TYPE_INHERITANCE;

    KvAttribute_CtorByTypeInheritance(const char* label, const char* baseClassName,
                                      KvReflectedObjectCreator* pCreator)
        : m_strLabel(label), m_strBaseClassName(baseClassName), m_pCreator(pCreator)
    {
    }
    ~KvAttribute_CtorByTypeInheritance() override { delete m_pCreator; }
    eAttributeKind GetKind() const override { return kKind; }
    const char* GetName() const override { return "CtorByTypeInheritance"; }
    std::vector<KvAttributeArgument> GetArguments() const override
    {
        return {m_strLabel, m_strBaseClassName};
    }

    const std::string& GetLabel() const { return m_strLabel; }
    const std::string& GetBaseClassName() const { return m_strBaseClassName; }
    const KvReflectedObjectCreator* GetCreator() const { return m_pCreator; }

private:
    std::string m_strLabel;
    std::string m_strBaseClassName;
    KvReflectedObjectCreator* m_pCreator;
};

// A menu of undoable actions, built by a factory when the menu opens.
class KV_RESOURCECOMMON_API KvAttribute_NativeAction : public KvAttribute
{
public:
    using Factory = void (*)(std::vector<KvSmartPtr<KvNativeAction>>& outActions, KvResource* pResource,
                             const KvReflectedDataType* pType, void* pObject,
                             const KvReflectedPrimitive* pMember, void* pMemberData);
    static constexpr eAttributeKind kKind = ATTRIBUTE_NATIVE_ACTION;

    KvAttribute_NativeAction(const char* menuName, Factory factory)
        : m_strMenuName(menuName), m_pfnFactory(factory)
    {
    }
    eAttributeKind GetKind() const override { return kKind; }
    const char* GetName() const override { return "NativeAction"; }
    std::vector<KvAttributeArgument> GetArguments() const override { return {m_strMenuName}; }

    const std::string& GetMenuName() const { return m_strMenuName; }
    Factory GetFactory() const { return m_pfnFactory; }

private:
    std::string m_strMenuName;
    Factory m_pfnFactory;
};

// Called after an object of the type was moved under another parent.
class KV_RESOURCECOMMON_API KvAttribute_Event_ParentChanged : public KvAttribute
{
public:
    using Function = void (*)(const KvReflectedDataType* pType, void* pObject,
                              const KvReflectedPrimitive* pMember, void* pNewParent);
    static constexpr eAttributeKind kKind = ATTRIBUTE_EVENT_PARENT_CHANGED;

    explicit KvAttribute_Event_ParentChanged(Function function) : m_pfnFunction(function) {}
    eAttributeKind GetKind() const override { return kKind; }
    const char* GetName() const override { return "Event_ParentChanged"; }
    Function GetFunction() const { return m_pfnFunction; }

private:
    Function m_pfnFunction;
};

// Called after a drag and drop onto an object of the type.
class KV_RESOURCECOMMON_API KvAttribute_Event_AfterDragDrop : public KvAttribute
{
public:
    using Function = bool (*)(KvAttributeEventArgs_DragDrop* pArguments);
    static constexpr eAttributeKind kKind = ATTRIBUTE_EVENT_AFTER_DRAG_DROP;

    explicit KvAttribute_Event_AfterDragDrop(Function function) : m_pfnFunction(function) {}
    eAttributeKind GetKind() const override { return kKind; }
    const char* GetName() const override { return "Event_AfterDragDrop"; }
    Function GetFunction() const { return m_pfnFunction; }

private:
    Function m_pfnFunction;
};

// The attribute of a kind among a list, or null. Identifies attributes by kind, never by
// run-time type, so lists built in any module work.
template <class A>
const A* KvFindAttribute(const std::vector<KvAttribute*>& attributes)
{
    for (const KvAttribute* pAttribute : attributes)
    {
        if (pAttribute->GetKind() == A::kKind)
            return static_cast<const A*>(pAttribute);
    }
    return nullptr;
}
