#include "host/KvProjectStore.h"

#include "host/KvAtomicFileWriter.h"
#include "host/KvBlobStore.h"
#include "host/KvDescriptorRegistry.h"
#include "resources/KvResource.h"
#include "resources/KvResourceDescriptor.h"
#include "store/KvJsonStore.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <ostream>

namespace fs = std::filesystem;

namespace
{
constexpr std::string_view kRawDataSuffix = ".json";
constexpr std::string_view kPayloadSuffix = ".payload.json";
} // namespace

std::string KvProjectStore::GetBasePath(const std::string& name, const KvResourceDescriptor& type) const
{
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    return (fs::path(m_strFolder) / path).string() + "." + type.GetShortName();
}

std::string KvProjectStore::GetRawDataPath(const std::string& name, const KvResourceDescriptor& type) const
{
    return GetBasePath(name, type) + std::string(kRawDataSuffix);
}

std::string KvProjectStore::GetPayloadPath(const std::string& name, const KvResourceDescriptor& type) const
{
    return GetBasePath(name, type) + std::string(kPayloadSuffix);
}

std::string KvProjectStore::GetRawDataPath(const KvResource& resource) const
{
    return GetRawDataPath(resource.GetName(), *resource.GetDescriptor());
}

std::string KvProjectStore::GetPayloadPath(const KvResource& resource) const
{
    return GetPayloadPath(resource.GetName(), *resource.GetDescriptor());
}

bool KvProjectStore::ParseRawDataPath(const std::string& relativePath, const KvDescriptorRegistry& types,
                                      std::string& outName, const KvResourceDescriptor*& outType)
{
    const std::string_view path = relativePath;
    if (!path.ends_with(kRawDataSuffix) || path.ends_with(kPayloadSuffix) || path.starts_with('.') ||
        path.find("/.") != std::string_view::npos)
        return false;
    const std::string_view stem = path.substr(0, path.size() - kRawDataSuffix.size());
    const size_t dot = stem.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || stem[dot - 1] == '/')
        return false;
    outType = types.FindByShortName(std::string(stem.substr(dot + 1)));
    outName = stem.substr(0, dot);
    std::replace(outName.begin(), outName.end(), '/', '\\');
    return outType != nullptr;
}

KvResult KvProjectStore::CheckResourceName(const std::string& name)
{
    const auto refuse = [&](const char* why)
    {
        return KvResult::Failure("refused resource name '" + name + "': " + why);
    };
    if (name.empty())
        return refuse("it is empty");
    if (name.front() == '\\' || name.front() == '/')
        return refuse("it is absolute");
    if (name.size() >= 2 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':')
        return refuse("it names a drive");
    size_t start = 0;
    while (start <= name.size())
    {
        const size_t end = std::min(name.find_first_of("\\/", start), name.size());
        const std::string_view component(name.data() + start, end - start);
        if (component == "..")
            return refuse("it climbs out with '..'");
        if (component.empty() || component == ".")
            return refuse("it has an empty or '.' component");
        start = end + 1;
    }
    return {};
}

KvResult KvProjectStore::CheckInsideFolder(const std::string& path) const
{
    std::error_code error;
    const fs::path folder = fs::weakly_canonical(fs::absolute(m_strFolder, error), error);
    const fs::path resolved = error ? fs::path() : fs::weakly_canonical(fs::absolute(path, error), error);
    if (error)
        return KvResult::Failure(path + ": cannot be resolved: " + error.message());
    const fs::path relative = resolved.lexically_relative(folder);
    if (relative.empty() || *relative.begin() == ".." || relative == ".")
        return KvResult::Failure(path + " lies outside the project folder " + m_strFolder);
    return {};
}

KvResult KvProjectStore::Save(const KvResource& resource, const std::set<const void*>& nameOnlyTargets,
                              std::vector<std::string>& outWritten) const
{
    if (KvResult named = CheckResourceName(resource.GetName()); !named)
        return named;
    // Each file is written as it is made, so that no whole text of a large resource is held.
    struct tFile
    {
        std::string m_strPath;
        const KvReflectedDataType* m_pType;
        const void* m_pObject;
        const std::set<const void*>& m_rNameOnlyTargets;
    };
    static const std::set<const void*> s_NoTargets;
    const KvResourceDescriptor* pDescriptor = resource.GetDescriptor();
    std::vector<tFile> files = {
        {GetRawDataPath(resource), pDescriptor->GetRootDataType(), resource.GetRawData(), nameOnlyTargets}};
    if (resource.GetPayload() && pDescriptor->GetPayloadDataType())
        files.push_back({GetPayloadPath(resource), pDescriptor->GetPayloadDataType(), resource.GetPayload(),
                         s_NoTargets});

    const std::string& rawPath = files.front().m_strPath;
    if (KvResult inside = CheckInsideFolder(rawPath); !inside)
        return inside;
    std::error_code error;
    fs::create_directories(fs::path(rawPath).parent_path(), error);
    if (error)
        return KvResult::Failure(fs::path(rawPath).parent_path().string() +
                                 ": cannot be created: " + error.message());
    KvBlobStore blobs(m_strFolder);
    KvAtomicFileWriter writer;
    for (const tFile& file : files)
    {
        // A blob that cannot be stored fails the file, whose temporary then goes.
        KvResult blobFailure;
        const auto writeText = [&](std::ostream& out)
        {
            try
            {
                KvJsonStore::SaveText(out, file.m_pType, file.m_pObject, file.m_rNameOnlyTargets, &blobs);
            }
            catch (const fs::filesystem_error&)
            {
                blobFailure = KvResult::FailureOfCurrentException();
                out.setstate(std::ios::badbit);
            }
        };
        if (KvResult staged = writer.Stage(file.m_strPath, writeText); !staged)
            return blobFailure ? staged : blobFailure;
    }
    if (KvResult committed = writer.Commit(); !committed)
        return committed;
    for (const tFile& file : files)
        outWritten.push_back(file.m_strPath);
    return {};
}
