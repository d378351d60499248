#include "Host/KvProjectLock.h"
#include "Host/KvTestFolder.h"

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
        std::string error;
        EXPECT_EQ(lock.Acquire(row.m_Project, false, error), KvProjectLock::eResult::Failed);
        EXPECT_EQ(error, row.m_Expected);
    }
}
