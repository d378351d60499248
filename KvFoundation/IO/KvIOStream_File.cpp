#include "IO/KvIOStream_File.h"

#include "Foundation/KvReport.h"
#include "IO/KvPathConversion.h"
#include "TypeManager/KvObjectFactory.h"
#include "src/foundation/KvPlatformFile.h"

KV_IMPLEMENT_TYPED_CLASS(KvIOStream_File)

namespace
{
constexpr const char* kFile = "IO\\KvIOStream_File_Win32";
}

KvIOStream_File::~KvIOStream_File()
{
    if (m_pFile)
        std::fclose(m_pFile);
}

bool KvIOStream_File::Open(const char* path, uint32_t mode)
{
    m_strFileName = path ? path : "";
    if (m_strFileName.empty())
        return false;
    if (m_pFile)
        KvFatalReport({kFile, "KvIOStream_File::Open", 34}, "File '%s' has already been opened", path);

    const char* openMode = mode == MODE_READ ? "rb" : mode == MODE_WRITE ? "wb" : "ab";
    m_pFile = KvPlatform::OpenFileWide(KvConvertPathToUtf16(path), openMode);
    if (!m_pFile)
        return false;

    fseeko(m_pFile, 0, SEEK_END);
    m_ulSize = static_cast<uint64_t>(ftello(m_pFile));
    fseeko(m_pFile, 0, SEEK_SET);
    return true;
}

void KvIOStream_File::Close()
{
    if (!m_pFile)
        KvFatalReport({kFile, "KvIOStream_File::Close", 52},
                      "File '%s' has already been closed, or was never opened", m_strFileName.c_str());
    std::fflush(m_pFile);
    std::fclose(m_pFile);
    m_strFileName.clear();
    m_pFile = nullptr;
    m_ulSize = 0;
}

bool KvIOStream_File::IsEOF()
{
    if (!m_pFile)
        KvFatalReport({kFile, "KvIOStream_File::IsEOF", 62}, "No file handle opened!");
    return std::feof(m_pFile) != 0;
}

int KvIOStream_File::Seek(uint64_t position)
{
    if (!m_pFile)
        KvFatalReport({kFile, "KvIOStream_File::Seek", 68}, "No file handle opened!");
    return fseeko(m_pFile, static_cast<off_t>(position), SEEK_SET);
}

uint64_t KvIOStream_File::Read(void* pBuffer, uint64_t count)
{
    return m_pFile ? std::fread(pBuffer, 1, count, m_pFile) : 0;
}

uint64_t KvIOStream_File::Write(const void* pBuffer, uint64_t count)
{
    return m_pFile ? std::fwrite(pBuffer, 1, count, m_pFile) : 0;
}

uint64_t KvIOStream_File::Tell()
{
    return m_pFile ? static_cast<uint64_t>(ftello(m_pFile)) : 0;
}
