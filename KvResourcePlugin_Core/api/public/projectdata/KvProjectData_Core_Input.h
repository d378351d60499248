#pragma once

#include "Foundation/KvEnumConverter.h"
#include "KvResourcePlugin_CoreExport.h"
#include "projectdata/KvXRefObject.h"

#include <cstdint>
#include <string>
#include <vector>

enum eInputElementType : uint32_t
{
    INPUT_ELEMENT_BUTTON,
    INPUT_ELEMENT_KEY,
    INPUT_ELEMENT_ANALOG,
    INPUT_ELEMENT_COUNT
};

enum eInputButton : uint32_t
{
    BUTTON_A,
    BUTTON_B,
    BUTTON_X,
    BUTTON_Y,
    BUTTON_LEFT_SHOULDER,
    BUTTON_LEFT_TRIGGER,
    BUTTON_RIGHT_SHOULDER,
    BUTTON_RIGHT_TRIGGER,
    BUTTON_LEFT_THUMB,
    BUTTON_RIGHT_THUMB,
    BUTTON_START,
    BUTTON_BACK,
    BUTTON_DPAD_UP,
    BUTTON_DPAD_DOWN,
    BUTTON_DPAD_LEFT,
    BUTTON_DPAD_RIGHT,
    BUTTON_LMB,
    BUTTON_RMB,
    BUTTON_WHEEL,
    BUTTON_MB4,
    BUTTON_ANY,
    BUTTON_NONE,
    BUTTON_COUNT
};

enum eInputAnalogControl : uint32_t
{
    ANALOGCONTROL_LEFT_TRIGGER,
    ANALOGCONTROL_RIGHT_TRIGGER,
    ANALOGCONTROL_LEFT_THUMB_X,
    ANALOGCONTROL_LEFT_THUMB_Y,
    ANALOGCONTROL_RIGHT_THUMB_X,
    ANALOGCONTROL_RIGHT_THUMB_Y,
    ANALOGCONTROL_MOUSE_X,
    ANALOGCONTROL_MOUSE_Y,
    ANALOGCONTROL_MOUSE_WHEEL,
    ANALOGCONTROL_ABS_MOUSE_X,
    ANALOGCONTROL_ABS_MOUSE_Y,
    ANALOGCONTROL_REL_MOUSE_X,
    ANALOGCONTROL_REL_MOUSE_Y,
    ANALOGCONTROL_COUNT
};

// Keyboard keys 1 ("escape") to 160 ("any key"); 0 has no name.
enum tInputKey : uint32_t
{
    INPUT_KEY_NONE = 0,
    INPUT_KEY_ESCAPE = 1,
    INPUT_KEY_ANY = 160,
    INPUT_KEY_COUNT = 161
};

KV_PLUGIN_CORE_API extern const KvEnumConverter<eInputElementType> g_Converter_InputElementTypeFormat;
KV_PLUGIN_CORE_API extern const KvEnumConverter<eInputButton> g_Converter_InputButton;
KV_PLUGIN_CORE_API extern const KvEnumConverter<eInputAnalogControl> g_Converter_InputAnalogControl;
KV_PLUGIN_CORE_API extern const KvEnumConverter<tInputKey> g_Converter_InputKeys;

// One physical input; m_eType says which of the three enumerations applies.
class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_InputElement
{
public:
    eInputElementType m_eType = INPUT_ELEMENT_BUTTON;
    bool m_bActive = false;
    float m_fTriggerValue = 0.0f;
    eInputButton m_eButton = BUTTON_A;
    eInputAnalogControl m_eAnalogControl = ANALOGCONTROL_LEFT_TRIGGER;
    tInputKey m_eKey = INPUT_KEY_NONE;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_InputElementSet
{
public:
    std::string m_strName;
    std::vector<KvProjectData_Core_Raw_InputElement> m_aElements;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_InputTypematicRateInfo
{
public:
    float m_fTypematicInitialDelay = 0.0f;
    float m_fTypematicRepeatDelay = 0.0f;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_InputCommand
{
public:
    std::string m_strName;
    std::vector<KvProjectData_Core_Raw_InputElementSet*> m_apElementSet;
    KvProjectData_Core_Raw_InputTypematicRateInfo* m_pTypematicInfo = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

// Pairs at equal indices remap a button or analog control to another.
class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_InputControllerDescriptor
{
public:
    std::vector<int32_t> m_aFromButton;
    std::vector<int32_t> m_aToButton;
    std::vector<int32_t> m_aFromAnalog;
    std::vector<int32_t> m_aToAnalog;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_InputTranslator
    : public KvXRefObject<KvProjectData_Core_Raw_InputTranslator>
{
public:
    std::string m_strName;
    std::vector<KvProjectData_Core_Raw_InputCommand*> m_apCommands;
    std::vector<KvProjectData_Core_Raw_InputTypematicRateInfo*> m_apTypematicInfo;
    std::vector<KvProjectData_Core_Raw_InputElementSet*> m_apElementSets;
    KvProjectData_Core_Raw_InputControllerDescriptor* m_pControllerDescriptor = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};
