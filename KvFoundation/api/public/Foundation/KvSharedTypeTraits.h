#pragma once

// What a process-shared object is called: the type name of its shared-memory pointer,
// the instance name, and its C++ declaration as it appears in reports
// ("class KvTypeManagerImpl", "struct tGlobals").
template <class T>
struct KvSharedTypeTraits;

#define KV_DECLARE_SHARED_TYPE(Type, TypeName, InstanceName, Declaration)                                    \
    template <>                                                                                              \
    struct KvSharedTypeTraits<Type>                                                                          \
    {                                                                                                        \
        static constexpr const char* kTypeName = TypeName;                                                   \
        static constexpr const char* kInstanceName = InstanceName;                                           \
        static constexpr const char* kDeclaration = Declaration;                                             \
    }
