#include "support/KvResultAssertion.h"
#include "support/KvTestFolder.h"
#include "support/KvTestProcess.h"
#include "testaccess/KvResourceCommonTestAccess.h"

#include <algorithm>
#include <cerrno>
#include <sstream>

namespace fs = std::filesystem;

namespace
{
class AtomicFileWriter : public TestFolder
{
protected:
    void WriteOld(const std::string& name) const { Write(name, "old " + name); }
    // Every file in the folder: shows left-over temporaries as well as targets.
    std::vector<std::string> Listing() const
    {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(m_Folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

// A disk that fills after `room` bytes, as write(2) reports it.
KvAtomicFileWriter::tWriteFunction DiskWithRoomFor(size_t room)
{
    return [room](int fd, const void* pData, size_t size) mutable -> ssize_t
    {
        if (room == 0)
        {
            errno = ENOSPC;
            return -1;
        }
        const ssize_t written = ::write(fd, pData, std::min(size, room));
        room -= static_cast<size_t>(written);
        return written;
    };
}
} // namespace

// A commit replaces every staged file and leaves no temporary, which kvres import's reproducible
// and unchanged re-imports check; these are the ways a write fails.
TEST_F(AtomicFileWriter, FullDisk_FailsWithTheSystemReasonAndReplacesNothing)
{
    const std::tuple<const char*, KvAtomicFileWriter::tWriteFunction, const char*> disks[] = {
        {"full from the start", DiskWithRoomFor(0), "a.json"},
        {"full part way through the second file", DiskWithRoomFor(9), "b.json"},
        {"no progress without an error", [](int, const void*, size_t) -> ssize_t { return 0; }, "a.json"}};
    for (const auto& [name, write, failingFile] : disks)
    {
        SCOPED_TRACE(name);
        WriteOld("a.json");
        WriteOld("b.json");
        {
            KvAtomicFileWriter writer(write);
            KvResult staged = writer.Stage(Path("a.json"), "new a");
            if (staged)
                staged = writer.Stage(Path("b.json"), "new contents of b");
            EXPECT_FALSE(staged);
            EXPECT_EQ(staged.GetReason(), Path(failingFile) + ": cannot be written: No space left on device");
        }
        EXPECT_EQ(Read("a.json"), "old a.json");
        EXPECT_EQ(Read("b.json"), "old b.json");
        EXPECT_EQ(Listing(), (std::vector<std::string>{"a.json", "b.json"}));
    }
}

// Contents written in pieces as they are made, larger than any buffer, land whole; a disk
// that fills part-way through fails them and leaves nothing behind.
TEST_F(AtomicFileWriter, StreamedContents_LandWholeOrNotAtAll)
{
    const auto writeContents = [](std::ostream& out)
    {
        for (int line = 0; line < 20000; ++line)
            out << "line " << line << '\n';
        out << std::string(200000, 'x');
    };
    std::ostringstream expected;
    writeContents(expected);
    WriteOld("a.json");
    {
        KvAtomicFileWriter writer(DiskWithRoomFor(100000));
        const KvResult staged = writer.Stage(Path("a.json"), writeContents);
        EXPECT_FALSE(staged);
        EXPECT_EQ(staged.GetReason(), Path("a.json") + ": cannot be written: No space left on device");
    }
    EXPECT_EQ(Listing(), std::vector<std::string>{"a.json"});
    EXPECT_EQ(Read("a.json"), "old a.json");

    KvAtomicFileWriter writer;
    ASSERT_TRUE(Succeeded(writer.Stage(Path("a.json"), writeContents)));
    ASSERT_TRUE(Succeeded(writer.Commit()));
    EXPECT_EQ(Read("a.json"), expected.str());
}

TEST_F(AtomicFileWriter, KilledBeforeCommit_LeavesTheTargetWhole)
{
    WriteOld("a.json");
    // The child ends inside the writer's life, as a killed process does.
    RunInChild(
        [&]() -> int
        {
            KvAtomicFileWriter writer;
            (void)writer.Stage(Path("a.json"), std::string(1 << 20, 'x'));
            _exit(0);
        });
    EXPECT_EQ(Read("a.json"), "old a.json");
}

TEST_F(AtomicFileWriter, TargetTakenByAFolder_FailsWithTheSystemReasonAndLeavesNoTemporary)
{
    fs::create_directories(m_Folder / "folder.json");
    KvAtomicFileWriter writer;
    ASSERT_TRUE(Succeeded(writer.Stage(Path("folder.json"), "a")));
    const KvResult committed = writer.Commit();
    EXPECT_FALSE(committed);
    EXPECT_EQ(committed.GetReason(), Path("folder.json") + ": cannot be written: Is a directory");
    EXPECT_EQ(Listing(), (std::vector<std::string>{"folder.json"}));
}
