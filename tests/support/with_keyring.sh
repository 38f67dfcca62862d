#!/bin/sh
# Runs the command on a private session bus with a keyring of its own, unlocked, kept in a
# folder of its own, so that passwords kept in the secret service never reach the desktop's.
# The bus and the keyring end with the command, the folder after it.
keyrings=$(mktemp -d)
XDG_DATA_HOME="$keyrings" dbus-run-session -- sh -c \
    'eval "$(printf test | gnome-keyring-daemon --unlock --components=secrets)"; exec "$@"' sh "$@"
status=$?
rm -rf "$keyrings"
exit $status
