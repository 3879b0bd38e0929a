#!/usr/bin/env bash
# Sets everything up and starts the trainer. Without a display: xvfb-run ./run.sh
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
cd "$root"

./scripts/setup-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DKESTREL_BUILD_TESTS=OFF -DKESTREL_BUILD_BENCH=OFF
cmake --build build-release -j "$(nproc)"

# The trainer's working folder: settings, version, downloads and records.
work="${KESTREL_WORK:-$root/work}"
mkdir -p "$work/cache" "$work/data" "$work/Diary"
[ -f "$work/Version.ini" ] || printf '[VER]\r\nVERSION=100\r\n' > "$work/Version.ini"

cd "$work"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: starting the trainer on a virtual screen (xvfb-run)." >&2
  exec xvfb-run -a -s '-screen 0 1920x1080x24' "$root/build-release/src/gui/kestrel" "$@"
fi
exec "$root/build-release/src/gui/kestrel" "$@"
