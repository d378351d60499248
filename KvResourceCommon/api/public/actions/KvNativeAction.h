#pragma once

#include "KvResourceCommonExport.h"
#include "TypeManager/KvTypedObject.h"

#include <string>
#include <vector>

class KvReflectedDataType;
class KvResource;

// An object to select after an action: its type, the object and the resource holding it.
struct tReflectedObject
{
    const KvReflectedDataType* m_pType = nullptr;
    void* m_pObject = nullptr;
    KvResource* m_pResource = nullptr;
};

// An undoable edit offered in a context menu. Held by KvSmartPtr; Do and Undo alternate,
// starting with Do.
class KV_RESOURCECOMMON_API KvNativeAction : public KvTypedObject
{
    KV_DECLARE_TYPED_CLASS(KvNativeAction, KvTypedObject)

public:
    // The menu label.
    virtual const std::string& GetName() const = 0;
    virtual void Do() = 0;
    virtual void Undo() = 0;
    // Appends the data objects whose members the edit writes.
    virtual void GetChangedMemory(std::vector<void*>& outMemory) const = 0;
    // Appends the resources the edit dirties.
    virtual void GetModifiedResources(std::vector<KvResource*>& outResources) const = 0;
    // Whether the host must re-select after Do or Undo.
    virtual bool UpdatesSelection() const = 0;
    // Appends what to select.
    virtual void GetSelection(std::vector<tReflectedObject>& outSelection) const = 0;
};

// Base of the actions on reflected project data.
class KV_RESOURCECOMMON_API KvReflectedObjectAction : public KvNativeAction
{
    KV_DECLARE_TYPED_CLASS(KvReflectedObjectAction, KvNativeAction)
};
