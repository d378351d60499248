#include "TypeManager/KvObjectFactory.h"
#include "actions/KvUndoHistory.h"

#include <gtest/gtest.h>

namespace
{
// Writes what it does into a shared journal.
class KvTestJournalAction : public KvReflectedObjectAction
{
    KV_DECLARE_TYPED_CLASS(KvTestJournalAction, KvReflectedObjectAction)

public:
    KvTestJournalAction() = default;
    KvTestJournalAction(const std::string& name, std::vector<std::string>* pJournal, bool bSelects)
        : m_strName(name), m_pJournal(pJournal), m_bSelects(bSelects)
    {
    }
    const std::string& GetName() const override { return m_strName; }
    void Do() override { m_pJournal->push_back("do " + m_strName); }
    void Undo() override { m_pJournal->push_back("undo " + m_strName); }
    void GetChangedMemory(std::vector<void*>& outMemory) const override { outMemory.push_back(m_pJournal); }
    void GetModifiedResources(std::vector<KvResource*>&) const override {}
    bool UpdatesSelection() const override { return m_bSelects; }
    void GetSelection(std::vector<tReflectedObject>& outSelection) const override
    {
        outSelection.push_back({nullptr, m_pJournal, nullptr});
    }

private:
    std::string m_strName;
    std::vector<std::string>* m_pJournal = nullptr;
    bool m_bSelects = false;
};
} // namespace

KV_IMPLEMENT_TYPED_CLASS(KvTestJournalAction)

TEST(UndoHistory, DoUndoRedo_Order)
{
    std::vector<std::string> journal;
    KvUndoHistory history;
    history.Do(new KvTestJournalAction("a", &journal, false));
    history.Do(new KvTestJournalAction("b", &journal, false));
    history.Undo();
    history.Undo();
    history.Undo();
    history.Redo();
    EXPECT_EQ(journal, (std::vector<std::string>{"do a", "do b", "undo b", "undo a", "do a"}));
    EXPECT_EQ(history.GetUndoCount(), 1u);
    EXPECT_EQ(history.GetRedoCount(), 1u);
}

TEST(UndoHistory, NewStepDropsRedoAndReleasesIt)
{
    std::vector<std::string> journal;
    KvUndoHistory history;
    KvSmartPtr<KvNativeAction> first(new KvTestJournalAction("a", &journal, false));
    history.Do(first);
    EXPECT_EQ(first->GetRefCount(), 2);
    history.Undo();
    history.Do(new KvTestJournalAction("b", &journal, false));
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(first->GetRefCount(), 1);
    EXPECT_TRUE(history.Redo().m_aChangedMemory.empty());
}

TEST(UndoHistory, ReportsWhatTheStepTouched)
{
    std::vector<std::string> journal;
    KvUndoHistory history;
    const KvUndoHistory::tStepReport selecting = history.Do(new KvTestJournalAction("s", &journal, true));
    EXPECT_EQ(selecting.m_aChangedMemory, std::vector<void*>{&journal});
    EXPECT_TRUE(selecting.m_bUpdatesSelection);
    ASSERT_EQ(selecting.m_aSelection.size(), 1u);
    const KvUndoHistory::tStepReport quiet = history.Do(new KvTestJournalAction("q", &journal, false));
    EXPECT_TRUE(quiet.m_aSelection.empty());
    EXPECT_FALSE(history.Do(KvSmartPtr<KvNativeAction>()).m_bUpdatesSelection);
}
