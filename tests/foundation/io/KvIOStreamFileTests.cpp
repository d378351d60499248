#include "IO/KvIOStream_File.h"
#include "support/KvTestFolder.h"
#include "support/KvTestReports.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr const char* kFile = "IO\\KvIOStream_File_Win32";
using FileStream = TestFolder;
} // namespace

TEST_F(FileStream, WriteThenReadBack_SizeMeasuredAtOpen)
{
    const std::string path = Path("data.bin");
    KvIOStream_File writer;
    ASSERT_TRUE(writer.Open(path.c_str(), KvIOStream::MODE_WRITE));
    EXPECT_EQ(writer.Write("abcdef", 6), 6u);
    EXPECT_EQ(writer.Tell(), 6u);
    writer.Close();
    EXPECT_STREQ(writer.GetName(), "");

    KvIOStream_File reader;
    ASSERT_TRUE(reader.Open(path.c_str(), KvIOStream::MODE_READ));
    EXPECT_EQ(reader.GetSize(), 6u);
    EXPECT_STREQ(reader.GetName(), path.c_str());
    EXPECT_EQ(reader.Seek(4), 0);
    char text[8] = {};
    EXPECT_EQ(reader.Read(text, 8), 2u);
    EXPECT_STREQ(text, "ef");
    EXPECT_TRUE(reader.IsEOF());
    reader.Close();
}

TEST_F(FileStream, AppendMode_KeepsContents)
{
    const std::string path = Write("append.bin", "123");
    KvIOStream_File stream;
    ASSERT_TRUE(stream.Open(path.c_str(), 7));
    EXPECT_EQ(stream.GetSize(), 3u);
    stream.Write("45", 2);
    stream.Close();
    EXPECT_EQ(std::filesystem::file_size(path), 5u);
}

TEST_F(FileStream, EmptyPath_FalseButNameStored)
{
    KvIOStream_File stream;
    EXPECT_FALSE(stream.Open("", KvIOStream::MODE_READ));
    EXPECT_FALSE(stream.Open(nullptr, KvIOStream::MODE_READ));
    EXPECT_STREQ(stream.GetName(), "");
    EXPECT_FALSE(stream.Open(Path("missing.bin").c_str(), KvIOStream::MODE_READ));
    EXPECT_STREQ(stream.GetName(), Path("missing.bin").c_str());
    // A failed open leaves the stream closed: reads move nothing.
    char byte = 0;
    EXPECT_EQ(stream.Read(&byte, 1), 0u);
    EXPECT_EQ(stream.GetSize(), 0u);
}

// Misuse of the handle ends the process with the reason.
TEST_F(FileStream, OpenTwiceCloseTwiceOrUseWithoutHandle_Fatal)
{
    const std::string path = Path("twice.bin");
    const std::string second = Path("other.bin");
    EXPECT_FATAL(
        {
            KvIOStream_File stream;
            stream.Open(path.c_str(), KvIOStream::MODE_WRITE);
            stream.Open(second.c_str(), KvIOStream::MODE_WRITE);
        },
        kFile, "KvIOStream_File::Open", 34, "File '" + second + "' has already been opened");
    EXPECT_FATAL(
        {
            KvIOStream_File stream;
            stream.Open(path.c_str(), KvIOStream::MODE_WRITE);
            stream.Close();
            stream.Close();
        },
        kFile, "KvIOStream_File::Close", 52, "File '' has already been closed, or was never opened");
    EXPECT_FATAL(KvIOStream_File().Close(), kFile, "KvIOStream_File::Close", 52,
                 "File '' has already been closed, or was never opened");
    EXPECT_FATAL(KvIOStream_File().IsEOF(), kFile, "KvIOStream_File::IsEOF", 62, "No file handle opened!");
    EXPECT_FATAL(KvIOStream_File().Seek(0), kFile, "KvIOStream_File::Seek", 68, "No file handle opened!");
}

TEST_F(FileStream, SizesBeyond32Bits)
{
    const std::string path = Write("sparse.bin", "");
    std::filesystem::resize_file(path, 5ull * 1024 * 1024 * 1024);
    KvIOStream_File stream;
    ASSERT_TRUE(stream.Open(path.c_str(), KvIOStream::MODE_READ));
    EXPECT_EQ(stream.GetSize(), 5ull * 1024 * 1024 * 1024);
    EXPECT_EQ(stream.Seek(4ull * 1024 * 1024 * 1024 + 3), 0);
    EXPECT_EQ(stream.Tell(), 4ull * 1024 * 1024 * 1024 + 3);
    stream.Close();
}

// A folder would read as an endless file, a device never ends and a FIFO blocks the open until
// a writer comes.
TEST_F(FileStream, OnlyRegularFilesOpen_OthersRefusedWithoutBlocking)
{
    std::filesystem::create_directory(m_Folder / "folder.wav");
    ASSERT_EQ(mkfifo(Path("pipe.wav").c_str(), 0600), 0);
    // Blocking would stall the suite; the alarm ends it instead.
    alarm(10);
    for (const std::string& path : {Path("folder.wav"), Path("pipe.wav"), std::string("/dev/null")})
    {
        for (uint32_t mode : {KvIOStream::MODE_READ, KvIOStream::MODE_WRITE, KvIOStream::MODE_APPEND})
        {
            KvIOStream_File stream;
            EXPECT_FALSE(stream.Open(path.c_str(), mode)) << path << " mode " << mode;
            EXPECT_EQ(stream.GetSize(), 0u);
        }
    }
    alarm(0);
}
