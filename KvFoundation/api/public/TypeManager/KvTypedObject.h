#pragma once

#include "Foundation/KvRefCounter.h"

class KvArchive;
class KvTypeInfo;

// A reference-counted object whose class is registered with the type manager.
class KvTypedObject : public KvRefCounter
{
public:
    ~KvTypedObject() override = default;

    // The record of the object's dynamic class.
    virtual KvTypeInfo* GetClassType() const = 0;
    // Reads or writes the "Version" of the object; a newer version than 1 is an archive error.
    virtual void Serialize(KvArchive& archive);

    static KvTypeInfo* GetType();
    static constexpr const char* kClassName = "KvTypedObject";
};

// Declares the class's registration; pair with KV_IMPLEMENT_TYPED_CLASS in one source file.
#define KV_DECLARE_TYPED_CLASS(ClassName, ParentName)                                                        \
public:                                                                                                      \
    static KvTypeInfo* GetType();                                                                            \
    KvTypeInfo* GetClassType() const override                                                                \
    {                                                                                                        \
        return GetType();                                                                                    \
    }                                                                                                        \
    static constexpr const char* kClassName = #ClassName;                                                    \
    static constexpr const char* kParentName = #ParentName;                                                  \
                                                                                                             \
private:

// The factory is built on first use of GetType() and, through the static below, at module
// start-up, so every class is registered before the host calls into the module.
#define KV_IMPLEMENT_TYPED_CLASS(ClassName)                                                                  \
    KvTypeInfo* ClassName::GetType()                                                                         \
    {                                                                                                        \
        static const KvObjectFactory<ClassName> s_Factory;                                                   \
        return s_Factory.GetTypeInfo();                                                                      \
    }                                                                                                        \
    [[maybe_unused]] static KvTypeInfo* const s_pRegistered_##ClassName = ClassName::GetType();
