#!/usr/bin/env bash
# Takes the screenshots in docs/screenshots from the real program, offscreen,
# at one and two device pixels per logical pixel.
#   scripts/screenshots.sh [BUILD_DIR]   (default: build-screenshots)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build-screenshots}"
cmake -S "$here" -B "$build" >/dev/null
cmake --build "$build" --parallel "$(nproc 2>/dev/null || echo 2)" --target vellumor-screenshots
mkdir -p "$here/docs/screenshots"
runtime="$(mktemp -d)"
trap 'rm -rf "$runtime"' EXIT
for scale in 1 2; do
    suffix=""
    [[ $scale == 1 ]] || suffix="@${scale}x"
    QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$scale XDG_RUNTIME_DIR="$runtime" \
        "$build/tools/screenshots/vellumor-screenshots" \
        "$here/examples" "$here/docs/screenshots" "$suffix"
done
ls -l "$here/docs/screenshots"
