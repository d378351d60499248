#include "resources/KvSourceProbe.h"

#include "IO/KvIOStream_File.h"
#include "Toolbox/KvToolboxXML.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

KvSourceProbe::KvSourceProbe(std::string path)
    : m_strPath(std::move(path)), m_strExtension(ExtensionOf(m_strPath))
{
}

KvSourceProbe::~KvSourceProbe() = default;

std::string KvSourceProbe::ExtensionOf(const std::string& path)
{
    std::string extension = std::filesystem::path(path).extension().string();
    if (!extension.empty())
        extension.erase(0, 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

std::string_view KvSourceProbe::GetFirstBytes() const
{
    if (!m_FirstBytes)
    {
        m_FirstBytes.emplace();
        KvIOStream_File stream;
        if (stream.Open(m_strPath.c_str(), KvIOStream::MODE_READ))
        {
            m_FirstBytes->resize(kFirstBytesSize);
            m_FirstBytes->resize(stream.Read(m_FirstBytes->data(), kFirstBytesSize));
            stream.Close();
        }
    }
    return *m_FirstBytes;
}

const rapidxml::xml_node<>* KvSourceProbe::GetXmlRoot() const
{
    if (!m_pXml)
    {
        m_pXml = std::make_unique<KvXmlDocument>();
        KvIOStream_File stream;
        if (stream.Open(m_strPath.c_str(), KvIOStream::MODE_READ))
        {
            if (m_pXml->Load(stream))
                m_pXmlRoot = m_pXml->GetDocument().first_node();
            stream.Close();
        }
    }
    return m_pXmlRoot;
}
