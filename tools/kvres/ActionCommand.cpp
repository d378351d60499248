#include "ActionCommand.h"

#include "ActionRun.h"
#include "KvresOutput.h"
#include "actions/KvActionMenu.h"
#include "host/KvProjectStore.h"
#include "host/KvResourceHost.h"
#include "host/KvSavedProject.h"
#include "reflection/KvAttributes.h"
#include "reflection/KvReflectedDataType.h"
#include "resources/KvFileSystemInterface.h"
#include "resources/KvResourceDescriptor.h"
#include "store/KvBlobHashOnly.h"
#include "store/KvJsonStore.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>

namespace
{
struct ActionOptions
{
    std::string m_strProject;
    std::string m_strResource;
    bool m_bJson = false;
    std::string m_strObject;
    std::string m_strMenu;
    std::string m_strLabel;
    bool m_bUndo = false;
};

// The text of the root object's pointer: the JSON pointer of the root is empty.
constexpr const char* kRootPointer = "/";

std::string ShownPointer(const std::string& pointer)
{
    return pointer.empty() ? kRootPointer : pointer;
}

// The one saved resource of the name, or the reason there is none.
KvResult FindResource(KvSavedProject& project, const std::string& written, KvResource*& outResource)
{
    const std::string name = ToResourceName(written);
    outResource = nullptr;
    for (const KvSmartPtr<KvResource>& pResource : project.GetResources())
    {
        if (pResource->GetName() != name)
            continue;
        if (outResource)
            return KvResult::Failure("the project holds more than one resource named '" + name + "'");
        outResource = pResource.Get();
    }
    if (!outResource)
        return KvResult::Failure("the project holds no resource named '" + name + "'");
    return {};
}

// The text the resource's raw data file would get; large byte arrays as the references they
// would be, so the text stays small.
std::string SavedText(const KvResource& resource, const KvSavedProject& project)
{
    std::ostringstream text;
    KvBlobHashOnly referencesOnly;
    KvJsonStore::SaveText(text, resource.GetDescriptor()->GetRootDataType(), resource.GetRawData(),
                          project.GetPlaceholders().GetNameOnlyTargets(), &referencesOnly);
    return text.str();
}

// A menu whose factory fails (a fatal error of the plug-in) is reported and the others listed.
int List(KvResource& resource, bool bJson)
{
    int status = 0;
    nlohmann::ordered_json listed = nlohmann::ordered_json::array();
    for (const KvResourceObject& object : KvActionMenu::ListObjects(resource))
        for (const KvAttribute_NativeAction* pMenu : KvActionMenu::GetMenus(*object.m_pType))
        {
            const std::string pointer = ShownPointer(object.m_strPointer);
            std::vector<KvSmartPtr<KvNativeAction>> actions;
            try
            {
                actions = KvActionMenu::GetActions(*pMenu, resource, object);
            }
            catch (...)
            {
                KvresOutput::Failure(pointer + " " + pMenu->GetMenuName(),
                                     KvResult::FailureOfCurrentException());
                status = 1;
            }
            for (const KvSmartPtr<KvNativeAction>& pAction : actions)
            {
                if (bJson)
                    listed.push_back({{"object", object.m_strPointer},
                                      {"menu", pMenu->GetMenuName()},
                                      {"label", pAction->GetName()}});
                else
                    std::printf("%s\t%s\t%s\n", pointer.c_str(), pMenu->GetMenuName().c_str(),
                                pAction->GetName().c_str());
            }
        }
    if (bJson)
        std::printf("%s\n", listed.dump(2).c_str());
    return status;
}

// The action of the menu with the label offered for the object, or the reason there is none.
KvResult FindAction(KvResource& resource, const ActionOptions& options, KvSmartPtr<KvNativeAction>& outAction)
{
    const std::vector<KvResourceObject> objects = KvActionMenu::ListObjects(resource);
    const std::string pointer = options.m_strObject == kRootPointer ? "" : options.m_strObject;
    const KvResourceObject* pObject = KvActionMenu::FindObject(objects, pointer);
    if (!pObject)
        return KvResult::Failure("no object at " + options.m_strObject);
    const KvAttribute_NativeAction* pMenu = KvActionMenu::FindMenu(*pObject->m_pType, options.m_strMenu);
    if (!pMenu)
        return KvResult::Failure(pObject->m_pType->GetName() + " has no menu '" + options.m_strMenu + "'");
    std::string offered;
    for (const KvSmartPtr<KvNativeAction>& pAction : KvActionMenu::GetActions(*pMenu, resource, *pObject))
    {
        if (pAction->GetName() == options.m_strLabel)
        {
            outAction = pAction;
            return {};
        }
        offered += (offered.empty() ? "" : ", ") + ("'" + pAction->GetName() + "'");
    }
    return KvResult::Failure("the menu '" + options.m_strMenu + "' offers no '" + options.m_strLabel +
                             "' here" + (offered.empty() ? "" : " (it offers " + offered + ")"));
}

// Runs the action and saves each resource it modified whose saved text changed; a resource
// back to its text before the run is left untouched, so an undone action rewrites nothing.
KvResult Run(KvSavedProject& project, KvResource& resource, const ActionOptions& options)
{
    KvSmartPtr<KvNativeAction> action;
    if (KvResult found = FindAction(resource, options, action); !found)
        return found;
    std::vector<KvResource*> modified;
    action->GetModifiedResources(modified);
    std::vector<std::string> before;
    for (const KvResource* pModified : modified)
        before.push_back(SavedText(*pModified, project));
    // Files the action writes (an export) land in the project.
    KvFileSystemInterface::GetInterface()->SetBaseFolder(options.m_strProject);
    if (KvResult ran = RunAction(action, options.m_bUndo, modified); !ran)
        return ran;

    const KvProjectStore store(options.m_strProject);
    for (size_t index = 0; index < modified.size(); ++index)
    {
        const KvResource& changed = *modified[index];
        if (index < before.size() && SavedText(changed, project) == before[index])
        {
            std::printf("unchanged %s\n", store.GetRawDataPath(changed).c_str());
            continue;
        }
        std::vector<std::string> written;
        if (KvResult saved = store.Save(changed, project.GetPlaceholders().GetNameOnlyTargets(), written);
            !saved)
            return saved;
        for (const std::string& path : written)
            std::printf("saved %s\n", path.c_str());
    }
    return {};
}
} // namespace

KvresActionCommand AddActionCommand(CLI::App& app)
{
    auto options = std::make_shared<ActionOptions>();
    CLI::App* pAction = app.add_subcommand("action", "List and run the editor actions of a saved resource");
    pAction->require_subcommand(1);
    auto addTarget = [&](CLI::App* pCommand)
    {
        pCommand->add_option("resource", options->m_strResource, "Resource name as saved (either separator)")
            ->required();
        pCommand->add_option("--project", options->m_strProject, "Project folder")->required();
    };

    CLI::App* pList = pAction->add_subcommand("list", "The actions offered for each object of the resource");
    addTarget(pList);
    pList->add_flag("--json", options->m_bJson, "An array of {\"object\", \"menu\", \"label\"}");

    CLI::App* pRun = pAction->add_subcommand("run", "Run one action and save what it modified");
    addTarget(pRun);
    pRun->add_option("--object", options->m_strObject,
                     "JSON pointer of the object in the saved file (/ for the root)")
        ->required();
    pRun->add_option("--menu", options->m_strMenu, "Menu name")->required();
    pRun->add_option("--label", options->m_strLabel, "Action label")->required();
    pRun->add_flag("--undo", options->m_bUndo, "Undo the action at once (saves only what did not come back)");

    auto run = [=](KvResourceHost& host) -> int
    {
        try
        {
            std::error_code error;
            if (!std::filesystem::is_directory(options->m_strProject, error))
            {
                std::fprintf(stderr, "kvres action: no project folder %s\n", options->m_strProject.c_str());
                return 1;
            }
            KvSavedProject project(options->m_strProject, host.GetDescriptors());
            KvResource* pResource = nullptr;
            KvResult result = FindResource(project, options->m_strResource, pResource);
            if (result && pList->parsed())
                return List(*pResource, options->m_bJson);
            if (result)
                result = Run(project, *pResource, *options);
            if (result)
                return 0;
            KvresOutput::Failure(options->m_strResource, result);
        }
        catch (...)
        {
            KvresOutput::Failure(options->m_strResource, KvResult::FailureOfCurrentException());
        }
        return 1;
    };
    return {pAction, run};
}
