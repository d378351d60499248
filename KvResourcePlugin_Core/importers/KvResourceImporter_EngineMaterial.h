#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "resources/KvResourceImporter.h"

#include <string>
#include <unordered_map>

// Material description XML of the run-time engine (a root with a "Materials" child). It makes
// no resource of its own: it applies the file's settings to the materials of the mesh the file
// belongs to, the mesh saved under the file's resource name, and returns an updated copy.
class KV_PLUGIN_CORE_API KvResourceImporter_EngineMaterial : public KvResourceImporter
{
public:
    const KvResourceDescriptor* GetResourceType() const override;
    const char* GetExtension() const override { return "xml"; }
    // A copy of `existing` (a mesh) with the file's materials applied; `existing` itself when
    // the file has no "Materials" (an empty document is logged); null without a mesh.
    void* ConvertToRaw(void*& payload, KvResource* pResource, KvIOStream* pSource, void* existing) override;
    // Names in a "_data\\materials" folder lose their extension and are remembered; false and
    // unchanged otherwise.
    bool ConvertResourceName(std::string& name) override;
    // The unconverted name remembered for a converted one, or empty.
    std::string GetOriginalFileName(const std::string& name) override;
    bool ShouldCreateResource() override { return false; }
    void GetMinimumTimeStampFile(std::string& outPath) const override;
    eSourceRecognition RecognizeSource(const KvSourceProbe& source) const override;

private:
    // Converted resource name -> the name it was converted from.
    std::unordered_map<std::string, std::string> m_OriginalNames;
};
