#!/usr/bin/env bash
# Remakes docs/generated.png (one generated map of each kind, as the editor
# shows them) and the table of figures in docs/generated.md, from the
# generator as it is built now.
#   scripts/generated-maps.sh [BUILD_DIR]   (default: build)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build}"
cmake -S "$here" -B "$build" >/dev/null
cmake --build "$build" --parallel 2 --target vellumor-mapfigures
runtime="$(mktemp -d)"
trap 'rm -rf "$runtime"' EXIT
figures() {
    QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$runtime" "$build/tools/mapfigures/vellumor-mapfigures" "$@"
}
figures picture "$here/docs/generated.png" "${SEED:-3}"
table="$(figures table 1000)"
looks="$(figures looks 1000)"
doc="$here/docs/generated.md"
# Everything above the tables stays; the tables and what follows are made anew.
sed '/^| kind |/,$d' "$doc" >"$runtime/head.md"
{
    cat "$runtime/head.md"
    echo "$table"
    echo
    echo "What a game master sees, over the same seeds (least / median / most; the fort's ridge"
    echo "from its first column to its last, where there is one):"
    echo
    echo "$looks"
} >"$doc"
echo "wrote docs/generated.png and the table in docs/generated.md"
