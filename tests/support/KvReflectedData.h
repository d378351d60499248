#pragma once

#include "Reflection/KvReflectedDataType.h"
#include "Reflection/KvReflectionInterface.h"

// A new object of a reflected class through its object constructor, as the host makes them.
template <class T>
T* NewData()
{
    return static_cast<T*>(T::GetReflectedDataType()->GetObjectConstructor()->Create());
}

// Releases an object by its schema, as the host does.
template <class T>
void DestroyData(T* pObject)
{
    KvReflectionInterface::GetInstance()->DestroyObject(T::GetReflectedDataType(), pObject);
}
