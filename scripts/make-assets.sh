#!/bin/sh
# Makes the pictures in assets/ again: the world map from Natural Earth's public-domain land outlines (npm
# package world-atlas, fetched into a temporary folder), the celestial grid, the sky-noise chart from
# assets/tsky408.dat, and the program icon.
#   scripts/make-assets.sh [build folder]
set -e
BUILD_DIR=${1:-build}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
case "$BUILD_DIR" in /*) ;; *) BUILD_DIR="$ROOT/$BUILD_DIR" ;; esac
WORLD_ATLAS=world-atlas@2.0.2

cmake --build "$BUILD_DIR" --target skyrel-make-assets >/dev/null

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
# The generator is a GUI application (for its text); give it a private runtime folder like any Qt program.
mkdir -m 700 "$WORK/runtime"
(cd "$WORK" && npm install --silent --no-audit --no-fund --no-save "$WORLD_ATLAS" >/dev/null)

XDG_RUNTIME_DIR="$WORK/runtime" "$BUILD_DIR/tools/make-assets/skyrel-make-assets" \
    --land "$WORK/node_modules/world-atlas/land-50m.json" \
    --survey "$ROOT/assets/tsky408.dat" \
    --out "$ROOT/assets"
echo "assets: worldmap.bmp celestialgrid.jpg skynoise.jpg skyrel-icon.png written"
