#include "Resources/KvResourceCooker.h"

#include "IO/KvIOStream.h"
#include "Resources/KvResourceDescriptor.h"
#include "Store/KvJsonStore.h"

bool KvResourceCooker_Passthrough::Cook(const void* pRawData, uint32_t, KvIOStream& output)
{
    if (!pRawData)
        return false;
    const std::string text = KvJsonStore::Save(m_pDescriptor->GetRootDataType(), pRawData).dump();
    return output.Write(text.data(), text.size()) == text.size();
}
