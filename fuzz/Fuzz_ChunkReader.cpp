// Drives the chunk reader with the input: the first bytes choose the operations, the rest is
// the chunk file they read.
#include "KvFuzzImport.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    KvFuzzRaiseFatalErrors();
    constexpr size_t kOperations = 16;
    if (size < kOperations)
        return 0;
    const std::unique_ptr<uint8_t[]> bytes = KvFuzzExactCopy(data + kOperations, size - kOperations);
    KvIOStream_Memory stream(bytes.get(), static_cast<uint32_t>(size - kOperations));
    try
    {
        KvChunkFileWrapper reader(&stream);
        std::string text;
        for (size_t index = 0; index < kOperations; ++index)
        {
            switch (data[index] % 6)
            {
            case 0:
                reader.PushChunk(KvChunkFileWrapper::kAnyChunk);
                break;
            case 1:
                reader.PushChunk(data[index] >> 3);
                break;
            case 2:
                reader.PopChunk();
                break;
            case 3:
                reader.ReadString(text);
                break;
            case 4:
                reader.ReadInt();
                break;
            default:
                reader.Skip(data[index]);
                break;
            }
        }
    }
    catch (const KvStructuredException&)
    {
    }
    return 0;
}
