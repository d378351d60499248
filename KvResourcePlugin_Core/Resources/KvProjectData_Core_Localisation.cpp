#include "projectdata/KvProjectData_Core_Localisation.h"

#include "projectdata/KvSchema.h"

const KvEnumConverter<tLocale> g_Converter_Locale("tLocale", LOCALE_COUNT,
                                                  {{LOCALE_EN_US, "en_US"},
                                                   {LOCALE_FR_FR, "fr_FR"},
                                                   {LOCALE_IT_IT, "it_IT"},
                                                   {LOCALE_DE_DE, "de_DE"},
                                                   {LOCALE_ES_ES, "es_ES"},
                                                   {LOCALE_PL_PL, "pl_PL"},
                                                   {LOCALE_RU_RU, "ru_RU"},
                                                   {LOCALE_JA_JA, "ja_JA"}});

const KvEnumConverter<tRegion> g_Converter_Region("tRegion", REGION_COUNT,
                                                  {{REGION_NORTH_AMERICA, "REGION_NORTH_AMERICA"},
                                                   {REGION_EUROPE, "REGION_EUROPE"},
                                                   {REGION_ASIA, "REGION_ASIA"},
                                                   {REGION_REST_OF_WORLD, "REGION_REST_OF_WORLD"}});

namespace
{
// Country names by value, 0 to 59.
constexpr const char* kCountryNames[] = {
    "COUNTRY_UNKNOWN",      "COUNTRY_ARGENTINA",      "COUNTRY_AUSTRIA",
    "COUNTRY_AUSTRALIA",    "COUNTRY_BELGIUM",        "COUNTRY_BULGARIA",
    "COUNTRY_BAHRAIN",      "COUNTRY_BRAZIL",         "COUNTRY_CANADA",
    "COUNTRY_CHILE",        "COUNTRY_COLOMBIA",       "COUNTRY_CROATIA",
    "COUNTRY_CYPRUS",       "COUNTRY_CZECH_REPUBLIC", "COUNTRY_DENMARK",
    "COUNTRY_FINLAND",      "COUNTRY_FRANCE",         "COUNTRY_GERMANY",
    "COUNTRY_GREECE",       "COUNTRY_HONG_KONG",      "COUNTRY_HUNGARY",
    "COUNTRY_INDONESIA",    "COUNTRY_IRELAND",        "COUNTRY_ISRAEL",
    "COUNTRY_INDIA",        "COUNTRY_ICELAND",        "COUNTRY_ITALY",
    "COUNTRY_JAPAN",        "COUNTRY_KOREA",          "COUNTRY_KUWAIT",
    "COUNTRY_LEBANON",      "COUNTRY_LUXEMBOURG",     "COUNTRY_MALTA",
    "COUNTRY_MEXICO",       "COUNTRY_MALAYSIA",       "COUNTRY_NETHERLANDS",
    "COUNTRY_NORWAY",       "COUNTRY_NEW_ZEALAND",    "COUNTRY_OMAN",
    "COUNTRY_PERU",         "COUNTRY_POLAND",         "COUNTRY_PORTUGAL",
    "COUNTRY_QATAR",        "COUNTRY_ROMANIA",        "COUNTRY_RUSSIA",
    "COUNTRY_SAUDI_ARABIA", "COUNTRY_SINGAPORE",      "COUNTRY_SLOVENIA",
    "COUNTRY_SLOVAKIA",     "COUNTRY_SOUTH_AFRICA",   "COUNTRY_SPAIN",
    "COUNTRY_SWEDEN",       "COUNTRY_SWITZERLAND",    "COUNTRY_THAILAND",
    "COUNTRY_TURKEY",       "COUNTRY_TAIWAN",         "COUNTRY_UAE",
    "COUNTRY_UK",           "COUNTRY_UKRAINE",        "COUNTRY_UNITED_STATES"};
static_assert(std::size(kCountryNames) == COUNTRY_COUNT, "one name per country");

std::vector<std::pair<tCountry, const char*>> CountryTable()
{
    std::vector<std::pair<tCountry, const char*>> table;
    for (uint32_t country = 0; country < COUNTRY_COUNT; ++country)
        table.emplace_back(static_cast<tCountry>(country), kCountryNames[country]);
    return table;
}
} // namespace

const KvEnumConverter<tCountry> g_Converter_Country("tCountry", COUNTRY_COUNT, CountryTable());

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_i18nStringTable_Entry, ObjectConstructor)
using T = KvProjectData_Core_Raw_i18nStringTable_Entry;
schema.TypeAttribute(new KvAttribute_ReadOnly()).TypeAttribute(new KvAttribute_ReadOnly());
schema.Member("m_strStringId", &T::m_strStringId);
schema.Member("m_strLocalizedString", &T::m_strLocalizedString);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_i18nStringTable, ObjectConstructor)
using T = KvProjectData_Core_Raw_i18nStringTable;
schema.TypeAttribute(new KvAttribute_ReadOnly()).TypeAttribute(new KvAttribute_ReadOnly());
schema.IdentityName(&T::m_strName);
schema.IdentityGuid();
schema.IdentityLocalIndex();
schema.Enum("m_eLocale", &T::m_eLocale, &g_Converter_Locale);
schema.PointerArray("m_apEntries", &T::m_apEntries,
                    KvProjectData_Core_Raw_i18nStringTable_Entry::GetReflectedDataType());
KV_END_SCHEMA()
