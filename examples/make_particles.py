#!/usr/bin/env python3
"""Writes the example particle effects under particles/: campfire smoke (the effect the camp
prefab names) and sparks with a spray of embers that each spark leaves when it dies."""
import os

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "particles")


def write(name, text):
    os.makedirs(ROOT, exist_ok=True)
    with open(os.path.join(ROOT, name), "w") as out:
        out.write(text)


# Soft billboards rising from a sphere, fading through an alpha curve, a 4x4 frame sheet of
# which every frame is used (-1), growing along a size curve.
write("smoke.xml", r"""<?xml version="1.0" encoding="utf-8"?>
<particlelayer>
  <groupdescriptor>
    <description name="Smoke" description="Campfire smoke"/>
    <defaultemitter type="Sphere" radius="0.4" mask="">
      <startupfillpercentage average="0.5" variation="0"/>
      <frequency average="12" variation="2"/>
      <countlookup time="6" randomofs="FALSE">
        <curve numpoints="3">
          <point pos="0,1" t_in="0,0" t_out="0.3,0"/>
          <point pos="0.5,0.6" t_in="-0.2,0" t_out="0.2,0"/>
          <point pos="1,1" t_in="-0.3,0" t_out="0,0"/>
        </curve>
      </countlookup>
      <direction coneangle="25" conemode="AllDims"/>
    </defaultemitter>
    <group topology="Billboards" localspace="FALSE" localpos="0,0,0.2" usetcurve="FALSE">
      <groupsorting sortkey="2"/>
      <lifetime average="-1" variation="0"/>
      <timescale average="1" variation="0"/>
      <texture filename="..\..\Textures\Particles\Smoke_4x4.DDS" transparency="2" sizeaspect="1"
               animationsubdiv="4,4" usedframes="-1" center="0.5,0.6"/>
      <lighting modcolor="180,170,160,200" usescenebrightness="TRUE" applyscenebrightness="0.8"
                defaultscenebrightness="128,128,128,255"/>
      <Shader effect="Particles.fx" paramstring="softness=0.5"/>
      <visibility boundingbox="-3,-3,0,3,3,8" softparticles="TRUE" filtermask="ffff" fadeMode="Fog"
                  fadeStart="60" fadeEnd="120"/>
    </group>
    <particles>
      <particlesorting enabled="TRUE"/>
      <lifetime average="5" variation="1.5"/>
      <color>
        <colorcurve>
          <curve_alpha numpoints="3">
            <point pos="0,0"/>
            <point pos="0.2,1"/>
            <point pos="1,0"/>
          </curve_alpha>
        </colorcurve>
      </color>
      <size>
        <start average="0.6" variation="0.2"/>
        <growth average="0.8" variation="0.3"/>
        <curve numpoints="2"><point pos="0,0.5"/><point pos="1,2"/></curve>
      </size>
      <animation mode="1" startrandomframe="TRUE" smooth="TRUE"><animtime average="4" variation="0.5"/></animation>
      <speed average="0.6" variation="0.2"/>
      <rotation mode="ConstSpeed" initialangle="0,360" rotationspeed="-20,20"/>
      <physics gravity="0.35" friction="0.4"><inertia average="0.5" variation="0.1"/></physics>
    </particles>
  </groupdescriptor>
</particlelayer>
""")

# Stretched sparks shot from a ray; each leaves a few embers of the second group when it dies.
write("sparks.xml", r"""<?xml version="1.0" encoding="utf-8"?>
<particlelayer>
  <groupdescriptor>
    <description name="Sparks" description="Sparks of a welding torch"/>
    <defaultemitter type="ray" length="0.3" radius="5">
      <fixparticlecount average="40" variation="10"/>
      <direction coneangle="10,35" conemode="yaw"/>
    </defaultemitter>
    <group topology="StretchVelocity">
      <delay average="0.1" variation="0.05"/>
      <texture filename="Textures\Particles\Spark.dds" normalmap="..\Textures\Particles\Spark_N.dds"
               transparency="1"/>
      <lighting modcolor="255,200,120,255" usescenebrightness="0" makecolorgradient="true"
                randomcolor="Textures\Particles\SparkColors.dds"/>
      <visibility boundingbox="-1,-1,-1,1,1,1" handlewhenvisible="1" depthofs="0.05"/>
    </group>
    <particles>
      <lifetime average="0.8" variation="0.3"/>
      <distortion enabled="TRUE" planealigned="FALSE">
        <fixlength average="-1" variation="0"/>
        <speedmultiplier average="0.02" variation="0.005"/>
        <sizemode enabled="TRUE" sizemultiplier="1,1,0.5,0.5"/>
      </distortion>
      <size><start average="0.03" variation="0.01"/><growth average="0" variation="0"/></size>
      <speed average="6" variation="2"/>
      <physics gravity="0,0,-9.81" friction="0.1" emitterspeed="0.5" constraintbitmask="0x0F"
               gravityinertia="FALSE"/>
      <ondestroy repeat="FALSE">
        <newparticlecount average="3" variation="1"/>
        <newparticletype groupname="Embers" copyflags="3"/>
      </ondestroy>
    </particles>
    <optional customInt="7"/>
  </groupdescriptor>
  <groupdescriptor>
    <description name="Embers" description="Glowing embers left by the sparks"/>
    <defaultemitter type="point">
      <frequency average="0" variation="0"/>
    </defaultemitter>
    <group topology="billboards">
      <texture filename="Textures\Particles\Ember.dds" animationsubdiv="2,2" usedframes="3"/>
    </group>
    <particles>
      <lifetime average="1.5" variation="0.5"/>
      <normal enabled="TRUE" dir="0,0,1,0"/>
      <speed average="1" variation="0.5"/>
      <physics gravity="-2"/>
    </particles>
  </groupdescriptor>
</particlelayer>
""")
