#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "resources/KvResourceImporter.h"

#include <map>
#include <string>
#include <string_view>

class KvProjectData_Core_Raw_InputElementSet;
class KvProjectData_Core_Raw_InputTranslator;
class KvProjectData_Core_Raw_InputCommand;
class KvImportBudget;

namespace rapidxml
{
template <class Ch>
class xml_node;
}

// Input configuration XML into an input translator: element sets, commands, typematic
// rates and a controller remapping.
class KV_PLUGIN_CORE_API KvResourceImporter_InputTranslator : public KvResourceImporter
{
public:
    const KvResourceDescriptor* GetResourceType() const override;
    const char* GetExtension() const override { return "xml"; }
    void* ConvertToRaw(void*& payload, KvResource* pResource, KvIOStream* pSource, void* existing) override;

private:
    // Names ordered by length first: a lookup compares the bytes of names of its length only.
    struct tLengthFirst
    {
        using is_transparent = void;
        bool operator()(std::string_view first, std::string_view second) const
        {
            return first.size() != second.size() ? first.size() < second.size() : first < second;
        }
    };
    // Looked up by the names' texts, without a copy.
    using SetMap = std::map<std::string, KvProjectData_Core_Raw_InputElementSet*, tLengthFirst>;

    // Each false once the budget is spent.
    bool LoadTranslator(KvProjectData_Core_Raw_InputTranslator& translator,
                        const rapidxml::xml_node<char>& root, KvImportBudget& budget) const;
    bool LoadElementSet(KvProjectData_Core_Raw_InputElementSet& set, const rapidxml::xml_node<char>& element,
                        KvImportBudget& budget) const;
    bool LoadCommand(KvProjectData_Core_Raw_InputTranslator& translator,
                     KvProjectData_Core_Raw_InputCommand& command, const rapidxml::xml_node<char>& input,
                     const SetMap& sets, KvImportBudget& budget) const;

    // The source of the import in progress, for messages.
    std::string m_strFileName;
};
