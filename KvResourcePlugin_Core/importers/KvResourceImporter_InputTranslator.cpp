#include "importers/KvResourceImporter_InputTranslator.h"

#include "Foundation/KvReport.h"
#include "KvResourcePlugin_Core_Resources.h"
#include "Toolbox/KvToolboxXML.h"
#include "importers/KvImportBudget.h"
#include "importers/KvImporterSupport.h"
#include "importers/KvXmlNumbers.h"
#include "projectdata/KvProjectData_Core_Input.h"

#include <cstdlib>
#include <cstring>
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

// The attributes of an Element, read in one walk over each.
enum eElementAttribute
{
    NAME,
    TYPE,
    ACTIVE,
    TRIGGER_VALUE,
    CONTROL,
    BUTTON,
};
constexpr std::array<std::string_view, 6> kElementAttributes = {"name",          "type",    "active",
                                                                "trigger_value", "control", "button"};

// Gives a name the text when there is one, charging the copy; false once the budget is spent.
bool Rename(std::string& name, const char* text, KvImportBudget& budget)
{
    if (!text)
        return true;
    if (!budget.ChargeText(std::strlen(text)))
        return false;
    name = text;
    return true;
}
} // namespace

const KvResourceDescriptor* KvResourceImporter_InputTranslator::GetResourceType() const
{
    return KvResourcePlugin_Core_InputTranslator::GetStaticDescriptor();
}

// The set takes the last of these texts as its name, as the format has always had it.
bool KvResourceImporter_InputTranslator::LoadElementSet(KvProjectData_Core_Raw_InputElementSet& set,
                                                        const Node& element, KvImportBudget& budget) const
{
    if (!Rename(set.m_strName, KvXmlAttributeText(&element, "typematic"), budget))
        return false;
    for (const Node* pElement = element.first_node("Element"); pElement;
         pElement = pElement->next_sibling("Element"))
    {
        KvProjectData_Core_Raw_InputElement input;
        const KvXmlAttributes attributes(pElement, kElementAttributes);
        if (!Rename(set.m_strName, attributes[NAME], budget) ||
            !budget.ChargeElement<KvProjectData_Core_Raw_InputElement>())
            return false;
        const std::string_view type = attributes[TYPE] ? attributes[TYPE] : "";
        input.m_bActive = attributes[ACTIVE] ? IsTrue(attributes[ACTIVE]) : true;
        if (type == "analog")
        {
            input.m_eType = INPUT_ELEMENT_ANALOG;
            input.m_fTriggerValue = KvXmlNumbers::ReadFloat(attributes[TRIGGER_VALUE]);
            input.m_eAnalogControl = g_Converter_InputAnalogControl.FromString(attributes[CONTROL]);
        }
        else if (type == "button")
        {
            input.m_eType = INPUT_ELEMENT_BUTTON;
            input.m_eButton = g_Converter_InputButton.FromString(attributes[BUTTON]);
        }
        else if (type == "key")
        {
            input.m_eType = INPUT_ELEMENT_KEY;
            input.m_eKey = g_Converter_InputKeys.FromString(attributes[BUTTON]);
        }
        else
            KvFatalReport(KV_REPORT_SITE, "Invalid input element type '%s' in file '%s'", type.data(),
                          m_strFileName.c_str());
        set.m_aElements.push_back(input);
    }
    return true;
}

bool KvResourceImporter_InputTranslator::LoadCommand(KvProjectData_Core_Raw_InputTranslator& translator,
                                                     KvProjectData_Core_Raw_InputCommand& command,
                                                     const Node& input, const SetMap& sets,
                                                     KvImportBudget& budget) const
{
    if (IsTrue(KvXmlAttributeText(&input, "typematic")))
    {
        if (!budget.ChargeObject<KvProjectData_Core_Raw_InputTypematicRateInfo>() ||
            !budget.ChargeElement<KvProjectData_Core_Raw_InputTypematicRateInfo*>())
            return false;
        auto* pTypematic = KvCreateData<KvProjectData_Core_Raw_InputTypematicRateInfo>();
        pTypematic->m_fTypematicInitialDelay = 0.5f;
        pTypematic->m_fTypematicRepeatDelay = 0.1f;
        translator.m_apTypematicInfo.push_back(pTypematic);
        command.m_pTypematicInfo = pTypematic;
    }
    for (const Node* pSet = input.first_node("Set"); pSet; pSet = pSet->next_sibling("Set"))
    {
        if (!budget.ChargeElement<KvProjectData_Core_Raw_InputElementSet*>())
            return false;
        const char* nameText = KvXmlAttributeText(pSet, "name");
        const std::string_view name = nameText ? nameText : "";
        const auto found = sets.find(name);
        if (found == sets.end())
            KvFatalReport(KV_REPORT_SITE, "Failed to find element set '%s' in '%s'", name.data(),
                          m_strFileName.c_str());
        command.m_apElementSet.push_back(found->second);
    }
    return true;
}

void* KvResourceImporter_InputTranslator::ConvertToRaw(void*&, KvResource*, KvIOStream* pSource, void*)
{
    m_strFileName = pSource->GetName();
    KvImportBudget budget(KvRemainingBytes(*pSource));
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
    if (!budget.Charge(document.GetParsedBytes()) || !LoadTranslator(*translator, *pRoot, budget))
    {
        budget.ReportSpent(KV_REPORT_SITE, m_strFileName.c_str());
        return nullptr;
    }
    return translator.Release();
}

bool KvResourceImporter_InputTranslator::LoadTranslator(KvProjectData_Core_Raw_InputTranslator& translator,
                                                        const Node& root, KvImportBudget& budget) const
{
    SetMap sets;
    for (const Node* pSet = root.first_node("ElementSet"); pSet; pSet = pSet->next_sibling("ElementSet"))
    {
        if (!budget.ChargeObject<KvProjectData_Core_Raw_InputElementSet>() ||
            !budget.ChargeElement<KvProjectData_Core_Raw_InputElementSet*>())
            return false;
        auto* pElementSet = KvCreateData<KvProjectData_Core_Raw_InputElementSet>();
        translator.m_apElementSets.push_back(pElementSet);
        if (!Rename(pElementSet->m_strName, KvXmlAttributeText(pSet, "name"), budget) ||
            !LoadElementSet(*pElementSet, *pSet, budget) || !budget.ChargeMapEntry<SetMap>() ||
            !budget.ChargeText(pElementSet->m_strName.size()))
            return false;
        if (!sets.emplace(pElementSet->m_strName, pElementSet).second)
            KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE,
                        "More than one input element set with name '%s' registered for file '%s'",
                        pElementSet->m_strName.c_str(), m_strFileName.c_str());
    }
    for (const Node* pInput = root.first_node("Input"); pInput; pInput = pInput->next_sibling("Input"))
    {
        if (!budget.ChargeObject<KvProjectData_Core_Raw_InputCommand>() ||
            !budget.ChargeElement<KvProjectData_Core_Raw_InputCommand*>())
            return false;
        auto* pCommand = KvCreateData<KvProjectData_Core_Raw_InputCommand>();
        translator.m_apCommands.push_back(pCommand);
        if (!Rename(pCommand->m_strName, KvXmlAttributeText(pInput, "name"), budget) ||
            !LoadCommand(translator, *pCommand, *pInput, sets, budget))
            return false;
    }
    if (const Node* pController = root.first_node("Controller"))
    {
        auto* pDescriptor = KvCreateData<KvProjectData_Core_Raw_InputControllerDescriptor>();
        translator.m_pControllerDescriptor = pDescriptor;
        for (const Node* pButton = pController->first_node("Button"); pButton;
             pButton = pButton->next_sibling("Button"))
        {
            // One element in each of the two arrays.
            if (!budget.ChargeElement<int32_t>() || !budget.ChargeElement<int32_t>())
                return false;
            pDescriptor->m_aFromButton.push_back(EnumOf(g_Converter_InputButton, *pButton, "name"));
            pDescriptor->m_aToButton.push_back(IndexOf(*pButton, "button_index"));
        }
        for (const Node* pAxis = pController->first_node("Axis"); pAxis; pAxis = pAxis->next_sibling("Axis"))
        {
            if (!budget.ChargeElement<int32_t>() || !budget.ChargeElement<int32_t>())
                return false;
            pDescriptor->m_aFromAnalog.push_back(EnumOf(g_Converter_InputAnalogControl, *pAxis, "name"));
            pDescriptor->m_aToAnalog.push_back(IndexOf(*pAxis, "axis_index"));
        }
    }
    return true;
}
