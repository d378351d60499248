#pragma once

class KvReflectedDataType;

// What the host tells a type after an object was dragged and dropped: the drop target, the
// parent the object had before, and the object itself (already moved in the tree).
struct KvAttributeEventArgs_DragDrop
{
    const KvReflectedDataType* m_pTargetType = nullptr;
    void* m_pTarget = nullptr;
    const KvReflectedDataType* m_pPreviousParentType = nullptr;
    void* m_pPreviousParent = nullptr;
    const KvReflectedDataType* m_pMovedType = nullptr;
    void* m_pMoved = nullptr;
};
