#pragma once

#include "reflection/KvReflectedDataType.h"
#include "reflection/KvReflectedObjCtorContext.h"
#include "reflection/KvReflectionInterface.h"

#include <memory>
#include <string>

// A new object of a reflected class through its object constructor, as the host makes them.
template <class T>
T* NewData()
{
    return static_cast<T*>(T::GetReflectedDataType()->GetObjectConstructor()->Create());
}

// A new object with its name set, as most tests build their scenes.
template <class T>
T* NewNamed(const std::string& name)
{
    T* pObject = NewData<T>();
    pObject->m_strName = name;
    return pObject;
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

template <class T>
OwnedData<T> MakeNamed(const std::string& name)
{
    return OwnedData<T>(NewNamed<T>(name));
}

// What a construct-by-context menu hands T's constructor: a label (the game class of a holder)
// and the object the entry was made from.
template <class T>
KvReflectedObjCtorContext ContextFor(void* pSource, const std::string& label = "label")
{
    return KvReflectedObjCtorContext(label, T::GetReflectedDataType(), nullptr, nullptr, pSource, 0);
}
