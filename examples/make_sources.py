#!/usr/bin/env python3
"""Writes the example sources under sources/: one or two of every format kvres imports."""
import os
import struct
import wave

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "sources")


def write(relative, data, mode="wb"):
    path = os.path.join(ROOT, *relative.split("/"))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, mode) as out:
        out.write(data)


def dds(width, height, mips, pixel_format, caps2, data):
    header = struct.pack("<7I44x", 124, 0x1007, height, width, 0, 0, mips)
    return b"DDS " + header + pixel_format + struct.pack("<5I", 0x1000, caps2, 0, 0, 0) + data


def pixel_format(flags, fourcc=0, bits=0, masks=(0, 0, 0, 0)):
    return struct.pack("<8I", 32, flags, fourcc, bits, *masks)


# A 4x4 checker stored blue first (BGRA), which the importer turns into RGBA.
checker = b"".join(bytes([0, 0, 255, 255]) if (x + y) % 2 else bytes([255, 255, 255, 255])
                   for y in range(4) for x in range(4))
write("textures/checker.dds", dds(4, 4, 1, pixel_format(0x41, 0, 32, (0xFF0000, 0xFF00, 0xFF, 0xFF000000)), 0, checker))
# An 8x8 DXT1 with its mips: 32, 8 and 8 bytes.
write("textures/ui_dxt1.dds", dds(8, 8, 3, pixel_format(0x4, 0x31545844), 0, bytes(range(48))))

write("fonts/debug.fnt", """<?xml version="1.0"?>
<font>
  <info face="Debug" size="16"/>
  <common lineHeight="16" base="13" scaleW="128" scaleH="64" pages="1"/>
  <pages><page id="0" file="debug_0.dds"/></pages>
  <chars count="3">
    <char id="65" x="0" y="0" width="8" height="16" xoffset="0" yoffset="0" xadvance="9" page="0"/>
    <char id="66" x="8" y="0" width="8" height="16" xoffset="0" yoffset="0" xadvance="9" page="0"/>
    <char id="32" x="16" y="0" width="1" height="1" xoffset="0" yoffset="0" xadvance="4" page="0"/>
  </chars>
</font>
""", "w")

write("input/controls.xml", """<?xml version="1.0"?>
<InputMap>
  <ElementSet name="Jump">
    <Element type="button" button="BUTTON_A"/>
    <Element type="key" button="space"/>
  </ElementSet>
  <ElementSet name="Look">
    <Element type="analog" control="ANALOGCONTROL_MOUSE_X" trigger_value="0.25"/>
  </ElementSet>
  <Input name="jump" typematic="no"><Set name="Jump"/></Input>
  <Input name="look" typematic="yes"><Set name="Look"/></Input>
  <Controller>
    <Button name="BUTTON_A" button_index="0"/>
    <Axis name="ANALOGCONTROL_LEFT_THUMB_X" axis_index="1"/>
  </Controller>
</InputMap>
""", "w")

# The materials of the example project's crate mesh (examples/project), which the file updates.
write("props/crate_data/materials/crate.xml", r"""<?xml version="1.0"?>
<MaterialFile>
  <Materials>
    <Material name="Wood" diffuse="Data\Textures\Props\Crate_D.dds" normalmap="Data\Textures\Props\Crate_N.dds"
              specularmap="Data\Textures\Props\Crate_S.dds" specmul="2" specexp="16" Lighting="Lightmapping">
      <Shader paramstring="materialambient=1,0.5,0,1;globallightmapmask=0.25"/>
    </Material>
    <Material name="Metal" diffuse="Data\Textures\Props\Bands_D.dds" specmul="0.5" transparency="colorkey"
              alphathreshold="0.25">
      <Shader paramstring="rimlightparam=1,2,0.5,0;rimlightcolor=0.2,0.4,1,1"/>
    </Material>
  </Materials>
</MaterialFile>
""", "w")

write("en_us.i18n", b"menu.start=Start\r\nmenu.quit=Quit\r\nintro=Welcome\\nto the game\r\n")
write("fr_fr.i18n", b"menu.start=Commencer\r\nmenu.quit=Quitter\r\n")


def chunk_string(text):
    encoded = text.encode()
    return struct.pack("<I", len(encoded)) + encoded


def stage_record():
    # No items; a marker other than 0xFFFFFFFF ends the record.
    return struct.pack("<BIII", 0, 0, 0, 0) + struct.pack("<I", 0)


def shader_pass(name, version):
    record = struct.pack("<B", version) + chunk_string(name)
    record += struct.pack("<I", 0xFFFFFFFF) + struct.pack("<I", 4) + b"\0\0\0\0"
    record += bytes(8) + bytes(16) + bytes(17) + bytes(25) + bytes(15) + bytes(2) + bytes(8)
    # Six stage records in every version: four, a u32 from version 2 on, two more.
    record += stage_record() * 4
    if version >= 2:
        record += bytes(4)
    record += stage_record() * 2
    if version >= 3:
        record += stage_record()
    return record


payload = struct.pack("<I", 2) + shader_pass("LitOpaque", 3) + shader_pass("LitAlphaTest", 1)
chunk = struct.pack("<iII", 0, 0x53484452, len(payload)) + payload + struct.pack("<iI", 0, 0x53484452)
write("shaders/lit.shaderbin/dx11/lit.vshaderbin", struct.pack("<II", 1, 0) + chunk + struct.pack("<i", -1))

os.makedirs(os.path.join(ROOT, "audio"), exist_ok=True)
with wave.open(os.path.join(ROOT, "audio", "beep.wav"), "wb") as tone:
    tone.setnchannels(1)
    tone.setsampwidth(1)
    tone.setframerate(8000)
    tone.writeframes(bytes((128 + (40 if (i // 4) % 2 else -40)) for i in range(400)))

write("ui/menu.gfx", b"GFX\x0a" + bytes(range(28)))

# A camp: meshes (one placed under another), campfire smoke and light, a nested prefab, the scene
# lighting with its sky box, and a terrain shape the editor does not keep.
write("prefabs/camp.prefab", r"""<?xml version="1.0"?>
<prefab name="camp">
  <shape class="StaticMeshShape">
    <property name="ShapeName" value="Tent"/>
    <property name="Orientation" value="45,0,0"/>
    <property name="MeshFileName" value="Models\StaticMeshes\Camp\Tent.vmesh"/>
    <shape class="StaticMeshShape">
      <property name="ShapeName" value="Rock"/>
      <property name="Position" value="2.5,0,-1"/>
      <property name="Scaling" value="1.5,1.5,1.5"/>
      <property name="MeshFileName" value="Models\Static Meshes\Rock A.vmesh"/>
    </shape>
  </shape>
  <shape class="ParticleGroupShape">
    <property name="ShapeName" value="Campfire smoke"/>
    <property name="Position" value="1,0,1"/>
    <property name="EffectFile" value="Particles\Smoke.xml"/>
  </shape>
  <shape class="DynLightShape">
    <property name="ShapeName" value="Campfire light"/>
    <property name="Position" value="1,0.5,1"/>
    <property name="LightColor" value="255,160,64"/>
    <property name="Multiplier" value="1.5"/>
    <property name="Radius" value="8"/>
  </shape>
  <shape class="PrefabShape">
    <property name="ShapeName" value="Barrel"/>
    <property name="Position" value="-2,0,0.5"/>
    <property name="Filename" value="Prefabs\Props\Barrel.prefab"/>
  </shape>
  <shape class="KvSceneLighting">
    <property name="ShapeName" value="DEFAULT"/>
    <property name="LightColor" value="0xC0,0xD0,0xFF"/>
    <property name="FogStart" value="50"/>
    <property name="FogEnd" value="400"/>
    <property name="Skybox" value="Textures\Sky\Dusk.dds"/>
  </shape>
  <shape class="TerrainShape">
    <property name="ShapeName" value="Ground"/>
  </shape>
</prefab>
""", "w")
