#include "Host/KvSourceFolderWalk.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
class SourceFolderWalk : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_Folder =
            fs::temp_directory_path() / ("KvWalk_" + std::to_string(getpid()) + "_" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_Folder);
    }
    void TearDown() override { fs::remove_all(m_Folder); }

    std::string Path(const std::string& relative) const { return (m_Folder / relative).string(); }
    void File(const std::string& relative) const
    {
        fs::create_directories((m_Folder / relative).parent_path());
        std::ofstream(m_Folder / relative) << "x";
    }

    fs::path m_Folder;
};
} // namespace

TEST_F(SourceFolderWalk, Files_SortedThroughLinksAndEachFolderOnce)
{
    File("b/2.dds");
    File("b/1.dds");
    File("a.dds");
    File("shared/3.dds");
    fs::create_directory_symlink(m_Folder / "shared", m_Folder / "b" / "linked");
    fs::create_symlink(m_Folder / "a.dds", m_Folder / "alias.dds");
    ASSERT_EQ(mkfifo(Path("pipe.dds").c_str(), 0600), 0);

    const KvSourceFolderWalk part((m_Folder / "b").string());
    EXPECT_EQ(part.GetFiles(),
              (std::vector<std::string>{Path("b/1.dds"), Path("b/2.dds"), Path("b/linked/3.dds")}));
    EXPECT_TRUE(part.GetWarnings().empty());

    const KvSourceFolderWalk whole(m_Folder.string());
    EXPECT_EQ(whole.GetFiles(), (std::vector<std::string>{Path("a.dds"), Path("alias.dds"), Path("b/1.dds"),
                                                          Path("b/2.dds"), Path("shared/3.dds")}));
    EXPECT_EQ(
        whole.GetWarnings(),
        std::vector<std::string>{Path("b/linked") + ": the folder was walked already as " + Path("shared")});
}

TEST_F(SourceFolderWalk, LoopsAndBrokenLinks_SkippedWithAWarning)
{
    File("sub/1.dds");
    fs::create_directory_symlink("..", m_Folder / "sub" / "up");
    fs::create_symlink("self", m_Folder / "self");
    fs::create_symlink("missing", m_Folder / "broken");

    const KvSourceFolderWalk walk(m_Folder.string());
    EXPECT_EQ(walk.GetFiles(), std::vector<std::string>{Path("sub/1.dds")});
    std::vector<std::string> warnings = walk.GetWarnings();
    std::sort(warnings.begin(), warnings.end());
    EXPECT_EQ(warnings, (std::vector<std::string>{Path("broken") + ": No such file or directory",
                                                  Path("self") + ": Too many levels of symbolic links",
                                                  Path("sub/up") + ": the folder was walked already as " +
                                                      m_Folder.string()}));
}

TEST_F(SourceFolderWalk, MissingFolder_IsAWarning)
{
    const KvSourceFolderWalk walk(Path("none"));
    EXPECT_TRUE(walk.GetFiles().empty());
    EXPECT_EQ(walk.GetWarnings(), std::vector<std::string>{Path("none") + ": No such file or directory"});
}
