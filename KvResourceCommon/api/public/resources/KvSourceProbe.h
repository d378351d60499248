#pragma once

#include "KvResourceCommonExport.h"

#include <rapidxml/rapidxml.hpp>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class KvXmlDocument;

// What the host shows the importers of an extension so that each can say whether it takes a
// source: its extension, its first bytes and, for formats told apart by their root element, the
// source parsed as XML. The source is read only as far as an importer asks, and parsed at most
// once however many importers look at its root.
class KV_RESOURCECOMMON_API KvSourceProbe
{
public:
    // Enough for any signature or XML declaration.
    static constexpr size_t kFirstBytesSize = 512;

    explicit KvSourceProbe(std::string path);
    ~KvSourceProbe();

    KvSourceProbe(const KvSourceProbe&) = delete;
    KvSourceProbe& operator=(const KvSourceProbe&) = delete;

    // The extension of a path, lower case, without the dot; empty when it has none.
    static std::string ExtensionOf(const std::string& path);

    const std::string& GetPath() const { return m_strPath; }
    const std::string& GetExtension() const { return m_strExtension; }
    // Up to kFirstBytesSize bytes from the start of the source; none when it cannot be read.
    std::string_view GetFirstBytes() const;
    // The source's root element, or null when the source cannot be read, is larger than the XML
    // importers accept or holds no element. Malformed XML goes to the fatal routine, as it does
    // for the importers themselves.
    const rapidxml::xml_node<>* GetXmlRoot() const;

private:
    std::string m_strPath;
    std::string m_strExtension;
    mutable std::optional<std::string> m_FirstBytes;
    // Set once the source has been parsed, whatever came of it.
    mutable std::unique_ptr<KvXmlDocument> m_pXml;
    mutable const rapidxml::xml_node<>* m_pXmlRoot = nullptr;
};
