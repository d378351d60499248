#include "FileView.h"

#include <fcntl.h>
#include <stdexcept>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

FileView::FileView(const std::string& path, std::size_t maxSize)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status = {};
    if (fd < 0 || fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
    {
        if (fd >= 0)
            close(fd);
        throw std::runtime_error(path + ": cannot be opened");
    }
    if (static_cast<std::size_t>(status.st_size) > maxSize)
    {
        close(fd);
        throw std::runtime_error(path + ": is larger than " + std::to_string(maxSize >> 20) + " MiB");
    }
    m_uiSize = static_cast<std::size_t>(status.st_size);
    // An empty file maps nothing and reads as empty text.
    if (m_uiSize > 0)
    {
        m_pData = mmap(nullptr, m_uiSize, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (m_pData == MAP_FAILED)
        {
            m_pData = nullptr;
            close(fd);
            throw std::runtime_error(path + ": cannot be read");
        }
    }
    close(fd);
}

FileView::~FileView()
{
    if (m_pData != nullptr)
        munmap(m_pData, m_uiSize);
}
