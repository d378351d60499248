#pragma once

#include <cstdint>
#include <string>

class KvReflectedDataType;
class KvReflectedPrimitive;

// One way to make an object in the editor: a labelled entry of a "create" menu.
struct KvReflectedObjCtorContext
{
    KvReflectedObjCtorContext(const std::string& label, const KvReflectedDataType* pTargetType,
                              void* pParentObject, const KvReflectedPrimitive* pParentMember,
                              void* pSourceObject, uintptr_t sourceValue)
        : m_strLabel(label), m_pTargetType(pTargetType), m_pParentObject(pParentObject),
          m_pParentMember(pParentMember), m_pSourceObject(pSourceObject), m_SourceValue(sourceValue)
    {
    }

    std::string m_strLabel;
    const KvReflectedDataType* m_pTargetType;
    void* m_pParentObject;
    const KvReflectedPrimitive* m_pParentMember;
    void* m_pSourceObject;
    uintptr_t m_SourceValue;
};

// Makes an object from a context; owned by the attribute that offers it.
class KvReflectedObjectCreator
{
public:
    virtual ~KvReflectedObjectCreator() = default;
    virtual void* Create(const KvReflectedObjCtorContext& context) const = 0;
};

// Runs T's constructor that takes the context.
template <class T>
class ObjectCtor : public KvReflectedObjectCreator
{
public:
    void* Create(const KvReflectedObjCtorContext& context) const override { return new T(context); }
};
