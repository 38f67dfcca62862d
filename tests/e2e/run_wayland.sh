#!/usr/bin/env bash
# Runs the end-to-end program's Wayland pass under a headless compositor of its own, in a
# private runtime folder; the compositor and the folder go when the pass ends.
#   run_wayland.sh <test program> <gtest filter>
set -euo pipefail
program=$1 filter=$2

runtime=$(mktemp -d /tmp/korvanta-wayland.XXXXXX) # mktemp makes it 0700
socket=korvanta-$$
cleanup() {
    [ -n "${compositor:-}" ] && kill "$compositor" 2>/dev/null && wait "$compositor" 2>/dev/null
    rm -rf "$runtime"
}
trap cleanup EXIT

XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --use-gl --socket="$socket" \
    --idle-time=0 >"$runtime/weston.log" 2>&1 &
compositor=$!
for _ in $(seq 100); do
    [ -S "$runtime/$socket" ] && break
    kill -0 "$compositor" 2>/dev/null || { cat "$runtime/weston.log"; exit 1; }
    sleep 0.1
done
[ -S "$runtime/$socket" ] || { echo "the compositor did not come up"; exit 1; }

env -u DISPLAY XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland \
    "$program" --gtest_filter="$filter"
