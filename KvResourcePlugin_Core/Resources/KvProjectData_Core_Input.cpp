#include "projectdata/KvProjectData_Core_Input.h"

#include "projectdata/KvSchema.h"

const KvEnumConverter<eInputElementType> g_Converter_InputElementTypeFormat(
    "eInputElementType", INPUT_ELEMENT_COUNT,
    {{INPUT_ELEMENT_BUTTON, "button"}, {INPUT_ELEMENT_KEY, "key"}, {INPUT_ELEMENT_ANALOG, "analog"}});

const KvEnumConverter<eInputButton> g_Converter_InputButton("eInputButton", BUTTON_COUNT,
                                                            {{BUTTON_A, "BUTTON_A"},
                                                             {BUTTON_B, "BUTTON_B"},
                                                             {BUTTON_X, "BUTTON_X"},
                                                             {BUTTON_Y, "BUTTON_Y"},
                                                             {BUTTON_LEFT_SHOULDER, "BUTTON_LEFT_SHOULDER"},
                                                             {BUTTON_LEFT_TRIGGER, "BUTTON_LEFT_TRIGGER"},
                                                             {BUTTON_RIGHT_SHOULDER, "BUTTON_RIGHT_SHOULDER"},
                                                             {BUTTON_RIGHT_TRIGGER, "BUTTON_RIGHT_TRIGGER"},
                                                             {BUTTON_LEFT_THUMB, "BUTTON_LEFT_THUMB"},
                                                             {BUTTON_RIGHT_THUMB, "BUTTON_RIGHT_THUMB"},
                                                             {BUTTON_START, "BUTTON_START"},
                                                             {BUTTON_BACK, "BUTTON_BACK"},
                                                             {BUTTON_DPAD_UP, "BUTTON_DPAD_UP"},
                                                             {BUTTON_DPAD_DOWN, "BUTTON_DPAD_DOWN"},
                                                             {BUTTON_DPAD_LEFT, "BUTTON_DPAD_LEFT"},
                                                             {BUTTON_DPAD_RIGHT, "BUTTON_DPAD_RIGHT"},
                                                             {BUTTON_LMB, "BUTTON_LMB"},
                                                             {BUTTON_RMB, "BUTTON_RMB"},
                                                             {BUTTON_WHEEL, "BUTTON_WHEEL"},
                                                             {BUTTON_MB4, "BUTTON_MB4"},
                                                             {BUTTON_ANY, "BUTTON_ANY"},
                                                             {BUTTON_NONE, "BUTTON_NONE"}});

const KvEnumConverter<eInputAnalogControl>
    g_Converter_InputAnalogControl("eInputAnalogControl", ANALOGCONTROL_COUNT,
                                   {{ANALOGCONTROL_LEFT_TRIGGER, "ANALOGCONTROL_LEFT_TRIGGER"},
                                    {ANALOGCONTROL_RIGHT_TRIGGER, "ANALOGCONTROL_RIGHT_TRIGGER"},
                                    {ANALOGCONTROL_LEFT_THUMB_X, "ANALOGCONTROL_LEFT_THUMB_X"},
                                    {ANALOGCONTROL_LEFT_THUMB_Y, "ANALOGCONTROL_LEFT_THUMB_Y"},
                                    {ANALOGCONTROL_RIGHT_THUMB_X, "ANALOGCONTROL_RIGHT_THUMB_X"},
                                    {ANALOGCONTROL_RIGHT_THUMB_Y, "ANALOGCONTROL_RIGHT_THUMB_Y"},
                                    {ANALOGCONTROL_MOUSE_X, "ANALOGCONTROL_MOUSE_X"},
                                    {ANALOGCONTROL_MOUSE_Y, "ANALOGCONTROL_MOUSE_Y"},
                                    {ANALOGCONTROL_MOUSE_WHEEL, "ANALOGCONTROL_MOUSE_WHEEL"},
                                    {ANALOGCONTROL_ABS_MOUSE_X, "ANALOGCONTROL_ABS_MOUSE_X"},
                                    {ANALOGCONTROL_ABS_MOUSE_Y, "ANALOGCONTROL_ABS_MOUSE_Y"},
                                    {ANALOGCONTROL_REL_MOUSE_X, "ANALOGCONTROL_REL_MOUSE_X"},
                                    {ANALOGCONTROL_REL_MOUSE_Y, "ANALOGCONTROL_REL_MOUSE_Y"}});

namespace
{
// Key names by value, 1 to 160.
constexpr const char* kKeyNames[] = {"escape",
                                     "1",
                                     "2",
                                     "3",
                                     "4",
                                     "5",
                                     "6",
                                     "7",
                                     "8",
                                     "9",
                                     "0",
                                     "minus",
                                     "equals",
                                     "back",
                                     "tab",
                                     "q",
                                     "w",
                                     "e",
                                     "r",
                                     "t",
                                     "y",
                                     "u",
                                     "i",
                                     "o",
                                     "p",
                                     "left bracket",
                                     "right bracket",
                                     "return",
                                     "left control",
                                     "a",
                                     "s",
                                     "d",
                                     "f",
                                     "g",
                                     "h",
                                     "j",
                                     "k",
                                     "l",
                                     ";",
                                     "'",
                                     "~",
                                     "left shift",
                                     "backslash",
                                     "z",
                                     "x",
                                     "c",
                                     "v",
                                     "b",
                                     "n",
                                     "m",
                                     "comma",
                                     "period",
                                     "slash",
                                     "right shift",
                                     "multiply",
                                     "left menu",
                                     "space",
                                     "capital",
                                     "f1",
                                     "f2",
                                     "f3",
                                     "f4",
                                     "f5",
                                     "f6",
                                     "f7",
                                     "f8",
                                     "f9",
                                     "f10",
                                     "numlock",
                                     "scroll",
                                     "numpad7",
                                     "numpad8",
                                     "numpad9",
                                     "subtract",
                                     "numpad4",
                                     "numpad5",
                                     "numpad6",
                                     "add",
                                     "numpad1",
                                     "numpad2",
                                     "numpad3",
                                     "numpad0",
                                     "decimal",
                                     "oem_102",
                                     "f11",
                                     "f12",
                                     "f13",
                                     "f14",
                                     "f15",
                                     "kana",
                                     "abnt_c1",
                                     "convert",
                                     "noconvert",
                                     "yen",
                                     "abnt_c2",
                                     "numpad equals",
                                     "prev track",
                                     "at",
                                     "colon",
                                     "underline",
                                     "kanji",
                                     "stop",
                                     "ax",
                                     "unlabeled",
                                     "next track",
                                     "numpad enter",
                                     "right control",
                                     "mute",
                                     "calculator",
                                     "play pause",
                                     "media stop",
                                     "volume down",
                                     "volume up",
                                     "web home",
                                     "numpad comma",
                                     "divide",
                                     "sysreq",
                                     "right menu",
                                     "pause",
                                     "home",
                                     "up",
                                     "prior",
                                     "left",
                                     "right",
                                     "end",
                                     "down",
                                     "next",
                                     "insert",
                                     "delete",
                                     "left win",
                                     "right win",
                                     "apps",
                                     "power",
                                     "sleep",
                                     "wake",
                                     "websearch",
                                     "webfavorites",
                                     "webrefresh",
                                     "webstop",
                                     "webforward",
                                     "webback",
                                     "mycomputer",
                                     "mymail",
                                     "media select",
                                     "backspace",
                                     "numpad star",
                                     "left alt",
                                     "capslock",
                                     "numpad minus",
                                     "numpad plus",
                                     "numpad period",
                                     "numpad slash",
                                     "right alt",
                                     "up arrow",
                                     "page up",
                                     "left arrow",
                                     "right arrow",
                                     "down arrow",
                                     "page down",
                                     "any key"};
static_assert(std::size(kKeyNames) == INPUT_KEY_ANY, "one name per key from 1 to 160");

std::vector<std::pair<tInputKey, const char*>> KeyTable()
{
    std::vector<std::pair<tInputKey, const char*>> table;
    for (uint32_t key = INPUT_KEY_ESCAPE; key <= INPUT_KEY_ANY; ++key)
        table.emplace_back(static_cast<tInputKey>(key), kKeyNames[key - 1]);
    return table;
}
} // namespace

const KvEnumConverter<tInputKey> g_Converter_InputKeys("tInputKey", INPUT_KEY_COUNT, KeyTable());

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_InputElement, ObjectConstructor)
using T = KvProjectData_Core_Raw_InputElement;
schema.Enum("m_eType", &T::m_eType, &g_Converter_InputElementTypeFormat);
schema.Member("m_bActive", &T::m_bActive);
schema.Member("m_fTriggerValue", &T::m_fTriggerValue);
schema.Enum("m_eButton", &T::m_eButton, &g_Converter_InputButton);
schema.Enum("m_eAnalogControl", &T::m_eAnalogControl, &g_Converter_InputAnalogControl);
schema.Enum("m_eKey", &T::m_eKey, &g_Converter_InputKeys);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_InputElementSet, ObjectConstructor)
using T = KvProjectData_Core_Raw_InputElementSet;
schema.Member("m_strName", &T::m_strName).With(new KvAttribute_DisplayNameFromMember("Input Element Set %s"));
schema.RecordArray("m_aElements", &T::m_aElements,
                   KvProjectData_Core_Raw_InputElement::GetReflectedDataType());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_InputTypematicRateInfo, ObjectConstructor)
using T = KvProjectData_Core_Raw_InputTypematicRateInfo;
schema.Member("m_fTypematicInitialDelay", &T::m_fTypematicInitialDelay);
schema.Member("m_fTypematicRepeatDelay", &T::m_fTypematicRepeatDelay);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_InputCommand, ObjectConstructor)
using T = KvProjectData_Core_Raw_InputCommand;
schema.Member("m_strName", &T::m_strName).With(new KvAttribute_DisplayNameFromMember("Input Command %s"));
schema.PointerArray("m_apElementSet", &T::m_apElementSet,
                    KvProjectData_Core_Raw_InputElementSet::GetReflectedDataType());
schema.Pointer("m_pTypematicInfo", &T::m_pTypematicInfo,
               KvProjectData_Core_Raw_InputTypematicRateInfo::GetReflectedDataType());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_InputControllerDescriptor, ObjectConstructor)
using T = KvProjectData_Core_Raw_InputControllerDescriptor;
schema.Array("m_aFromButton", &T::m_aFromButton);
schema.Array("m_aToButton", &T::m_aToButton);
schema.Array("m_aFromAnalog", &T::m_aFromAnalog);
schema.Array("m_aToAnalog", &T::m_aToAnalog);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_InputTranslator, ObjectConstructor)
using T = KvProjectData_Core_Raw_InputTranslator;
schema.IdentityName(&T::m_strName)
    .With(new KvAttribute_DisplayNameFromMember("Input Translator %s"))
    .With(new KvAttribute_SetFromResourceName());
schema.IdentityGuid().With(new KvAttribute_SetFromResourceName());
schema.IdentityLocalIndex();
schema.PointerArray("m_apCommands", &T::m_apCommands,
                    KvProjectData_Core_Raw_InputCommand::GetReflectedDataType());
schema.PointerArray("m_apTypematicInfo", &T::m_apTypematicInfo,
                    KvProjectData_Core_Raw_InputTypematicRateInfo::GetReflectedDataType());
schema.PointerArray("m_apElementSets", &T::m_apElementSets,
                    KvProjectData_Core_Raw_InputElementSet::GetReflectedDataType());
schema.Pointer("m_pControllerDescriptor", &T::m_pControllerDescriptor,
               KvProjectData_Core_Raw_InputControllerDescriptor::GetReflectedDataType());
KV_END_SCHEMA()
