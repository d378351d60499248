#include "host/KvProjectStore.h"

#include "host/KvAtomicFileWriter.h"
#include "resources/KvResource.h"
#include "resources/KvResourceDescriptor.h"
#include "store/KvJsonStore.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace fs = std::filesystem;

std::string KvProjectStore::GetBasePath(const KvResource& resource) const
{
    std::string name = resource.GetName();
    std::replace(name.begin(), name.end(), '\\', '/');
    return (fs::path(m_strFolder) / name).string() + "." + resource.GetDescriptor()->GetShortName();
}

std::string KvProjectStore::GetRawDataPath(const KvResource& resource) const
{
    return GetBasePath(resource) + ".json";
}

std::string KvProjectStore::GetPayloadPath(const KvResource& resource) const
{
    return GetBasePath(resource) + ".payload.json";
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
    KvAtomicFileWriter writer;
    for (const tFile& file : files)
    {
        const auto writeText = [&file](std::ostream& out)
        {
            KvJsonStore::SaveText(out, file.m_pType, file.m_pObject, file.m_rNameOnlyTargets);
        };
        if (KvResult staged = writer.Stage(file.m_strPath, writeText); !staged)
            return staged;
    }
    if (KvResult committed = writer.Commit(); !committed)
        return committed;
    for (const tFile& file : files)
        outWritten.push_back(file.m_strPath);
    return {};
}
