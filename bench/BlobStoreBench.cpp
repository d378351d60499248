// A 64 MiB byte array (a large texture mip) saved and loaded through the blob store beside the
// same array as base64 in the document.
#include "host/KvBlobStore.h"
#include "projectdata/KvProjectData_Core_Texture.h"
#include "reflection/KvReflectionInterface.h"
#include "store/KvJsonStore.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace
{
constexpr size_t kArraySize = 64 * 1024 * 1024;

// A texture mip of kArraySize bytes and a project folder for its blob, both removed with it.
class Sample
{
public:
    Sample()
        : m_pType(KvProjectData_Core_Raw_Texture_Mip::GetReflectedDataType()),
          m_pObject(m_pType->GetObjectConstructor()->Create()),
          m_Folder(std::filesystem::temp_directory_path() / ("KvBlobStoreBench_" + std::to_string(getpid()))),
          m_Blobs(m_Folder.string())
    {
        std::vector<uint8_t>& bytes =
            static_cast<KvProjectData_Core_Raw_Texture_Mip*>(m_pObject)->m_aPixelData;
        bytes.resize(kArraySize);
        for (size_t index = 0; index < bytes.size(); ++index)
            bytes[index] = static_cast<uint8_t>(index * 2654435761u >> 24);
    }
    ~Sample()
    {
        KvReflectionInterface::GetInstance()->DestroyObject(m_pType, m_pObject);
        std::filesystem::remove_all(m_Folder);
    }

    std::string SaveText(KvBlobSink* pBlobs) const
    {
        std::ostringstream text;
        KvJsonStore::SaveText(text, m_pType, m_pObject, {}, pBlobs);
        return text.str();
    }

    const KvReflectedDataType* m_pType;
    void* m_pObject;
    std::filesystem::path m_Folder;
    KvBlobStore m_Blobs;
};

void Save(benchmark::State& state, bool bBlobs)
{
    Sample sample;
    for (auto _ : state)
        benchmark::DoNotOptimize(sample.SaveText(bBlobs ? &sample.m_Blobs : nullptr).size());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kArraySize));
}

// From the saved text, as a project is loaded.
void Load(benchmark::State& state, bool bBlobs)
{
    Sample sample;
    const std::string text = sample.SaveText(bBlobs ? &sample.m_Blobs : nullptr);
    for (auto _ : state)
    {
        void* pLoaded = KvJsonStore::Load(sample.m_pType, KvJsonStore::Json::parse(text), "bench", nullptr,
                                          &sample.m_Blobs);
        benchmark::DoNotOptimize(pLoaded);
        KvReflectionInterface::GetInstance()->DestroyObject(sample.m_pType, pLoaded);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kArraySize));
}

BENCHMARK_CAPTURE(Save, Base64, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Save, Blob, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Load, Base64, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Load, Blob, true)->Unit(benchmark::kMillisecond);
} // namespace
