#!/usr/bin/env bash
# Builds the screenshot program and writes the pictures of the windows to docs/, on a private
# Xvfb display with openbox. Usage: tests/integration/fltk/screenshots/take_screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/../../../.."
cmake -S . -B build/screenshots -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/screenshots --target fltk_screenshots -j2
source scripts/lib/services.sh
start_xvfb
openbox --sm-disable >/dev/null 2>&1 &
klingtal_cleanup_pids+=($!)
sleep 1
build/screenshots/tests/integration/fltk/fltk_screenshots docs
