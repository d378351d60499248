#pragma once

#include <string>

class KvResourceDescriptor;

// Where an import that updates a saved resource finds it: the importers that make no resource
// of their own (ShouldCreateResource false) change the raw data a project already holds.
class KvSavedResources
{
public:
    virtual ~KvSavedResources() = default;
    // The saved raw data of the named resource of the type, or null when there is none. It
    // stays the source's: an importer copies what it changes.
    virtual void* FindSavedRawData(const std::string& name, const KvResourceDescriptor* pType) = 0;
};
