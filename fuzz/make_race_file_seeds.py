#!/usr/bin/env python3
"""Writes the seed corpus of fuzz_race_file into fuzz/corpus/race_file/.

Every seed races on the same tiny track (8 x 6 pixels: black frame and wall, green start, red
finish, white way between them), stored as a 24-bit bitmap:

  confirmed.kfrace  Ann and Bo, both runs hold up (entries deflated)
  disputed.kfrace   Ann holds up; Cy runs into the wall, Di's times go backwards, Ed claims a
                    millisecond less than his path took
  stored.kfrace     Ann alone, every entry stored without compression

The checker's tests (tests/check/check_cli.sh) verify these files too. The seeds are
committed; run this again only to change them:

    python3 fuzz/make_race_file_seeds.py
"""

import hashlib
import json
import pathlib
import struct
import zipfile

K, W, G, R = (0, 0, 0), (255, 255, 255), (0, 255, 0), (255, 0, 0)

# Top row first, as the track is seen.
TRACK = [
    [K, K, K, K, K, K, K, K],
    [K, G, W, W, W, W, R, K],
    [K, G, W, K, K, W, R, K],
    [K, W, W, K, K, W, W, K],
    [K, W, W, W, W, W, W, K],
    [K, K, K, K, K, K, K, K],
]


def bitmap():
    width, height = len(TRACK[0]), len(TRACK)
    rows = b""
    for row in reversed(TRACK):
        line = b"".join(bytes((b, g, r)) for r, g, b in row)
        rows += line + b"\0" * (-len(line) % 4)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 0, 0, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + 40 + len(rows), 0, 0, 54) + info + rows


def path(points):
    return struct.pack("<BI", 1, len(points)) + b"".join(
        struct.pack("<hhI", x, y, ms) for x, y, ms in points)


# Board pixels and milliseconds since the press.
RUNS = {
    "Ann": (45, [(1, 1, 0), (2, 1, 10), (5, 1, 30), (6, 1, 45)]),
    "Bo": (80, [(1, 2, 0), (1, 4, 20), (6, 4, 60), (6, 2, 80)]),
    "Cy": (40, [(1, 2, 0), (6, 2, 40)]),
    "Di": (30, [(1, 1, 0), (2, 1, 20), (5, 1, 10), (6, 1, 30)]),
    "Ed": (44, [(1, 1, 0), (2, 1, 10), (5, 1, 30), (6, 1, 45)]),
}


def race(name, players, compression):
    track = bitmap()
    ghosts = [{"player": p, "time_ms": RUNS[p][0], "finished_utc": "2026-12-01T18:04:05.120Z",
               "path": f"ghosts/{n}.path"} for n, p in enumerate(players, 1)]
    manifest = {"format": 1, "track": "Tiny.bmp", "sha256": hashlib.sha256(track).hexdigest(),
                "ghosts": ghosts}
    entries = [("race.json", json.dumps(manifest, indent=1).encode()), ("track.bmp", track)]
    entries += [(f"ghosts/{n}.path", path(RUNS[p][1])) for n, p in enumerate(players, 1)]
    out = pathlib.Path(__file__).parent / "corpus" / "race_file" / name
    with zipfile.ZipFile(out, "w", compression) as archive:
        for entry, data in entries:
            archive.writestr(zipfile.ZipInfo(entry, (2026, 12, 1, 18, 4, 4)), data, compression)


race("confirmed.kfrace", ["Ann", "Bo"], zipfile.ZIP_DEFLATED)
race("disputed.kfrace", ["Ann", "Cy", "Di", "Ed"], zipfile.ZIP_DEFLATED)
race("stored.kfrace", ["Ann"], zipfile.ZIP_STORED)
