#pragma once

#include "Foundation/KvEnumConverter.h"
#include "KvResourcePlugin_CoreExport.h"
#include "projectdata/KvXRefObject.h"

#include <cstdint>
#include <string>
#include <vector>

enum tLocale : uint32_t
{
    LOCALE_NONE,
    LOCALE_EN_US,
    LOCALE_FR_FR,
    LOCALE_IT_IT,
    LOCALE_DE_DE,
    LOCALE_ES_ES,
    LOCALE_PL_PL,
    LOCALE_RU_RU,
    LOCALE_JA_JA,
    LOCALE_COUNT
};

enum tRegion : uint32_t
{
    REGION_NONE,
    REGION_NORTH_AMERICA,
    REGION_EUROPE,
    REGION_ASIA,
    REGION_REST_OF_WORLD,
    REGION_COUNT
};

// 0 "COUNTRY_UNKNOWN" to 59 "COUNTRY_UNITED_STATES", in the table's order.
enum tCountry : uint32_t
{
    COUNTRY_UNKNOWN = 0,
    COUNTRY_UNITED_STATES = 59,
    COUNTRY_COUNT = 60
};

KV_PLUGIN_CORE_API extern const KvEnumConverter<tLocale> g_Converter_Locale;
KV_PLUGIN_CORE_API extern const KvEnumConverter<tRegion> g_Converter_Region;
KV_PLUGIN_CORE_API extern const KvEnumConverter<tCountry> g_Converter_Country;

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_i18nStringTable_Entry
{
public:
    std::string m_strStringId;
    std::string m_strLocalizedString;

    static const KvReflectedDataType* GetReflectedDataType();
};

// The strings of one locale.
class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_i18nStringTable
    : public KvXRefObject<KvProjectData_Core_Raw_i18nStringTable>
{
public:
    std::string m_strName;
    tLocale m_eLocale = LOCALE_NONE;
    std::vector<KvProjectData_Core_Raw_i18nStringTable_Entry*> m_apEntries;

    static const KvReflectedDataType* GetReflectedDataType();
};
