#!/usr/bin/env python3
"""Writes project/: a saved example project, in the JSON store's format, that the example sources
update and export from: a crate mesh with two materials (updated by
sources/props/crate_data/materials/crate.xml), a library of two render shapes, a barrel prefab and
a crate-stack prefab that places both (`kvres export-prefab prefabs/crate_stack`), and what the
editor actions work on (`kvres action`): a guard post whose actor "Mob" can become an instance of
the watchtower, a door mesh whose materials the "Rendering" actions rebind, and the render passes,
shader passes and mesh-decal materials those actions look up by name. Members left out keep their
defaults."""
import json
import os

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "project")
MESH = "props\\crate_data\\materials\\crate"


def write(relative, document):
    path = os.path.join(ROOT, *relative.split("/"))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as out:
        json.dump(document, out, indent=2)
        out.write("\n")


def xref(type_name, name):
    return {"$xref": type_name, "name": name}


def shape(name):
    return xref("KvProjectData_Core_Raw_RenderShapeMesh", name)


def material(name):
    slots = [{"$type": "KvProjectData_Core_Raw_MaterialTextureSlot", "m_strSlotName": slot}
             for slot in ("diffuse", "normal", "specular")]
    return {"$type": "KvProjectData_Core_Raw_MaterialInfo", "m_strName": MESH + "\\" + name,
            "m_pDefaultMaterial": {"$type": "KvProjectData_Core_Raw_Material", "m_strName": name,
                                   "m_apTextureSlots": slots}}


def space(position, ypr=(0, 0, 0)):
    return {"$type": "KvTransformSpace", "m_vPosition": list(position), "m_vYPR": list(ypr)}


def actor(name, local, world, children=(), **links):
    entry = {"$type": "KvProjectData_Core_Raw_ActorEntry",
             "m_pTransform": {"$type": "KvProjectData_Core_Raw_KvObjectTransform",
                              "m_LocalTransform": space(*local), "m_WorldTransform": space(*world)},
             "m_strName": name}
    entry.update(links)
    entry["m_apChildren"] = list(children)
    return entry


write("props/crate_data/materials/crate.mesh.json",
      {"$type": "KvProjectData_Core_Raw_Mesh", "m_strName": MESH,
       "m_aMaterials": [material("wood"), material("metal")]})

write("shapes/props.rendershapelibrary.json",
      {"$type": "KvProjectData_Core_RenderShapeLibrary_TopLevel",
       "m_apMeshShapes": [{"$type": "KvProjectData_Core_Raw_RenderShapeMesh", "m_strName": "crate",
                           "m_pCollisionMesh": xref("KvProjectData_Core_Raw_Mesh", MESH)},
                          {"$type": "KvProjectData_Core_Raw_RenderShapeMesh", "m_strName": "barrel"}]})

write("prefabs/barrel.actorprefab.json",
      {"$type": "KvProjectData_Core_Raw_ActorPrefab", "m_pDefaultEditorShape": shape("barrel")})

# The top crate sits one unit above the bottom one, turned by 45 degrees; the barrel has no
# shape of its own and is drawn with its prefab's.
top = actor("crate_top", ((0, 1, 0), (45, 0, 0)), ((1.5, 1, -2), (45, 0, 0)),
            m_pDefaultEditorShape=shape("crate"))
write("prefabs/crate_stack.actorprefab.json",
      {"$type": "KvProjectData_Core_Raw_ActorPrefab", "m_strDescription": "Crates and a barrel",
       "m_apActors": [actor("crate_bottom", ((1.5, 0, -2),), ((1.5, 0, -2),), [top],
                            m_pDefaultEditorShape=shape("crate")),
                      actor("barrel", ((-1, 0, 0.5),), ((-1, 0, 0.5),),
                            m_pPrefab=xref("KvProjectData_Core_Raw_ActorPrefab", "prefabs\\barrel"))],
       "m_pDefaultEditorShape": shape("crate")})


# Editor actions. The guard post instances the crate stack below a child actor, so its 'mob' menu
# offers only the watchtower; its mob carries a component and an editor shape that the action
# takes away.
mob = actor("Mob", ((0, 0, 3),), ((0, 0, 3),), m_pDefaultEditorShape=shape("barrel"))
mob["m_apComponents"] = [{"$type": "KvProjectData_Core_Raw_ActorComponent", "m_strName": "KvActorComponent_MeshShape",
                          "m_pDataType": "KvActorComponent_MeshShape",
                          "m_pData": {"$type": "KvActorComponent_MeshShape"}}]
stack = actor("stack", ((2, 0, 0),), ((2, 0, 2),),
              m_pPrefab=xref("KvProjectData_Core_Raw_ActorPrefab", "prefabs\\crate_stack"))
write("prefabs/guard_post.actorprefab.json",
      {"$type": "KvProjectData_Core_Raw_ActorPrefab", "m_strDescription": "A guard beside crates",
       "m_apActors": [mob, actor("yard", ((0, 0, 2),), ((0, 0, 2),), [stack])]})
write("prefabs/watchtower.actorprefab.json",
      {"$type": "KvProjectData_Core_Raw_ActorPrefab",
       "m_apActors": [actor("tower", ((0, 0, 0),), ((0, 0, 0),), m_pDefaultEditorShape=shape("crate"))]})


def named(type_name, name, **members):
    return {"$type": type_name, "m_strName": name, **members}


PASS = "KvProjectData_Core_Raw_RenderPass"
write("rendering/pipeline.renderpipeline.json",
      {"$type": "KvProjectData_Core_RenderPipeline_TopLevel",
       "m_apRenderPasses": [named(PASS, name) for name in ("gbuffer", "gbuffer_noSSAO", "gbuffer_door", "shadow")]})
write("rendering/lpp.shader.json",
      {"$type": "KvProjectData_Core_Raw_Shader",
       "m_apShaders": [named("KvCompiledShaderPass_Ref", name) for name in (
           "LPP_GBuffer_Default", "LPP_GBuffer_Default_Skinned", "LPP_GBuffer_AlphaTest",
           "LPP_GBuffer_AlternateLight", "LPP_GBuffer_AlternateLight_Skinned",
           "LPP_GBuffer_AlternateLight_AlphaTest", "LPP_GBuffer_AlternateLight_Skinned_AlphaTest",
           "Mq_Door_GBuffer_AlphaTest", "Mq_Door_GBuffer_Alpha", "Shadow_Default")]})
for decal in ("meshdecal_stenciltag", "meshdecal_cull"):
    write("meshdecals/" + decal + ".material.json", named("KvProjectData_Core_Raw_Material", "meshdecals\\" + decal))


def bindings(*pairs):
    return [{"$type": "KvProjectData_Core_Raw_MaterialPassBinding", "m_pRenderPass": xref(PASS, render_pass),
             "m_pShader": xref("KvCompiledShaderPass_Ref", shader)} for render_pass, shader in pairs]


# The door's materials: drawn with ambient occlusion, alpha-blended with an override already
# in place, and a culling material, so that each action has bindings to change and the decal
# action finds an interior, an exterior and a skipped material.
write("props/door/door.mesh.json",
      {"$type": "KvProjectData_Core_Raw_Mesh", "m_strName": "props\\door\\door",
       "m_apMaterials": [
           named("KvProjectData_Core_Raw_Material", "door",
                 m_apBindings=bindings(("gbuffer", "LPP_GBuffer_Default"), ("shadow", "Shadow_Default"))),
           named("KvProjectData_Core_Raw_Material", "door_alpha",
                 m_apBindings=bindings(("gbuffer", "LPP_GBuffer_AlphaTest"), ("shadow", "Shadow_Default"),
                                       ("gbuffer_noSSAO", "LPP_GBuffer_AlternateLight_AlphaTest"))),
           named("KvProjectData_Core_Raw_Material", "door_cull")]})
