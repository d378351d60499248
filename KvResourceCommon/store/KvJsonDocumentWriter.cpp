#include "store/KvJsonDocumentWriter.h"

using Json = KvJsonDocumentWriter::Json;

Json& KvJsonDocumentWriter::Place(Json value)
{
    if (m_apOpen.empty())
    {
        m_Document = std::move(value);
        return m_Document;
    }
    Json& container = *m_apOpen.back();
    if (container.is_array())
    {
        container.push_back(std::move(value));
        return container.back();
    }
    Json& member = container[m_strKey];
    member = std::move(value);
    return member;
}

void KvJsonDocumentWriter::BeginObject()
{
    m_apOpen.push_back(&Place(Json::object()));
}

void KvJsonDocumentWriter::Key(std::string_view key)
{
    m_strKey = key;
}

void KvJsonDocumentWriter::EndObject()
{
    m_apOpen.pop_back();
}

void KvJsonDocumentWriter::BeginArray()
{
    m_apOpen.push_back(&Place(Json::array()));
}

void KvJsonDocumentWriter::EndArray()
{
    m_apOpen.pop_back();
}

void KvJsonDocumentWriter::Null()
{
    Place(nullptr);
}

void KvJsonDocumentWriter::Bool(bool value)
{
    Place(value);
}

void KvJsonDocumentWriter::Unsigned(uint64_t value)
{
    Place(value);
}

void KvJsonDocumentWriter::Signed(int64_t value)
{
    Place(value);
}

void KvJsonDocumentWriter::Double(double value)
{
    Place(value);
}

void KvJsonDocumentWriter::String(std::string_view text)
{
    Place(std::string(text));
}
