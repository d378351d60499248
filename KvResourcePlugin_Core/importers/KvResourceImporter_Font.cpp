#include "importers/KvResourceImporter_Font.h"

#include "Foundation/KvReport.h"
#include "KvResourcePlugin_Core_Resources.h"
#include "Toolbox/KvToolboxXML.h"
#include "importers/KvImporterSupport.h"
#include "importers/KvXmlNumbers.h"
#include "projectdata/KvProjectData_Core_Font.h"

#include <cstring>

namespace
{
// Reads an unsigned attribute text into value when the attribute is present.
void ReadUnsigned(const char* text, uint32_t& value)
{
    if (text)
        value = KvXmlNumbers::ReadUnsigned(text);
}

void ReadUnsigned(const rapidxml::xml_node<>* pNode, const char* name, uint32_t& value)
{
    ReadUnsigned(KvXmlAttributeText(pNode, name), value);
}

void ReadFloat(const char* text, float& value)
{
    if (text)
        value = KvXmlNumbers::ReadFloat(text);
}

// The attributes of a char, read in one walk over each.
enum eCharAttribute
{
    ID,
    X,
    Y,
    WIDTH,
    HEIGHT,
    XOFFSET,
    YOFFSET,
    XADVANCE,
    PAGE,
};
constexpr std::array<std::string_view, 9> kCharAttributes = {
    "id", "x", "y", "width", "height", "xoffset", "yoffset", "xadvance", "page"};
} // namespace

const KvResourceDescriptor* KvResourceImporter_Font::GetResourceType() const
{
    return KvResourcePlugin_Core_Font::GetStaticDescriptor();
}

void* KvResourceImporter_Font::ConvertToRaw(void*&, KvResource* pResource, KvIOStream* pSource, void*)
{
    KvXmlDocument document;
    if (!document.Load(*pSource))
        return nullptr;
    const rapidxml::xml_node<>* pRoot = document.GetDocument().first_node();
    if (!pRoot)
    {
        KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE, "Empty debug font file!");
        return nullptr;
    }
    KvImportedData<KvProjectData_Core_Font> font;

    uint32_t pageWidth = 0;
    uint32_t pageHeight = 0;
    ReadUnsigned(pRoot->first_node("common"), "scaleW", pageWidth);
    ReadUnsigned(pRoot->first_node("common"), "scaleH", pageHeight);
    if (pageWidth == 0 || pageHeight == 0)
        KvFatalReport(KV_REPORT_SITE, "Bad font size");

    const rapidxml::xml_node<>* pInfo = pRoot->first_node("info");
    if (!pInfo)
        KvFatalReport(KV_REPORT_SITE, "missing 'info' tag");
    ReadUnsigned(pInfo, "size", font->m_ulFontSize);

    const rapidxml::xml_node<>* pPages = pRoot->first_node("pages");
    const rapidxml::xml_node<>* pPage = pPages ? pPages->first_node("page") : nullptr;
    if (!pPage)
        KvFatalReport(KV_REPORT_SITE, "No font page was present for debug font");
    if (const char* file = KvXmlAttributeText(pPage, "file"))
        font->m_strFontPage = file;

    const rapidxml::xml_node<>* pChars = pRoot->first_node("chars");
    uint32_t declaredCount = 0;
    ReadUnsigned(pChars, "count", declaredCount);
    if (declaredCount == 0)
        KvFatalReport(KV_REPORT_SITE, "No font characters were present");

    font->m_apCharacters.resize(kCharacterCount);
    const float width = static_cast<float>(pageWidth);
    const float height = static_cast<float>(pageHeight);
    // These carry over from the preceding char when absent; the first char starts from 0.
    uint32_t id = 0;
    uint32_t xOffset = 0;
    uint32_t yOffset = 0;
    uint32_t xAdvance = 0;
    uint32_t page = 0;
    for (const rapidxml::xml_node<>* pChar = pChars->first_node("char"); pChar;
         pChar = pChar->next_sibling("char"))
    {
        float x = 0.0f;
        float y = 0.0f;
        float charWidth = 0.0f;
        float charHeight = 0.0f;
        const KvXmlAttributes attributes(pChar, kCharAttributes);
        ReadUnsigned(attributes[ID], id);
        ReadFloat(attributes[X], x);
        ReadFloat(attributes[Y], y);
        ReadFloat(attributes[WIDTH], charWidth);
        ReadFloat(attributes[HEIGHT], charHeight);
        ReadUnsigned(attributes[XOFFSET], xOffset);
        ReadUnsigned(attributes[YOFFSET], yOffset);
        ReadUnsigned(attributes[XADVANCE], xAdvance);
        ReadUnsigned(attributes[PAGE], page);
        // The table holds codes 0 to 255; other codes have no slot.
        if (id >= kCharacterCount)
            continue;
        KvProjectData_Core_Font_Character& character = font->m_apCharacters[id];
        character.m_ulId = id;
        character.m_vPos = {x, y};
        character.m_vSize = {charWidth, charHeight};
        character.m_slOffsetX = static_cast<int32_t>(xOffset);
        character.m_slOffsetY = static_cast<int32_t>(yOffset);
        character.m_slAdvanceX = static_cast<int32_t>(xAdvance);
        character.m_ulPage = page;
        character.m_vUV.m_vMin = {x / width, y / height};
        character.m_vUV.m_vMax = {(x + charWidth) / width, (y + charHeight) / height};
    }
    font->m_strName = pResource ? pResource->GetName() : "";
    return font.Release();
}
