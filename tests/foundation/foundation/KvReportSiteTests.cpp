#include "Foundation/KvReport.h"
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

// Pretty names as either compiler writes them, down to the qualified name.
TEST(ReportSite, QualifiedFunctionName_FromPrettyNames)
{
    const std::pair<const char*, const char*> cases[] = {
        {"virtual void* KvResourceImporter_DDS::ConvertToRaw(void*&, KvResource*, KvIOStream*, void*)",
         "KvResourceImporter_DDS::ConvertToRaw"},
        {"KvChunkFileWrapper::~KvChunkFileWrapper()", "KvChunkFileWrapper::~KvChunkFileWrapper"},
        {"std::map<int, float> Store::Index(const std::vector<int>&) const", "Store::Index"},
        {"static T Box<T>::Make(U) [with U = int; T = float]", "Box<T>::Make"},
        {"void (anonymous namespace)::Loader::LoadInto(int)", "Loader::LoadInto"},
        {"void {anonymous}::Loader::LoadInto(int)", "Loader::LoadInto"},
        {"bool Key::operator<(const Key&) const", "Key::operator<"},
        {"std::ostream& operator<<(std::ostream&, const Key&)", "operator<<"},
        {"int Functor::operator()(int) const", "Functor::operator()"},
        {"Key::operator bool() const", "Key::operator bool"},
        {"Outer::Run(int)::<lambda(int)>", "Outer::Run"},
        {"main", "main"},
    };
    for (const auto& [pretty, expected] : cases)
        EXPECT_EQ(KvQualifiedFunctionName(pretty), expected) << pretty;
}

// However the compiler spelled the path, the name starts below the module's folder.
TEST(ReportSite, FileName_BelowTheModuleFolderWithBackslashesAndNoExtension)
{
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"../KvResourcePlugin_Core/importers/KvResourceImporter_DDS.cpp", "KvResourcePlugin_Core",
         "importers\\KvResourceImporter_DDS"},
        {"/work/tree/KvResourceCommon/Store/KvJsonStore.cpp", "KvResourceCommon", "Store\\KvJsonStore"},
        {"KvFoundation/api/public/Foundation/KvRandom.h", "KvFoundation",
         "api\\public\\Foundation\\KvRandom"},
        {"/src/KvFoundation/KvFoundation/IO/KvArchive.cpp", "KvFoundation", "IO\\KvArchive"},
        {"C:\\src\\kvres\\main.cpp", "kvres", "main"},
        {"/elsewhere/v1.2/Makefile", "KvFoundation", "\\elsewhere\\v1.2\\Makefile"},
        {"/a/MyKvFoundation/x.cpp", "KvFoundation", "\\a\\MyKvFoundation\\x"},
        {"importers/KvChunkFileWrapper.cpp", "", "importers\\KvChunkFileWrapper"},
    };
    for (const auto& [path, moduleFolder, expected] : cases)
        EXPECT_EQ(KvReportFileName(path, moduleFolder), expected) << path;
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
