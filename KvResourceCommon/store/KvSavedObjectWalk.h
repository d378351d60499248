#pragma once

#include <functional>
#include <string>

class KvReflectedDataType;

// Called with each object a saved document holds in full and its JSON pointer there.
using KvSavedObjectVisit =
    std::function<void(const std::string& pointer, const KvReflectedDataType* pType, void* pObject)>;

// Visits the objects of a tree in the order the JSON store writes them: the root, embedded
// records and owned objects, an object owned twice at its first place only. The pointers name
// where each stands in the saved file, so they identify an object across saves.
void KvWalkSavedObjects(const KvReflectedDataType* pType, void* pRoot, const KvSavedObjectVisit& visit);
