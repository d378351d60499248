#include "TypeManager/KvTypeInfo.h"
#include "projectdata/KvProjectData_Core_Animation.h"
#include "projectdata/KvProjectData_Core_Audio.h"
#include "projectdata/KvProjectData_Core_RenderPipeline.h"
#include "projectdata/KvSchema.h"
#include "support/KvActorProject.h"
#include "support/KvTestData.h"
#include "support/KvTestReports.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
using Event = KvProjectData_Core_Raw_AnimationEvent;
using Entry = KvProjectData_Core_Raw_AudioSoundEntry;
using Group = KvProjectData_Core_Raw_AudioVolumeGroup;
using Pin = KvProjectData_Core_RenderNodePin;

// The display name of a sound entry, asked of another type's delegate.
template <class T>
void NameASoundEntryThrough()
{
    std::string name;
    Entry entry;
    T::GetDisplayName(name, Entry::GetReflectedDataType(), &entry);
}

void ParentCircularVolumeGroups()
{
    Group* pMusic = NewNamed<Group>("music");
    pMusic->m_pParentGroup = NewData<Group>();
    pMusic->m_pParentGroup->m_pParentGroup = pMusic;
    pMusic->IsAffectedByChangeIn(nullptr);
}

// The call of a row of core/fatal_errors.json; the member's report names the caller's site.
void Call(const std::string& name)
{
    if (name == "extract without an actor")
        KvNativeAction_ActorPrefab_Extract(nullptr, nullptr);
    else if (name == "extract of an actor without a prefab")
        KvNativeAction_ActorPrefab_Extract(nullptr, ActorProject().AddRoot("plain"));
    else if (name == "extract made by the type manager")
        KvNativeAction_ActorPrefab_Extract::GetType()->CreateInstance();
    else if (name == "export without a prefab")
        KvNativeAction_ActorPrefab_Export(nullptr);
    else if (name == "export made by the type manager")
        KvNativeAction_ActorPrefab_Export::GetType()->CreateInstance();
    else if (name == "mob as prefab instance without an actor")
        KvNativeAction_ActorAsPrefabInstance(nullptr, nullptr, nullptr, true);
    else if (name == "mob as prefab instance made by the type manager")
        KvNativeAction_ActorAsPrefabInstance::GetType()->CreateInstance();
    else if (name == "expected member missing")
        KvFindExpectedMember(KvDeclareForward("NameOnlyForPrefabActions"), "m_apActors",
                             {"actions\\Somewhere", "Somewhere::Do", 7});
    else if (name == "render pin without a payload")
        Pin(ContextFor<Pin>(nullptr, "Texture"));
    else if (name == "animation event without a name")
        Event(nullptr, 1.0f);
    else if (name == "integer animation event without a name")
        Event(nullptr, 1.0f, 3);
    else if (name == "float animation event without a name")
        Event(nullptr, 1.0f, 3.0f);
    else if (name == "text animation event without a name")
        Event(nullptr, 1.0f, "x");
    else if (name == "text animation event without its text")
        Event("name", 1.0f, static_cast<const char*>(nullptr));
    else if (name == "circular volume groups")
        ParentCircularVolumeGroups();
    else if (name == "variation name of a sound entry")
        NameASoundEntryThrough<KvProjectData_Core_Raw_AudioSoundVariation>();
    else if (name == "entry reference name of a sound entry")
        NameASoundEntryThrough<KvProjectData_Core_Raw_AudioSoundEntryRef>();
    else
        ADD_FAILURE() << "no call is named " << name;
}
} // namespace

// What the plug-in refuses through the fatal routine; rows: the call, then the report's file,
// function, line and message.
TEST(PluginFatalErrors, EachCallEndsTheProcessWithItsReport)
{
    for (const auto& row : TestDataJson("core/fatal_errors.json"))
    {
        SCOPED_TRACE(row[0].get<std::string>());
        EXPECT_FATAL(Call(row[0].get<std::string>()), row[1].get<std::string>(), row[2].get<std::string>(),
                     row[3].get<int>(), row[4].get<std::string>());
    }
}
