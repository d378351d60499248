#include "Foundation/KvError_Globals.h"
#include "Foundation/KvRefCounter.h"
#include "Foundation/KvSmartPtr.h"
#include "support/KvTestReports.h"

#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

namespace
{
constexpr const char* kRefCounterFile = "KvFoundation/api/public/Foundation/KvRefCounter";

// Owns an object that someone still references, so destroying the owner is fatal inside
// its destructor.
class OwnerOfReferenced : public KvRefCounter
{
public:
    OwnerOfReferenced() { m_Referenced.AddRef(); }

private:
    KvRefCounter m_Referenced;
};

// A way to destroy an object that is still referenced.
struct FatalDestruction
{
    const char* m_pCase;
    std::function<void()> m_Destroy;
};

const std::string kReferencedReport = ExpectedReport(kRefCounterFile, "KvRefCounter::~KvRefCounter", 56,
                                                     "Reference count was not null when destroyed!");
} // namespace

// In raise mode the host gets the fatal error of a destructor as the exception, as from any
// other call, and goes on.
TEST(FatalErrorInDestructor, RaiseMode_HostCatchesIt)
{
    const FatalDestruction destructions[] = {
        {"smart pointer moved over its last reference",
         []
         {
             KvSmartPtr<OwnerOfReferenced> held(new OwnerOfReferenced());
             held = KvSmartPtr<OwnerOfReferenced>();
         }},
        {"smart pointer leaving scope with the last reference",
         []
         {
             KvSmartPtr<OwnerOfReferenced> held(new OwnerOfReferenced());
         }},
    };
    for (const FatalDestruction& destruction : destructions)
    {
        SCOPED_TRACE(destruction.m_pCase);
        EXPECT_EQ(RaisedFatalReport(destruction.m_Destroy), kReferencedReport);
    }
}

// Where the exception cannot reach the host (a destructor that runs while another exception
// unwinds, a destructor called from a noexcept function), the process ends as in the
// default mode: the message, then exit status 255.
TEST(FatalErrorInDestructor, RaiseModeWhereNothingCanCatch_ExitsLikeTheDefaultMode)
{
    const FatalDestruction destructions[] = {
        {"while another exception unwinds",
         []
         {
             try
             {
                 KvRefCounter referenced;
                 referenced.AddRef();
                 throw std::runtime_error("unwinding");
             }
             catch (const std::runtime_error&)
             {
             }
         }},
        {"from a noexcept destructor",
         []
         {
             std::vector<KvSmartPtr<OwnerOfReferenced>> held;
             held.emplace_back(new OwnerOfReferenced());
         }},
    };
    for (const FatalDestruction& destruction : destructions)
    {
        SCOPED_TRACE(destruction.m_pCase);
        EXPECT_EXIT(
            {
                // The message box stays on: it is how the default mode shows the message.
                KvError::GetGlobals()->m_bRaiseException = 1;
                destruction.m_Destroy();
            },
            ::testing::ExitedWithCode(255), ::testing::HasSubstr(kReferencedReport));
    }
}
