#!/usr/bin/env python3
"""Writes walk.anim.json: a 5-bone leg swinging at 30 keys per second for 2 seconds."""
import json
import math
import os

BONES = [("pelvis", -1), ("thigh", 0), ("shin", 1), ("foot", 2), ("toe", 3)]
OFFSETS = [(0.0, 1.0, 0.0), (0.1, -0.05, 0.0), (0.0, -0.45, 0.0), (0.0, -0.45, 0.0), (0.0, -0.05, 0.12)]


def axis_angle_x(radians):
    return [math.sin(radians / 2), 0.0, 0.0, math.cos(radians / 2)]


keys = []
for frame in range(61):
    time = frame / 30.0
    swing = 0.5 * math.sin(time * math.pi * 2)
    rotations = [axis_angle_x(0.0), axis_angle_x(swing), axis_angle_x(max(0.0, -swing) * 1.2),
                 axis_angle_x(0.2 * swing), axis_angle_x(0.0)]
    translations = [list(OFFSETS[0])] + [list(o) for o in OFFSETS[1:]]
    translations[0][2] = 1.2 * time
    keys.append({"time": round(time, 6), "rotations": rotations, "translations": translations})

document = {"bones": [{"name": n, "parent": p} for n, p in BONES], "keys": keys}
with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "walk.anim.json"), "w") as out:
    json.dump(document, out, indent=1)
    out.write("\n")
