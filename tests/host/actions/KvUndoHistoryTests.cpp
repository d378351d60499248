#include "TypeManager/KvObjectFactory.h"
#include "actions/KvUndoHistory.h"

#include <gtest/gtest.h>

namespace
{
// Changes one piece of memory and, when asked to, selects it.
class KvTestSelectingAction : public KvReflectedObjectAction
{
    KV_DECLARE_TYPED_CLASS(KvTestSelectingAction, KvReflectedObjectAction)

public:
    KvTestSelectingAction() = default;
    KvTestSelectingAction(void* pMemory, bool bSelects) : m_pMemory(pMemory), m_bSelects(bSelects) {}
    const std::string& GetName() const override { return m_strName; }
    void Do() override {}
    void Undo() override {}
    void GetChangedMemory(std::vector<void*>& outMemory) const override { outMemory.push_back(m_pMemory); }
    void GetModifiedResources(std::vector<KvResource*>&) const override {}
    bool UpdatesSelection() const override { return m_bSelects; }
    void GetSelection(std::vector<tReflectedObject>& outSelection) const override
    {
        outSelection.push_back({nullptr, m_pMemory, nullptr});
    }

private:
    std::string m_strName = "select";
    void* m_pMemory = nullptr;
    bool m_bSelects = false;
};
} // namespace

KV_IMPLEMENT_TYPED_CLASS(KvTestSelectingAction)

// The order of steps and what a new step drops are checked by the random runs of the plug-in's
// actions, whose steps never select; what they do not meet is a selecting step and an empty action.
TEST(UndoHistory, ReportsWhatTheStepTouched)
{
    int memory = 0;
    KvUndoHistory history;
    const KvUndoHistory::tStepReport selecting = history.Do(new KvTestSelectingAction(&memory, true));
    EXPECT_EQ(selecting.m_aChangedMemory, std::vector<void*>{&memory});
    EXPECT_TRUE(selecting.m_bUpdatesSelection);
    ASSERT_EQ(selecting.m_aSelection.size(), 1u);
    const KvUndoHistory::tStepReport quiet = history.Do(new KvTestSelectingAction(&memory, false));
    EXPECT_TRUE(quiet.m_aSelection.empty());
    EXPECT_FALSE(history.Do(KvSmartPtr<KvNativeAction>()).m_bUpdatesSelection);
}
