#include "resources/KvResourceCooker.h"

#include "IO/KvIOStream.h"
#include "resources/KvResourceDescriptor.h"
#include "store/KvJsonStore.h"

bool KvResourceCooker_Passthrough::Cook(const void* pRawData, uint32_t, KvIOStream& output)
{
    if (!pRawData)
        return false;
    const std::string text = KvJsonStore::Save(m_pDescriptor->GetRootDataType(), pRawData).dump();
    return output.Write(text.data(), text.size()) == text.size();
}
