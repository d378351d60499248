#include "Foundation/KvReport.h"
#include "support/KvTestData.h"
#include "support/KvTestReports.h"

#include <gtest/gtest.h>

namespace
{
struct Widget
{
    Widget() : m_Site(KV_REPORT_SITE) {}
    template <class T>
    static KvReportSite InTemplate(T)
    {
        return KV_REPORT_SITE;
    }
    KvReportSite m_Site;
};

KvReportSite InAnonymousNamespace()
{
    return KV_REPORT_SITE;
}
} // namespace

TEST(ReportSite, FromTheCompiler_FileBelowTheModuleFolderAndLine)
{
    const int line = __LINE__ + 1;
    const KvReportSite site = KV_REPORT_SITE;
    EXPECT_EQ(site.m_strFile, "foundation\\foundation\\KvReportSiteTests");
    EXPECT_EQ(site.m_strFunction,
              "ReportSite_FromTheCompiler_FileBelowTheModuleFolderAndLine_Test::TestBody");
    EXPECT_EQ(site.m_iLine, line);
}

TEST(ReportSite, FromTheCompiler_QualifiedNameOfTheEnclosingFunction)
{
    EXPECT_EQ(Widget().m_Site.m_strFunction, "Widget::Widget");
    EXPECT_EQ(Widget::InTemplate(1).m_strFunction, "Widget::InTemplate");
    EXPECT_EQ(InAnonymousNamespace().m_strFunction, "InAnonymousNamespace");
    const auto inLambda = []
    {
        return KV_REPORT_SITE;
    };
    EXPECT_EQ(inLambda().m_strFunction,
              "ReportSite_FromTheCompiler_QualifiedNameOfTheEnclosingFunction_Test::TestBody");
}

// Pretty names as either compiler writes them, down to the qualified name; however the compiler
// spelled the path, the file name starts below the module's folder.
TEST(ReportSite, FunctionAndFileNames_FromWhatTheCompilerWrites)
{
    for (const auto& row : TestDataTable("foundation/report_sites.json", "qualifiedFunctionNames"))
        EXPECT_EQ(KvQualifiedFunctionName(row[0].get<std::string>().c_str()), row[1]) << row[0];
    for (const auto& row : TestDataTable("foundation/report_sites.json", "fileNames"))
        EXPECT_EQ(KvReportFileName(row[0].get<std::string>().c_str(), row[1].get<std::string>().c_str()),
                  row[2])
            << row[0];
}

TEST(ReportSite, ContainsReportFrom_AnyLineButTheRestExact)
{
    const std::string report = KvFormatReport({"a\\b", "C::D", 17}, "lost %d", 3);
    EXPECT_THAT(report, ContainsReportFrom("a\\b", "C::D", "lost 3"));
    EXPECT_THAT(report, ::testing::Not(ContainsReportFrom("a\\b", "C::E", "lost 3")));
    EXPECT_THAT(report, ::testing::Not(ContainsReportFrom("a\\b", "C::D", "lost 4")));
    EXPECT_THAT("a\\b::C::D()\n\tlost 3", ::testing::Not(ContainsReportFrom("a\\b", "C::D", "lost 3")));
    // The file starts a line and the message ends one.
    EXPECT_THAT("[Fatal error!]\n" + report + "\n", ContainsReportFrom("a\\b", "C::D", "lost 3"));
    EXPECT_THAT("x\\" + report, ::testing::Not(ContainsReportFrom("a\\b", "C::D", "lost 3")));
    EXPECT_THAT(report + "0", ::testing::Not(ContainsReportFrom("a\\b", "C::D", "lost 3")));
}
