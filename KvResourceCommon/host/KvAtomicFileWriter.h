#pragma once

#include "KvResourceCommonExport.h"
#include "host/KvResult.h"

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

// Replaces files whole. Each file is first written to a temporary file in its own folder and
// synced to disk; Commit then renames the temporaries over their targets. A failed write, a
// full disk or a process killed before Commit leaves every previous file intact, and several
// files staged together are replaced together, one right after the other.
class KV_RESOURCECOMMON_API KvAtomicFileWriter
{
public:
    // The system call the bytes go through, replaceable so that tests can fill a disk.
    using tWriteFunction = std::function<ssize_t(int fd, const void* pData, size_t size)>;

    KvAtomicFileWriter();
    explicit KvAtomicFileWriter(tWriteFunction write);
    // Removes the temporaries of files not committed.
    ~KvAtomicFileWriter();

    KvAtomicFileWriter(const KvAtomicFileWriter&) = delete;
    KvAtomicFileWriter& operator=(const KvAtomicFileWriter&) = delete;

    // Writes what `writeContents` puts into the stream beside the target, in pieces as it
    // comes, and syncs it; the target is untouched. Fails with "<target>: cannot be written:
    // <system reason>".
    using tContentsFunction = std::function<void(std::ostream& out)>;
    KvResult Stage(const std::string& targetPath, const tContentsFunction& writeContents);
    KvResult Stage(const std::string& targetPath, std::string_view contents);
    // Renames every staged file over its target in staging order and syncs their folders.
    // Fails with the reason of the first rename that fails; the files after it stay as they
    // were.
    KvResult Commit();

private:
    struct tStagedFile
    {
        std::string m_strTemporary;
        std::string m_strTarget;
    };

    void RemoveTemporaries();

    tWriteFunction m_Write;
    std::vector<tStagedFile> m_aStaged;
};
