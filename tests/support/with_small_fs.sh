#!/bin/sh
# Runs the command with KORVANTA_SMALL_FS naming a file system of 128 KiB of its own: a
# tmpfs mounted in a mount namespace of the command's own, so nothing outside sees it and it
# goes with the command. Where no such namespace may be made, the command runs without it.
dir=$(mktemp -d)
if unshare -rm true 2>/dev/null; then
    unshare -rm sh -c 'mount -t tmpfs -o size=128k tmpfs "$0" && KORVANTA_SMALL_FS="$0" exec "$@"' "$dir" "$@"
else
    "$@"
fi
status=$?
rm -rf "$dir"
exit $status
