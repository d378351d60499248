#pragma once

#include "TypeManager/KvTypeInfo.h"

#include <cstdint>
#include <string>
#include <vector>

// The process-wide registry of classes that can be created by name. Every module reaches
// the same instance, so class indices agree across the process.
class KvTypeManager
{
public:
    virtual ~KvTypeManager() = default;

    // Registers a class (creating a placeholder for an unknown parent first); a class that
    // is already known keeps its index and takes the new data. Fatal without factory or names.
    virtual KvTypeInfo* RegisterTemplate(const void* pFactory, bool bAbstract, const char* className,
                                         const char* parentName, KvTypeInfo::CreateFunction pfnCreate,
                                         uint32_t objectSize, uint64_t extra64, uint32_t extra32) = 0;
    // Null for an unknown or null name.
    virtual KvTypeInfo* FindType(const char* name) const = 0;
    // No bounds check: the caller keeps the index below GetTypeCount().
    virtual KvTypeInfo* GetTypeByIndex(uint32_t index) const = 0;
    // Appends, in index order, every type that has the given type among its ancestors.
    virtual void GetDerivedTypes(const KvTypeInfo* pBase, std::vector<KvTypeInfo*>& outTypes) const = 0;
    virtual uint32_t GetTypeCount() const = 0;
    // Checks every record; fatal at the first broken one. Returns the count of types.
    virtual uint32_t Validate() = 0;
    // 0xFFFFFFFF for an unknown name.
    virtual uint32_t GetTypeIndex(const std::string& name) const = 0;
    // Appends, in index order, the name of every type that is or derives from the index.
    virtual uint32_t GetDerivedTypeNames(uint32_t index, std::vector<std::string>& outNames) const = 0;

    // Whether the type's index, or an ancestor's, is the given one. The walk is bounded by the
    // type count, so a class registered as its own ancestor cannot hang it.
    bool IsOrDerivesFrom(const KvTypeInfo* pType, uint32_t ancestorIndex) const;

    // The process-wide instance, created and published on first use.
    static KvTypeManager* GetInstance();
};
