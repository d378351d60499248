#include "projectdata/KvProjectData_Core_RenderPipeline.h"
#include "reflection/KvReflectedDataTypeBuilder.h"
#include "support/KvReflectedData.h"

#include <gtest/gtest.h>

namespace
{
using Pin = KvProjectData_Core_RenderNodePin;

struct KvTestHandlerLayout
{
    float m_fValue = 2.5f;
};

std::vector<KvReflectedObjCtorContext*> PinContexts()
{
    std::vector<KvReflectedObjCtorContext*> contexts;
    Pin::GetConstructContexts(contexts, Pin::GetReflectedDataType(), nullptr, nullptr);
    return contexts;
}
} // namespace

TEST(RenderPins, KindsInMenuOrderWithCodes)
{
    std::vector<KvReflectedObjCtorContext*> contexts = PinContexts();
    ASSERT_EQ(contexts.size(), 10u);
    const char* labels[] = {"Texture", "Render Target", "Swap Chain", "Shader", "Float",
                            "Float2",  "Float3",        "Float4",     "Camera", "Bool"};
    const uintptr_t codes[] = {0, 13, 8, 1, 9, 10, 11, 12, 7, 14};
    for (size_t index = 0; index < contexts.size(); ++index)
    {
        EXPECT_EQ(contexts[index]->m_strLabel, labels[index]);
        EXPECT_EQ(contexts[index]->m_SourceValue, codes[index]);
    }
    Pin texture(*contexts[0]);
    Pin renderTarget(*contexts[1]);
    EXPECT_EQ(texture.m_eType, 0u);
    EXPECT_EQ(renderTarget.m_eType, 13u);
    EXPECT_EQ(renderTarget.m_strPinName, "Render Target");
    EXPECT_EQ(texture.m_pDataType, KvProjectData_Core_RenderNodePinData_Texture::GetReflectedDataType());
    EXPECT_EQ(renderTarget.m_pDataType, texture.m_pDataType);
    ASSERT_NE(texture.m_pPinData, nullptr);
    for (Pin* pPin : {&texture, &renderTarget})
        pPin->m_pDataType->GetObjectConstructor()->Destroy(pPin->m_pPinData);
    for (KvReflectedObjCtorContext* pContext : contexts)
        delete pContext;
}

TEST(RenderNodes, LayoutsFoundByHandlerName)
{
    for (const char* suffix : {"_Input", "_Output"})
    {
        KvReflectedDataTypeBuilder builder((std::string("KvTestHandler") + suffix).c_str(),
                                           sizeof(KvTestHandlerLayout),
                                           new ObjectConstructor<KvTestHandlerLayout>());
        builder.AddMember("m_fValue", &KvTestHandlerLayout::m_fValue);
        builder.SealDeclaration();
    }
    const OwnedData<KvProjectData_Core_RenderNode> pNode(new KvProjectData_Core_RenderNode("KvTestHandler"));
    EXPECT_EQ(pNode->m_strDisplayName, "Render Node: KvTestHandler");
    ASSERT_NE(pNode->m_pInputNodeDataType, nullptr);
    EXPECT_EQ(pNode->m_pInputNodeDataType->GetName(), "KvTestHandler_Input");
    EXPECT_EQ(pNode->m_pOutputNodeDataType->GetName(), "KvTestHandler_Output");
    EXPECT_EQ(static_cast<KvTestHandlerLayout*>(pNode->m_pNodeInputData)->m_fValue, 2.5f);

    const OwnedData<KvProjectData_Core_RenderNode> pBare(
        new KvProjectData_Core_RenderNode("KvNoLayoutHandler"));
    EXPECT_EQ(pBare->m_pInputNodeDataType, nullptr);
    EXPECT_EQ(pBare->m_pNodeOutputData, nullptr);
}
