#include "Host/KvProjectLock.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
class ProjectLock : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_Folder =
            fs::temp_directory_path() / ("KvLock_" + std::to_string(getpid()) + "_" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override { fs::remove_all(m_Folder); }

    fs::path m_Folder;
};
} // namespace

TEST_F(ProjectLock, AnotherProcess_FindsItBusyAndWaitsForTheHolderToEnd)
{
    const std::string project = (m_Folder / "project").string();
    int toParent[2];
    int toChild[2];
    ASSERT_EQ(pipe(toParent), 0);
    ASSERT_EQ(pipe(toChild), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        KvProjectLock lock;
        std::string error;
        const char acquired =
            lock.Acquire(project, false, error) == KvProjectLock::eResult::Acquired ? 'y' : 'n';
        char go;
        if (write(toParent[1], &acquired, 1) != 1 || read(toChild[0], &go, 1) != 1)
            _exit(2);
        // Ends without releasing: the system does it, as for a killed import.
        _exit(0);
    }
    char acquired = 0;
    ASSERT_EQ(read(toParent[0], &acquired, 1), 1);
    EXPECT_EQ(acquired, 'y');

    KvProjectLock lock;
    std::string error;
    EXPECT_EQ(lock.Acquire(project, false, error), KvProjectLock::eResult::Busy);
    ASSERT_EQ(write(toChild[1], "g", 1), 1);
    EXPECT_EQ(lock.Acquire(project, true, error), KvProjectLock::eResult::Acquired) << error;
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    for (int fd : {toParent[0], toParent[1], toChild[0], toChild[1]})
        close(fd);
}

TEST_F(ProjectLock, ReleasedWithTheObject)
{
    const std::string project = (m_Folder / "project").string();
    std::string error;
    {
        KvProjectLock first;
        ASSERT_EQ(first.Acquire(project, false, error), KvProjectLock::eResult::Acquired) << error;
        KvProjectLock second;
        EXPECT_EQ(second.Acquire(project, false, error), KvProjectLock::eResult::Busy);
    }
    KvProjectLock again;
    EXPECT_EQ(again.Acquire(project, false, error), KvProjectLock::eResult::Acquired) << error;
}

TEST_F(ProjectLock, UnusableFolder_FailsWithTheSystemReason)
{
    fs::create_directories(m_Folder / "project" / ".kvlock");
    std::ofstream(m_Folder / "file") << "x";
    const struct
    {
        fs::path m_Project;
        std::string m_Expected;
    } cases[] = {{m_Folder / "file" / "project",
                  (m_Folder / "file" / "project").string() + ": cannot be created: Not a directory"},
                 {m_Folder / "project",
                  (m_Folder / "project" / ".kvlock").string() + ": cannot be opened: Is a directory"}};
    for (const auto& row : cases)
    {
        KvProjectLock lock;
        std::string error;
        EXPECT_EQ(lock.Acquire(row.m_Project.string(), false, error), KvProjectLock::eResult::Failed);
        EXPECT_EQ(error, row.m_Expected);
    }
}
