#pragma once

#include "TypeManager/KvTypedObject.h"
#include "editor/KvEditorDebugDrawable.h"
#include "editor/KvEditorPawnCallbackHandler.h"
#include "math/KvVector.h"

#include <string>

// The game's run-time classes the editor creates "By Type". Each base class is abstract; the
// derived classes are concrete, reflected under their class names, and draw their own debug
// view (the drawable interface comes first so the object's address is the interface's).

// The drawable interface's destructor may not throw, so neither may theirs: a fatal error in
// it ends the process even where the host asked for it to be raised.
#define KV_DECLARE_GAME_BASE(Class)                                                                          \
    class Class : public KvEditorDebugDrawable, public KvTypedObject                                         \
    {                                                                                                        \
        KV_DECLARE_TYPED_CLASS(Class, KvTypedObject)                                                         \
                                                                                                             \
    public:                                                                                                  \
        ~Class() noexcept override = default;                                                                \
    }

KV_DECLARE_GAME_BASE(KvActorComponentCode);
KV_DECLARE_GAME_BASE(KvActorCode);
KV_DECLARE_GAME_BASE(KvActorTrigger);
KV_DECLARE_GAME_BASE(KvWorldCode);
KV_DECLARE_GAME_BASE(KvRenderNodeHandler);
KV_DECLARE_GAME_BASE(KvAnimStateCode);
KV_DECLARE_GAME_BASE(KvAnimTask);
KV_DECLARE_GAME_BASE(KvGameState);

#undef KV_DECLARE_GAME_BASE

// Draws a mesh's bounds.
class KvMeshComponent : public KvActorComponentCode
{
    KV_DECLARE_TYPED_CLASS(KvMeshComponent, KvActorComponentCode)

public:
    void OnDrawDebug(KvEditorPawn* pPawn, uint32_t flags) const override;

    std::string m_strMeshName;
    float m_fLodBias = 0.0f;
};

// Where players appear.
class KvSpawnPointCode : public KvActorCode
{
    KV_DECLARE_TYPED_CLASS(KvSpawnPointCode, KvActorCode)

public:
    void OnDrawDebug(KvEditorPawn* pPawn, uint32_t flags) const override;

    uint32_t m_ulTeam = 0;
};

// Fires when something enters its box.
class KvBoxTrigger : public KvActorTrigger
{
    KV_DECLARE_TYPED_CLASS(KvBoxTrigger, KvActorTrigger)

public:
    void OnDrawDebug(KvEditorPawn* pPawn, uint32_t flags) const override;

    KvVector3 m_vHalfExtents{1.0f, 1.0f, 1.0f};
    bool m_bOnce = false;
};

// The world's weather.
class KvWeatherCode : public KvWorldCode
{
    KV_DECLARE_TYPED_CLASS(KvWeatherCode, KvWorldCode)

public:
    void OnDrawDebug(KvEditorPawn* pPawn, uint32_t flags) const override;

    float m_fRainIntensity = 0.0f;
};

// A bloom pass of the renderer, with "KvRenderNodeHandler_Bloom_Input" and "_Output" layouts.
class KvRenderNodeHandler_Bloom : public KvRenderNodeHandler
{
    KV_DECLARE_TYPED_CLASS(KvRenderNodeHandler_Bloom, KvRenderNodeHandler)

public:
    void OnDrawDebug(KvEditorPawn*, uint32_t) const override {}

    float m_fThreshold = 1.0f;
};

// Faces the character towards its target while the state runs.
class KvAnimStateCode_LookAt : public KvAnimStateCode
{
    KV_DECLARE_TYPED_CLASS(KvAnimStateCode_LookAt, KvAnimStateCode)

public:
    void OnDrawDebug(KvEditorPawn*, uint32_t) const override {}

    std::string m_strTargetBone;
};

// Plays a footstep sound on each foot plant.
class KvAnimTask_Footsteps : public KvAnimTask
{
    KV_DECLARE_TYPED_CLASS(KvAnimTask_Footsteps, KvAnimTask)

public:
    void OnDrawDebug(KvEditorPawn*, uint32_t) const override {}

    std::string m_strSoundEntry;
};

// The main menu of the game.
class KvGameState_MainMenu : public KvGameState
{
    KV_DECLARE_TYPED_CLASS(KvGameState_MainMenu, KvGameState)

public:
    void OnDrawDebug(KvEditorPawn*, uint32_t) const override {}

    std::string m_strMusic;
};

// Previews a sound entry at its pawn through the entry's own drawing, which its reflected type
// offers.
class KvEditorPawnCallbackHandler_SoundEntry : public KvEditorPawnCallbackHandler
{
    KV_DECLARE_TYPED_CLASS(KvEditorPawnCallbackHandler_SoundEntry, KvEditorPawnCallbackHandler)

public:
    void SetPreviewedObject(const KvReflectedDataType* pType, void* pObject) override;
    void OnDrawDebug(KvEditorPawn* pPawn, uint32_t flags) const override;

private:
    const KvReflectedDataType* m_pEntryType = nullptr;
    const void* m_pEntry = nullptr;
};

struct KvRenderNodeHandler_Bloom_Input
{
    std::string m_strSourcePin;
    float m_fIntensity = 1.0f;
};

struct KvRenderNodeHandler_Bloom_Output
{
    std::string m_strTargetPin;
};
