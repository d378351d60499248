#include "Host/KvProjectLock.h"

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

KvProjectLock::eResult KvProjectLock::Acquire(const std::string& folder, bool bWait, std::string& outError)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
    {
        outError = folder + ": cannot be created: " + error.message();
        return eResult::Failed;
    }
    const std::string path = (std::filesystem::path(folder) / ".kvlock").string();
    if (m_iFd >= 0)
        close(m_iFd);
    m_iFd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (m_iFd < 0)
    {
        outError = path + ": cannot be opened: " + std::strerror(errno);
        return eResult::Failed;
    }
    int result;
    do
        result = flock(m_iFd, LOCK_EX | (bWait ? 0 : LOCK_NB));
    while (result != 0 && errno == EINTR);
    if (result == 0)
        return eResult::Acquired;
    if (errno == EWOULDBLOCK)
        return eResult::Busy;
    outError = path + ": cannot be locked: " + std::strerror(errno);
    return eResult::Failed;
}
