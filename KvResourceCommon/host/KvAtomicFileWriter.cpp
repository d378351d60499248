#include "host/KvAtomicFileWriter.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <ostream>
#include <streambuf>
#include <unistd.h>

namespace
{
// Temporaries are hidden files beside the target, unique to this process and call, so that
// concurrent writers never share one.
std::string TemporaryPathFor(const std::string& targetPath)
{
    static std::atomic<unsigned> s_Counter{0};
    const std::filesystem::path target(targetPath);
    return (target.parent_path() / ("." + target.filename().string() + "." + std::to_string(getpid()) + "." +
                                    std::to_string(s_Counter++) + ".tmp"))
        .string();
}

KvResult Failure(const std::string& targetPath, int error)
{
    return KvResult::Failure(targetPath + ": cannot be written: " + std::strerror(error));
}

bool WriteAll(const KvAtomicFileWriter::tWriteFunction& write, int fd, std::string_view contents,
              int& outError)
{
    while (!contents.empty())
    {
        const ssize_t written = write(fd, contents.data(), contents.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
        {
            // A write that makes no progress without an error is a full device.
            outError = written < 0 ? errno : ENOSPC;
            return false;
        }
        contents.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// Hands what a stream writes to a file through the write function, in buffered pieces, and
// keeps the first error; after one, nothing more is written.
class FileStreamBuffer : public std::streambuf
{
public:
    FileStreamBuffer(const KvAtomicFileWriter::tWriteFunction& write, int fd) : m_rWrite(write), m_iFd(fd)
    {
        setp(m_aBuffer.data(), m_aBuffer.data() + m_aBuffer.size());
    }

    int GetError() const { return m_iError; }

protected:
    int_type overflow(int_type character) override
    {
        if (!Drain())
            return traits_type::eof();
        if (!traits_type::eq_int_type(character, traits_type::eof()))
        {
            *pptr() = traits_type::to_char_type(character);
            pbump(1);
        }
        return traits_type::not_eof(character);
    }

    std::streamsize xsputn(const char* pText, std::streamsize size) override
    {
        if (size <= epptr() - pptr())
        {
            std::copy_n(pText, size, pptr());
            pbump(static_cast<int>(size));
            return size;
        }
        // A piece larger than the room left goes out without a copy.
        if (!Drain() ||
            !WriteAll(m_rWrite, m_iFd, std::string_view(pText, static_cast<size_t>(size)), m_iError))
            return 0;
        return size;
    }

    int sync() override { return Drain() ? 0 : -1; }

private:
    bool Drain()
    {
        const std::string_view pending(pbase(), static_cast<size_t>(pptr() - pbase()));
        setp(m_aBuffer.data(), m_aBuffer.data() + m_aBuffer.size());
        return m_iError == 0 && WriteAll(m_rWrite, m_iFd, pending, m_iError);
    }

    const KvAtomicFileWriter::tWriteFunction& m_rWrite;
    int m_iFd;
    int m_iError = 0;
    std::array<char, 64 * 1024> m_aBuffer;
};

// A rename is durable only once its folder is synced. Best effort: the file is in place
// already, and a folder that cannot be opened for reading cannot be synced at all.
void SyncFolderOf(const std::string& path)
{
    const std::string folder = std::filesystem::path(path).parent_path().string();
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0)
    {
        fsync(fd);
        close(fd);
    }
}
} // namespace

KvAtomicFileWriter::KvAtomicFileWriter() : KvAtomicFileWriter(&::write) {}

KvAtomicFileWriter::KvAtomicFileWriter(tWriteFunction write) : m_Write(std::move(write)) {}

KvAtomicFileWriter::~KvAtomicFileWriter()
{
    RemoveTemporaries();
}

void KvAtomicFileWriter::RemoveTemporaries()
{
    for (const tStagedFile& file : m_aStaged)
        unlink(file.m_strTemporary.c_str());
    m_aStaged.clear();
}

KvResult KvAtomicFileWriter::Stage(const std::string& targetPath, std::string_view contents)
{
    return Stage(targetPath, [contents](std::ostream& out)
                 { out.write(contents.data(), static_cast<std::streamsize>(contents.size())); });
}

KvResult KvAtomicFileWriter::Stage(const std::string& targetPath, const tContentsFunction& writeContents)
{
    // A name can be taken by a temporary that a killed process with the same id left behind.
    constexpr int kAttempts = 16;
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < kAttempts && fd < 0; ++attempt)
    {
        temporary = TemporaryPathFor(targetPath);
        fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return Failure(targetPath, errno);
    FileStreamBuffer buffer(m_Write, fd);
    std::ostream stream(&buffer);
    writeContents(stream);
    stream.flush();
    int error = buffer.GetError();
    bool bWritten = error == 0 && stream.good();
    // A stream that failed without a system error could not take what it was given.
    if (!bWritten && error == 0)
        error = EIO;
    if (bWritten && fsync(fd) != 0)
    {
        error = errno;
        bWritten = false;
    }
    // Some file systems report a failed write only when the file is closed.
    if (close(fd) != 0 && bWritten)
    {
        error = errno;
        bWritten = false;
    }
    if (!bWritten)
    {
        unlink(temporary.c_str());
        return Failure(targetPath, error);
    }
    m_aStaged.push_back({temporary, targetPath});
    return {};
}

KvResult KvAtomicFileWriter::Commit()
{
    for (size_t index = 0; index < m_aStaged.size(); ++index)
    {
        const tStagedFile& file = m_aStaged[index];
        if (rename(file.m_strTemporary.c_str(), file.m_strTarget.c_str()) != 0)
        {
            const KvResult failure = Failure(file.m_strTarget, errno);
            m_aStaged.erase(m_aStaged.begin(), m_aStaged.begin() + static_cast<ptrdiff_t>(index));
            RemoveTemporaries();
            return failure;
        }
    }
    for (const tStagedFile& file : m_aStaged)
        SyncFolderOf(file.m_strTarget);
    m_aStaged.clear();
    return {};
}
