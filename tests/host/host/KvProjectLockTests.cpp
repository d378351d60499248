#include "host/KvProjectLock.h"
#include "support/KvTestFolder.h"

using ProjectLock = TestFolder;

TEST_F(ProjectLock, UnusableFolder_FailsWithTheSystemReason)
{
    std::filesystem::create_directories(m_Folder / "project" / ".kvlock");
    Write("file", "x");
    const std::pair<std::string, std::string> cases[] = {
        {Path("file/project"), Path("file/project") + ": cannot be created: Not a directory"},
        {Path("project"), Path("project/.kvlock") + ": cannot be opened: Is a directory"}};
    for (const auto& [project, expected] : cases)
    {
        KvProjectLock lock;
        bool bWaited = false;
        const KvResult locked = lock.Acquire(project, [&] { bWaited = true; });
        EXPECT_FALSE(locked);
        EXPECT_EQ(locked.GetReason(), expected);
        EXPECT_FALSE(bWaited);
    }
}
