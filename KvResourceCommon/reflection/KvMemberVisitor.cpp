#include "reflection/KvMemberVisitor.h"

#include "Foundation/KvReport.h"

void KvFailUnknownMemberKind(const KvReflectedPrimitive& member)
{
    KvFatalReport(KV_REPORT_SITE, "Member '%s' has the unknown kind %u", member.GetName().c_str(),
                  static_cast<unsigned>(member.GetKind()));
}
