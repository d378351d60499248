#include "particles/KvParticleSettings.h"

#include "particles/KvParticleEmitter.h"

#include <algorithm>

std::string KvParticleSettingName(std::string_view path, const char* attribute)
{
    std::string name(path);
    std::replace(name.begin(), name.end(), '/', '.');
    if (attribute)
        name += (name.empty() ? "" : ".") + std::string(attribute);
    return name;
}

const rapidxml::xml_node<>* KvParticleElementAt(const rapidxml::xml_node<>& owner, std::string_view path)
{
    const rapidxml::xml_node<>* pElement = &owner;
    while (pElement && !path.empty())
    {
        const std::string_view name = path.substr(0, path.find('/'));
        pElement = pElement->first_node(name.data(), name.size());
        path.remove_prefix(std::min(name.size() + 1, path.size()));
    }
    return pElement;
}

bool KvReadParticleElement(KvParticleRange& value, const rapidxml::xml_node<>& element, KvImportBudget&)
{
    KvParticleValues::ReadFloat(KvXmlAttributeText(&element, "average"), value.m_fAverage);
    KvParticleValues::ReadFloat(KvXmlAttributeText(&element, "variation"), value.m_fVariation);
    return true;
}

bool KvReadParticleElement(KvPositionCurve*& pValue, const rapidxml::xml_node<>& element,
                           KvImportBudget& budget)
{
    return KvReadCurve(pValue, element, budget);
}

bool KvReadParticleElement(KvCurve2D*& pValue, const rapidxml::xml_node<>& element, KvImportBudget& budget)
{
    return KvReadCurve(pValue, element, budget);
}

bool KvReadParticleElement(KvColorCurve*& pValue, const rapidxml::xml_node<>& element, KvImportBudget& budget)
{
    return KvReadCurve(pValue, element, budget);
}

bool KvReadParticleElement(KvParticleEmitter& value, const rapidxml::xml_node<>& element,
                           KvImportBudget& budget)
{
    return value.Read(element, budget);
}

bool KvReadParticleText(bool& value, const char* text, const tParticleRule&, KvImportBudget&)
{
    KvParticleValues::ReadFlag(text, value);
    return true;
}

bool KvReadParticleText(float& value, const char* text, const tParticleRule& rule, KvImportBudget&)
{
    bool bFlag = false;
    if (rule.m_eRead != eParticleRead::FACTOR)
        KvParticleValues::ReadFloat(text, value);
    else if (KvParticleValues::ReadFlag(text, bFlag))
        value = bFlag ? 1.0f : 0.0f;
    return true;
}

bool KvReadParticleText(int32_t& value, const char* text, const tParticleRule& rule, KvImportBudget&)
{
    if (rule.m_eRead != eParticleRead::NAME)
        KvParticleValues::ReadIntegers(text, {&value, 1});
    else if (!KvParticleValues::ReadName(text, rule.m_Names, value) && rule.m_OtherName)
        value = *rule.m_OtherName;
    return true;
}

bool KvReadParticleText(uint32_t& value, const char* text, const tParticleRule&, KvImportBudget&)
{
    KvParticleValues::ReadMasks(text, {&value, 1});
    return true;
}

bool KvReadParticleText(std::string& value, const char* text, const tParticleRule& rule,
                        KvImportBudget& budget)
{
    std::string read = rule.m_eRead == eParticleRead::PATH ? KvParticleValues::NormalisePath(text) : text;
    if (!budget.ChargeText(read.size()))
        return false;
    value = std::move(read);
    return true;
}

bool KvReadParticleText(KvBitmap*& pValue, const char* text, const tParticleRule&, KvImportBudget& budget)
{
    std::string fileName = KvParticleValues::NormalisePath(text);
    if (!budget.ChargeObject<KvBitmap>() || !budget.ChargeText(fileName.size()))
        return false;
    delete pValue;
    pValue = new KvBitmap(std::move(fileName));
    return true;
}
