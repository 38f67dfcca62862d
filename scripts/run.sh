#!/usr/bin/env bash
# Installs what is missing, builds Korvanta, installs it to ./install and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)"
cmake --install build-release --prefix "$PWD/install" >/dev/null
exec "$PWD/install/bin/korvanta"
