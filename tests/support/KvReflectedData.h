#pragma once

#include "reflection/KvReflectedDataType.h"
#include "reflection/KvReflectionInterface.h"

#include <memory>

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

// Releases by schema, so that a test's objects go however the test ends.
struct DataReleaser
{
    template <class T>
    void operator()(T* pObject) const
    {
        DestroyData(pObject);
    }
};

template <class T>
using OwnedData = std::unique_ptr<T, DataReleaser>;

// A new object that the test owns.
template <class T>
OwnedData<T> MakeData()
{
    return OwnedData<T>(NewData<T>());
}
