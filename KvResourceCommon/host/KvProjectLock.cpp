#include "host/KvProjectLock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

KvProjectLock::~KvProjectLock()
{
    if (m_iFd >= 0)
        close(m_iFd);
}

namespace
{
// Locks the file, retrying when a signal interrupts; 0, or -1 with errno set.
int Lock(int fd, int operation)
{
    int result;
    do
        result = flock(fd, operation);
    while (result != 0 && errno == EINTR);
    return result;
}
} // namespace

KvResult KvProjectLock::Acquire(const std::string& folder, const std::function<void()>& onWait)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        return KvResult::Failure(folder + ": cannot be created: " + error.message());
    const std::string path = (std::filesystem::path(folder) / ".kvlock").string();
    if (m_iFd >= 0)
        close(m_iFd);
    m_iFd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (m_iFd < 0)
        return KvResult::Failure(path + ": cannot be opened: " + std::strerror(errno));
    int result = Lock(m_iFd, LOCK_EX | LOCK_NB);
    if (result != 0 && errno == EWOULDBLOCK)
    {
        onWait();
        result = Lock(m_iFd, LOCK_EX);
    }
    if (result != 0)
        return KvResult::Failure(path + ": cannot be locked: " + std::strerror(errno));
    return {};
}
