#include "host/KvSourceFolderWalk.h"
#include "support/KvTestFolder.h"

#include <sys/stat.h>

namespace fs = std::filesystem;

using SourceFolderWalk = TestFolder;

TEST_F(SourceFolderWalk, Files_SortedThroughLinksAndEachFolderOnce)
{
    for (const char* file : {"b/2.dds", "b/1.dds", "a.dds", "shared/3.dds"})
        Write(file, "x");
    fs::create_directory_symlink(m_Folder / "shared", m_Folder / "b" / "linked");
    fs::create_symlink(m_Folder / "a.dds", m_Folder / "alias.dds");
    ASSERT_EQ(mkfifo(Path("pipe.dds").c_str(), 0600), 0);

    const KvSourceFolderWalk part(Path("b"));
    EXPECT_EQ(part.GetFiles(),
              (std::vector<std::string>{Path("b/1.dds"), Path("b/2.dds"), Path("b/linked/3.dds")}));
    EXPECT_TRUE(part.GetWarnings().empty());

    // The folder keeps the name of its own place; the link to it is the one skipped.
    const KvSourceFolderWalk whole(m_Folder.string());
    EXPECT_EQ(whole.GetFiles(), (std::vector<std::string>{Path("a.dds"), Path("alias.dds"), Path("b/1.dds"),
                                                          Path("b/2.dds"), Path("shared/3.dds")}));
    EXPECT_EQ(
        whole.GetWarnings(),
        std::vector<std::string>{Path("b/linked") + ": the folder was walked already as " + Path("shared")});
}
