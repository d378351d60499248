#include "resources/KvResourceImporter.h"

bool KvResourceImporter::ConvertResourceName(std::string& name)
{
    const size_t separator = name.find_last_of("\\/");
    const size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator))
        return false;
    name.erase(dot);
    return true;
}

std::string KvResourceImporter::GetOriginalFileName(const std::string& name)
{
    return name + "." + GetExtension();
}

bool KvResourceImporter::ShouldCreateResource()
{
    return true;
}

void KvResourceImporter::AppendTempXRef(std::vector<KvTempXRef>&) {}

void KvResourceImporter::GetMinimumTimeStampFile(std::string& outPath) const
{
    outPath.clear();
}

void KvResourceImporter::AddReferenceImporter(KvResourceImporter* pImporter)
{
    m_apReferenceImporters.push_back(pImporter);
}

eSourceRecognition KvResourceImporter::RecognizeSource(const KvSourceProbe&) const
{
    return SOURCE_TAKEN_BY_DEFAULT;
}
