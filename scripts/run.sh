#!/usr/bin/env bash
# Installs what is missing, builds, and starts Ladya on the demo working folder
# demo-run/TOURNAMENT. The demo database is copied there only when that folder has
# none, so a demo you have played in is never overwritten.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --parallel "$(nproc)" --target ladya ladya-cli
mkdir -p demo-run/TOURNAMENT
[ -e demo-run/TOURNAMENT/players.dat ] || cp demo/TOURNAMENT/players.dat demo-run/TOURNAMENT/
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found. Ladya is a desktop program; on a machine without a screen run:"
    echo "    xvfb-run -s '-screen 0 1280x1024x24' scripts/run.sh"
    echo "(and take screenshots with 'import -window root shot.png' from another shell)."
    exit 1
fi
cd demo-run
exec ../build/ladya
