#include "host/KvBlobStore.h"

#include "Foundation/KvSha256.h"
#include "store/KvBlobReference.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
// Hashed and written in pieces of this size, so that the pages of each stay in the cache
// between the two.
constexpr size_t kPieceSize = 1024 * 1024;

[[noreturn]] void ThrowSystemError(const std::string& what, const std::string& path, int error)
{
    throw fs::filesystem_error(what, path, std::error_code(error, std::generic_category()));
}

// Closes a file descriptor when it goes.
struct FileDescriptor
{
    int m_iFd;
    ~FileDescriptor()
    {
        if (m_iFd >= 0)
            close(m_iFd);
    }
};

void WriteAll(int fd, const uint8_t* pData, size_t size, const std::string& path)
{
    while (size > 0)
    {
        const ssize_t written = write(fd, pData, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            ThrowSystemError("blob cannot be written", path, written < 0 ? errno : ENOSPC);
        pData += written;
        size -= static_cast<size_t>(written);
    }
}

// A rename is durable only once its folder is synced, and the reference to the blob is
// written after it.
void SyncFolderOf(const std::string& path)
{
    const FileDescriptor folder{
        open(fs::path(path).parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (folder.m_iFd >= 0)
        fsync(folder.m_iFd);
}

// The hex SHA-256 of the bytes, which are in a fresh temporary file once it returns.
std::string WriteHashed(const std::string& temporary, int fd, const std::vector<uint8_t>& bytes)
{
    KvSha256 hash;
    for (size_t start = 0; start < bytes.size(); start += kPieceSize)
    {
        const size_t size = std::min(kPieceSize, bytes.size() - start);
        hash.Update(bytes.data() + start, size);
        WriteAll(fd, bytes.data() + start, size, temporary);
    }
    if (fsync(fd) != 0)
        ThrowSystemError("blob cannot be written", temporary, errno);
    return KvSha256::ToHex(hash.Final());
}
} // namespace

KvBlobStore::KvBlobStore(const std::string& projectFolder)
    : m_strFolder((fs::path(projectFolder) / kFolderName).string())
{
}

std::string KvBlobStore::GetPath(const std::string& hash) const
{
    return (fs::path(m_strFolder) / hash.substr(0, 2) / hash.substr(2)).string();
}

std::string KvBlobStore::Put(const std::vector<uint8_t>& bytes)
{
    fs::create_directories(m_strFolder);
    std::string temporary = (fs::path(m_strFolder) / (std::string(kTemporaryPrefix) + "XXXXXX")).string();
    const FileDescriptor file{mkstemp(temporary.data())};
    if (file.m_iFd < 0)
        ThrowSystemError("blob cannot be created", temporary, errno);
    try
    {
        const std::string hash = WriteHashed(temporary, file.m_iFd, bytes);
        const std::string path = GetPath(hash);
        fs::create_directories(fs::path(path).parent_path());
        std::error_code error;
        // A blob there already is kept, unless its size shows it damaged.
        if (fs::file_size(path, error) == bytes.size() && !error)
        {
            fs::remove(temporary);
            return hash;
        }
        fs::rename(temporary, path);
        SyncFolderOf(path);
        return hash;
    }
    catch (...)
    {
        unlink(temporary.c_str());
        throw;
    }
}

KvResult KvBlobStore::Get(const std::string& hash, uint64_t size, std::vector<uint8_t>& outBytes) const
{
    const std::string path = GetPath(hash);
    const auto failure = [&](const std::string& why)
    {
        return KvResult::Failure("blob sha256:" + hash + " (" + path + ") " + why);
    };
    const FileDescriptor file{open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    struct stat status = {};
    if (file.m_iFd < 0 || fstat(file.m_iFd, &status) != 0)
        return failure(errno == ENOENT ? "is missing"
                                       : std::string("cannot be read: ") + std::strerror(errno));
    if (static_cast<uint64_t>(status.st_size) != size)
        return failure("holds " + std::to_string(status.st_size) + " bytes, not " + std::to_string(size));
    KvSha256 hashOfFile;
    std::vector<uint8_t> bytes;
    if (size > 0)
    {
        void* pView = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, file.m_iFd, 0);
        if (pView == MAP_FAILED)
            return failure(std::string("cannot be mapped: ") + std::strerror(errno));
        const auto* pBytes = static_cast<const uint8_t*>(pView);
        hashOfFile.Update(pBytes, size);
        bytes.assign(pBytes, pBytes + size);
        munmap(pView, size);
    }
    if (KvSha256::ToHex(hashOfFile.Final()) != hash)
        return failure("does not hash to its name: it was changed or damaged");
    outBytes = std::move(bytes);
    return {};
}

bool KvBlobStore::HoldsBlobsOf(const std::string& savedFile) const
{
    std::ifstream file(savedFile, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!file && !file.eof())
        return false;
    if (text.find("\"$blob\"") == std::string::npos)
        return true;
    const nlohmann::ordered_json document = nlohmann::ordered_json::parse(text, nullptr, false);
    if (document.is_discarded())
        return false;
    for (const KvBlobReference& reference : KvBlobReference::CollectIn(document))
    {
        std::error_code error;
        if (fs::file_size(GetPath(reference.m_strHash), error) != reference.m_ullSize || error)
            return false;
    }
    return true;
}
