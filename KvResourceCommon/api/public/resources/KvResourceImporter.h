#pragma once

#include "KvResourceCommonExport.h"

#include <string>
#include <utility>
#include <vector>

class KvIOStream;
class KvReflectedDataType;
class KvResource;
class KvResourceDescriptor;
class KvSourceProbe;

// A placeholder object made by an import and the type it belongs to.
using KvTempXRef = std::pair<void*, const KvReflectedDataType*>;

// Turns one source file into the raw data (and payload) of one resource type. The host owns
// importers once they are registered.
// How an importer takes a source of its extension.
enum eSourceRecognition
{
    SOURCE_NOT_TAKEN,
    // Taken when no importer recognises the source.
    SOURCE_TAKEN_BY_DEFAULT,
    // Taken by what the source holds.
    SOURCE_RECOGNISED,
};

class KV_RESOURCECOMMON_API KvResourceImporter
{
public:
    virtual ~KvResourceImporter() = default;

    virtual const KvResourceDescriptor* GetResourceType() const = 0;
    // Lower case, without the dot.
    virtual const char* GetExtension() const = 0;
    // The raw data object of the resource type (new, or `existing` updated), or null after
    // logging why; may store a new payload. The stream starts at the file's first byte.
    virtual void* ConvertToRaw(void*& payload, KvResource* pResource, KvIOStream* pSource,
                               void* existing) = 0;
    // Removes the extension from the name the host derived from the source path; true when
    // the name changed.
    virtual bool ConvertResourceName(std::string& name);
    // The source file name of a resource name: the name with this importer's extension.
    virtual std::string GetOriginalFileName(const std::string& name);
    // Whether the host makes a resource of its own for each imported file.
    virtual bool ShouldCreateResource();
    // Hands over the placeholder objects the last import made; none by default.
    virtual void AppendTempXRef(std::vector<KvTempXRef>& outReferences);
    // A file whose time stamp bounds the age of imported results; none (empty) by default.
    virtual void GetMinimumTimeStampFile(std::string& outPath) const;
    // Another importer this one relies on; the host keeps the list, nothing more.
    virtual void AddReferenceImporter(KvResourceImporter* pImporter);
    // How this importer takes a source of its extension. Where several importers share an
    // extension, the host asks the registered ones in registration order, then the plug-ins'
    // unregistered ones: the first that recognises the source (by its root element or first
    // bytes) imports it, else the first registered one that takes it by default. Taken by
    // default unless overridden.
    virtual eSourceRecognition RecognizeSource(const KvSourceProbe& source) const;

    const std::vector<KvResourceImporter*>& GetReferenceImporters() const { return m_apReferenceImporters; }

private:
    std::vector<KvResourceImporter*> m_apReferenceImporters;
};
