#include "importers/KvResourceImporter_InputTranslator.h"

#include "Foundation/KvReport.h"
#include "KvResourcePlugin_Core_Resources.h"
#include "Toolbox/KvToolboxXML.h"
#include "importers/KvImporterSupport.h"
#include "importers/KvXmlNumbers.h"
#include "projectdata/KvProjectData_Core_Input.h"

#include <cstdlib>
#include <strings.h>

namespace
{
using Node = rapidxml::xml_node<char>;

// "yes", "true" or "1" in any case.
bool IsTrue(const char* text)
{
    return text && (strcasecmp(text, "yes") == 0 || strcasecmp(text, "true") == 0 || strcmp(text, "1") == 0);
}

template <class E>
E EnumOf(const KvEnumConverter<E>& converter, const Node& node, const char* attribute)
{
    return converter.FromString(KvXmlAttributeText(&node, attribute));
}

int32_t IndexOf(const Node& node, const char* attribute)
{
    const char* text = KvXmlAttributeText(&node, attribute);
    return text ? std::atoi(text) : -1;
}
} // namespace

const KvResourceDescriptor* KvResourceImporter_InputTranslator::GetResourceType() const
{
    return KvResourcePlugin_Core_InputTranslator::GetStaticDescriptor();
}

void KvResourceImporter_InputTranslator::LoadElementSet(KvProjectData_Core_Raw_InputElementSet& set,
                                                        const Node& element) const
{
    // The set takes the last of these texts as its name, as the format has always had it.
    if (const char* typematic = KvXmlAttributeText(&element, "typematic"))
        set.m_strName = typematic;
    for (const Node* pElement = element.first_node("Element"); pElement;
         pElement = pElement->next_sibling("Element"))
    {
        KvProjectData_Core_Raw_InputElement input;
        if (const char* name = KvXmlAttributeText(pElement, "name"))
            set.m_strName = name;
        const char* typeText = KvXmlAttributeText(pElement, "type");
        const std::string type = typeText ? typeText : "";
        const char* active = KvXmlAttributeText(pElement, "active");
        input.m_bActive = active ? IsTrue(active) : true;
        if (type == "analog")
        {
            input.m_eType = INPUT_ELEMENT_ANALOG;
            input.m_fTriggerValue = KvXmlNumbers::ReadFloat(KvXmlAttributeText(pElement, "trigger_value"));
            input.m_eAnalogControl = EnumOf(g_Converter_InputAnalogControl, *pElement, "control");
        }
        else if (type == "button")
        {
            input.m_eType = INPUT_ELEMENT_BUTTON;
            input.m_eButton = EnumOf(g_Converter_InputButton, *pElement, "button");
        }
        else if (type == "key")
        {
            input.m_eType = INPUT_ELEMENT_KEY;
            input.m_eKey = EnumOf(g_Converter_InputKeys, *pElement, "button");
        }
        else
            KvFatalReport(KV_REPORT_SITE, "Invalid input element type '%s' in file '%s'", type.c_str(),
                          m_strFileName.c_str());
        set.m_aElements.push_back(input);
    }
}

void KvResourceImporter_InputTranslator::LoadCommand(KvProjectData_Core_Raw_InputTranslator& translator,
                                                     KvProjectData_Core_Raw_InputCommand& command,
                                                     const Node& input, const SetMap& sets) const
{
    if (IsTrue(KvXmlAttributeText(&input, "typematic")))
    {
        auto* pTypematic = KvCreateData<KvProjectData_Core_Raw_InputTypematicRateInfo>();
        pTypematic->m_fTypematicInitialDelay = 0.5f;
        pTypematic->m_fTypematicRepeatDelay = 0.1f;
        translator.m_apTypematicInfo.push_back(pTypematic);
        command.m_pTypematicInfo = pTypematic;
    }
    for (const Node* pSet = input.first_node("Set"); pSet; pSet = pSet->next_sibling("Set"))
    {
        const char* nameText = KvXmlAttributeText(pSet, "name");
        const std::string name = nameText ? nameText : "";
        const auto found = sets.find(name);
        if (found == sets.end())
            KvFatalReport(KV_REPORT_SITE, "Failed to find element set '%s' in '%s'", name.c_str(),
                          m_strFileName.c_str());
        command.m_apElementSet.push_back(found->second);
    }
}

void* KvResourceImporter_InputTranslator::ConvertToRaw(void*&, KvResource*, KvIOStream* pSource, void*)
{
    m_strFileName = pSource->GetName();
    KvXmlDocument document;
    if (!document.Load(*pSource))
        return nullptr;
    const Node* pRoot = document.GetDocument().first_node();
    if (!pRoot)
    {
        KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE, "Empty input translator config file '%s'",
                    m_strFileName.c_str());
        return nullptr;
    }
    KvImportedData<KvProjectData_Core_Raw_InputTranslator> translator;
    SetMap sets;
    for (const Node* pSet = pRoot->first_node("ElementSet"); pSet; pSet = pSet->next_sibling("ElementSet"))
    {
        auto* pElementSet = KvCreateData<KvProjectData_Core_Raw_InputElementSet>();
        translator->m_apElementSets.push_back(pElementSet);
        if (const char* name = KvXmlAttributeText(pSet, "name"))
            pElementSet->m_strName = name;
        LoadElementSet(*pElementSet, *pSet);
        if (!sets.emplace(pElementSet->m_strName, pElementSet).second)
            KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE,
                        "More than one input element set with name '%s' registered for file '%s'",
                        pElementSet->m_strName.c_str(), m_strFileName.c_str());
    }
    for (const Node* pInput = pRoot->first_node("Input"); pInput; pInput = pInput->next_sibling("Input"))
    {
        auto* pCommand = KvCreateData<KvProjectData_Core_Raw_InputCommand>();
        translator->m_apCommands.push_back(pCommand);
        if (const char* name = KvXmlAttributeText(pInput, "name"))
            pCommand->m_strName = name;
        LoadCommand(*translator, *pCommand, *pInput, sets);
    }
    if (const Node* pController = pRoot->first_node("Controller"))
    {
        auto* pDescriptor = KvCreateData<KvProjectData_Core_Raw_InputControllerDescriptor>();
        translator->m_pControllerDescriptor = pDescriptor;
        for (const Node* pButton = pController->first_node("Button"); pButton;
             pButton = pButton->next_sibling("Button"))
        {
            pDescriptor->m_aFromButton.push_back(EnumOf(g_Converter_InputButton, *pButton, "name"));
            pDescriptor->m_aToButton.push_back(IndexOf(*pButton, "button_index"));
        }
        for (const Node* pAxis = pController->first_node("Axis"); pAxis; pAxis = pAxis->next_sibling("Axis"))
        {
            pDescriptor->m_aFromAnalog.push_back(EnumOf(g_Converter_InputAnalogControl, *pAxis, "name"));
            pDescriptor->m_aToAnalog.push_back(IndexOf(*pAxis, "axis_index"));
        }
    }
    return translator.Release();
}
