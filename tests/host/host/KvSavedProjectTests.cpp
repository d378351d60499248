#include "host/KvSavedProject.h"
#include "resources/KvResourceDescriptor.h"
#include "support/KvPluginHost.h"
#include "support/KvTestFolder.h"
#include "support/KvTestModel.h"
#include "support/KvTestReports.h"

namespace
{
class SavedProject : public TestFolder
{
protected:
    // The project's registered types: those of the test plug-in.
    static const KvDescriptorRegistry& Types() { return PluginHost().GetDescriptors(); }
    std::string WriteNode(const std::string& relative, const std::string& name)
    {
        return Write("project/" + relative, R"({"$type": "KvTestNode", "m_strName": ")" + name + "\"}");
    }
};
} // namespace

// Raw data files of registered types are resources named by their path; payloads, hidden
// files (temporaries, staging folders) and other types are not, and a broken file is left out.
TEST_F(SavedProject, RawDataFilesOfRegisteredTypesOnly)
{
    WriteNode("meshes/rock.v2.tnode.json", "in a.b");
    WriteNode("meshes/rock.v2.tnode.payload.json", "payload");
    WriteNode("meshes/.rock.tnode.json.123", "temporary");
    WriteNode(".kvexport.1/x.tnode.json", "staged");
    WriteNode("meshes/rock.texture.json", "unknown type");
    WriteNode("lone.mesh.json", "other type");
    Write("project/broken.tnode.json", "{");
    RecordingLog log;
    KvSavedProject project(Path("project"), Types());
    std::vector<std::string> names;
    for (const KvSmartPtr<KvResource>& pResource : project.GetResources())
        names.push_back(std::string(pResource->GetDescriptor()->GetShortName()) + " " + pResource->GetName() +
                        " " + static_cast<KvTestNode*>(pResource->GetRawData())->m_strName);
    EXPECT_EQ(names, (std::vector<std::string>{"mesh lone other type", "tnode meshes\\rock.v2 in a.b"}));
    ASSERT_EQ(log.m_aEntries.size(), 1u);
    EXPECT_THAT(log.m_aEntries[0].m_strMessage, ::testing::HasSubstr("broken.tnode.json: is not valid JSON"));

    const KvResourceDescriptor* pNodeType = Types().FindByShortName("tnode");
    EXPECT_EQ(project.FindSavedRawData("meshes\\rock.v2", pNodeType),
              project.GetResources()[1]->GetRawData());
    EXPECT_EQ(project.FindSavedRawData("meshes\\rock.v2", Types().FindByShortName("mesh")), nullptr);
    EXPECT_EQ(project.FindSavedRawData("lone", pNodeType), nullptr);
    EXPECT_TRUE(KvSavedProject(Path("none"), Types()).GetResources().empty());
}
