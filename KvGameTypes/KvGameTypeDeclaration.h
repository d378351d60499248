#pragma once

#include "reflection/KvReflectedDataTypeBuilder.h"
#include "reflection/KvReflectionInterface.h"

// Declares a game type: its object constructor and its members, through a declaring function.
// A type already declared (the module loaded twice) is left as it is.
template <class T>
void KvDeclareGameType(const char* name, void (*declareMembers)(KvReflectedDataTypeBuilder&))
{
    KvReflectedDataTypeBuilder builder(name, sizeof(T), new ObjectConstructor<T>());
    if (!builder.IsSealed())
    {
        declareMembers(builder);
        builder.SealDeclaration();
    }
    KvReflectionInterface::GetInstance()->RegisterType(builder.GetConstructedType());
}

// A type of another module, known here by name until that module declares it.
inline const KvReflectedDataType* KvDeclareForeignType(const char* name)
{
    KvReflectedDataTypeBuilder builder(name, 0, nullptr);
    KvReflectionInterface::GetInstance()->RegisterType(builder.GetConstructedType());
    return builder.GetConstructedType();
}
