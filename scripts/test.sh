#!/usr/bin/env bash
# Installs what is missing, builds Korvanta and runs the whole test suite: first the
# normal build, then the build with AddressSanitizer and UndefinedBehaviorSanitizer, then a
# short pass of every fuzz target.
#   scripts/test.sh             all of it
#   scripts/test.sh --quick     the normal build only
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

# The end-to-end tests build the program a second time in another folder; with paths taken
# relative to the checkout, that build reuses the first one's objects from the cache.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1

# Rendering tests need a real X server with a window manager; one serves the whole run.
if [ -z "${DISPLAY:-}" ]; then
    exec 3< <(Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp 2>/dev/null)
    xvfb=$! # a process substitution is no job: end it by its pid
    read -r display <&3
    export DISPLAY=":$display"
    openbox >/dev/null 2>&1 &
    trap 'kill $xvfb $(jobs -p) 2>/dev/null || true' EXIT
fi

presets=(default sanitize)
[ "${1:-}" = "--quick" ] && presets=(default)
for preset in "${presets[@]}"; do
    echo "== $preset build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j"$(nproc)"
    ctest --preset "$preset" -j2
done
[ "${1:-}" = "--quick" ] || scripts/fuzz.sh --seconds 10
