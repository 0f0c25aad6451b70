#!/usr/bin/env bash
# Installs what is missing, builds, and starts torv_AE with the sample
# knowledge base loaded (or the rule base given as an argument): the desktop application when a display is there,
# the terminal front end otherwise.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup-deps
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
# The sample is loaded only when no arguments name something else to load.
sample=""
if [ "$#" -eq 0 ]; then
  for f in examples/*/BASES/RU*.AEB; do [ -f "$f" ] && sample="$f" && break; done
fi
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/src/qt/torv_ae ]; then
  exec build/src/qt/torv_ae ${sample:+"$sample"} "$@"
fi
exec build/src/cli/torv_ae_cli ${sample:+"$sample"} "$@"
