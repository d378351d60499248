#!/usr/bin/env python3
"""Writes project/: a saved example project, in the JSON store's format, that the example sources
update and export from: a crate mesh with two materials (updated by
sources/props/crate_data/materials/crate.xml), a library of two render shapes, a barrel prefab and
a crate-stack prefab that places both (`kvres export-prefab prefabs/crate_stack`). Members left
out keep their defaults."""
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
