#!/bin/sh
# Makes tone.ogg, the small Ogg Vorbis file the music tests play: three seconds of a 440 Hz tone,
# 22050 Hz mono, encoded with oggenc (Debian package vorbis-tools). Run it from this folder.
set -eu
. "$(dirname "$0")/../../../../scripts/help.sh"
python3 - <<'PY'
import math, struct, wave
rate = 22050
with wave.open("tone.wav", "wb") as w:
    w.setnchannels(1)
    w.setsampwidth(2)
    w.setframerate(rate)
    w.writeframes(b"".join(struct.pack("<h", int(8000 * math.sin(2 * math.pi * 440 * i / rate))) for i in range(3 * rate)))
PY
oggenc --quiet -q 0 -o tone.ogg tone.wav
rm tone.wav
