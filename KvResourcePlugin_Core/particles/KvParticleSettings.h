#pragma once

#include "Toolbox/KvToolboxXML.h"
#include "importers/KvImportBudget.h"
#include "particles/KvBitmap.h"
#include "particles/KvParticleCurves.h"
#include "particles/KvParticleRecords.h"
#include "particles/KvParticleValues.h"
#include "projectdata/KvSchema.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

class KvParticleEmitter;

// The settings of a group descriptor or an emitter, one table row each: where the file gives it
// and which member holds it. The table declares the owner's reflected schema, each member named by
// its element path and attribute joined by "." ("group.texture.usedframes"), so what the editor
// shows reads like the file, and reads the file into the same members.

// How a setting's text is read, beyond what its member's type says.
enum class eParticleRead : uint8_t
{
    // The form of the member's type: flag, float, "%i" integer, "%x" mask, text, number list.
    BY_TYPE,
    // A text member naming a file.
    PATH,
    // An integer member given by one of the rule's names.
    NAME,
    // A float member given by a flag: 1.0 when set, 0.0 when cleared.
    FACTOR,
    // Declared from the table; the owner reads it by a rule of its own.
    BY_HAND,
};

struct tParticleRule
{
    eParticleRead m_eRead = eParticleRead::BY_TYPE;
    std::span<const KvParticleValues::tName> m_Names = {};
    // The value of a name not among m_Names; such a name leaves the value when unset.
    std::optional<int32_t> m_OtherName = std::nullopt;
};

// The members settings are held in. Ranges, curves and the emitter are elements of their own;
// the others are attributes.
template <class C>
using tParticleMember =
    std::variant<bool C::*, float C::*, int32_t C::*, uint32_t C::*, std::string C::*, KvVector2 C::*,
                 KvVector3 C::*, KvVector4 C::*, KvColor C::*, KvParticleInt2 C::*, KvParticleBox C::*,
                 KvBitmap * C::*, KvParticleRange C::*, KvPositionCurve * C::*, KvCurve2D * C::*,
                 KvColorCurve * C::*, KvParticleEmitter C::*>;

template <class C>
struct tParticleSetting
{
    // Element path below the owner's element, "/" between names; empty for the owner itself.
    const char* m_szPath;
    // Null for a setting that is the element at the path.
    const char* m_szAttribute;
    tParticleMember<C> m_Member;
    tParticleRule m_Rule = {};
};

// "group/texture" and "usedframes" give "group.texture.usedframes".
std::string KvParticleSettingName(std::string_view path, const char* attribute);
// The element at a path below the owner's element, or null.
const rapidxml::xml_node<>* KvParticleElementAt(const rapidxml::xml_node<>& owner, std::string_view path);

// Settings that are elements of their own; false once the budget is spent.
bool KvReadParticleElement(KvParticleRange& value, const rapidxml::xml_node<>& element,
                           KvImportBudget& budget);
bool KvReadParticleElement(KvPositionCurve*& pValue, const rapidxml::xml_node<>& element,
                           KvImportBudget& budget);
bool KvReadParticleElement(KvCurve2D*& pValue, const rapidxml::xml_node<>& element, KvImportBudget& budget);
bool KvReadParticleElement(KvColorCurve*& pValue, const rapidxml::xml_node<>& element,
                           KvImportBudget& budget);
bool KvReadParticleElement(KvParticleEmitter& value, const rapidxml::xml_node<>& element,
                           KvImportBudget& budget);

// Settings that are attribute texts (never null); false once the budget is spent.
bool KvReadParticleText(bool& value, const char* text, const tParticleRule& rule, KvImportBudget& budget);
bool KvReadParticleText(float& value, const char* text, const tParticleRule& rule, KvImportBudget& budget);
bool KvReadParticleText(int32_t& value, const char* text, const tParticleRule& rule, KvImportBudget& budget);
bool KvReadParticleText(uint32_t& value, const char* text, const tParticleRule& rule, KvImportBudget& budget);
bool KvReadParticleText(std::string& value, const char* text, const tParticleRule& rule,
                        KvImportBudget& budget);
bool KvReadParticleText(KvBitmap*& pValue, const char* text, const tParticleRule& rule,
                        KvImportBudget& budget);
// Number lists: vectors, two integers, a box and a colour.
template <class T>
bool KvReadParticleText(T& value, const char* text, const tParticleRule&, KvImportBudget&)
{
    KvParticleValues::ReadList(text, value);
    return true;
}

template <class C>
void KvDeclareParticleSettings(KvSchema<C>& schema, std::span<const tParticleSetting<C>> settings)
{
    for (const tParticleSetting<C>& setting : settings)
    {
        const std::string name = KvParticleSettingName(setting.m_szPath, setting.m_szAttribute);
        std::visit(
            [&]<class T>(T C::*member)
            {
                if constexpr (std::is_pointer_v<T>)
                    schema.Pointer(name.c_str(), member, std::remove_pointer_t<T>::GetReflectedDataType());
                else if constexpr (requires { T::GetReflectedDataType(); })
                    schema.Record(name.c_str(), member, T::GetReflectedDataType());
                else
                    schema.Member(name.c_str(), member);
            },
            setting.m_Member);
    }
}

// Reads every setting the element's file gives, except those read by hand; false once the
// budget is spent.
template <class C>
bool KvReadParticleSettings(C& owner, const rapidxml::xml_node<>& element,
                            std::span<const tParticleSetting<C>> settings, KvImportBudget& budget)
{
    // Rows of one element follow each other, so each element is looked up once.
    std::string_view elementPath;
    const rapidxml::xml_node<>* pElement = &element;
    for (const tParticleSetting<C>& setting : settings)
    {
        if (setting.m_Rule.m_eRead == eParticleRead::BY_HAND)
            continue;
        if (setting.m_szPath != elementPath)
        {
            elementPath = setting.m_szPath;
            pElement = KvParticleElementAt(element, elementPath);
        }
        if (!pElement)
            continue;
        const bool bRead = std::visit(
            [&]<class T>(T C::*member)
            {
                T& value = owner.*member;
                if constexpr (requires { KvReadParticleElement(value, *pElement, budget); })
                    return KvReadParticleElement(value, *pElement, budget);
                else
                {
                    const char* text = KvXmlAttributeText(pElement, setting.m_szAttribute);
                    return !text || KvReadParticleText(value, text, setting.m_Rule, budget);
                }
            },
            setting.m_Member);
        if (!bRead)
            return false;
    }
    return true;
}
