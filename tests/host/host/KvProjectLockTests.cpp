#include "host/KvProjectLock.h"
#include "host/KvTestFolder.h"

using ProjectLock = TestFolder;

TEST_F(ProjectLock, UnusableFolder_FailsWithTheSystemReason)
{
    std::filesystem::create_directories(m_Folder / "project" / ".kvlock");
    Write("file", "x");
    const struct
    {
        std::string m_Project;
        std::string m_Expected;
    } cases[] = {{Path("file/project"), Path("file/project") + ": cannot be created: Not a directory"},
                 {Path("project"), Path("project/.kvlock") + ": cannot be opened: Is a directory"}};
    for (const auto& row : cases)
    {
        KvProjectLock lock;
        bool bWaited = false;
        const KvResult locked = lock.Acquire(row.m_Project, [&] { bWaited = true; });
        EXPECT_FALSE(locked);
        EXPECT_EQ(locked.GetReason(), row.m_Expected);
        EXPECT_FALSE(bWaited);
    }
}
