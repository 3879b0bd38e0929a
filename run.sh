#!/usr/bin/env bash
# Sets everything up and starts the trainer against the local practice service.
# Without a display it starts on a virtual screen (or run it as: xvfb-run ./run.sh).
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
cd "$root"

./scripts/setup-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DKESTREL_BUILD_TESTS=OFF -DKESTREL_BUILD_BENCH=OFF
cmake --build build-release -j "$(nproc)"
bin="$root/build-release"

# Practice data for the local service, generated once (about half a minute).
data="${KESTREL_PRACTICE:-$root/practice}"
if [ ! -f "$data/catalogue.txt" ]; then
  echo "Generating practice trading days into $data ..."
  # The last three months, so the calendar opens near days that have data.
  "$bin/tools/daygen/kestrel-daygen" generate --from "$(date -d '-90 days' +%F)" \
    --to "$(date -d 'yesterday' +%F)" --seed 1 --training 5 --out "$data"
fi
"$bin/tools/service/kestrel-service" init --data "$data" >/dev/null
[ -f "$data/service.conf" ] || printf 'version=100\nupdate=KestrelUpdate_100.zip\n' > "$data/service.conf"

# The trainer's working folder: settings, version, downloads and records.
work="${KESTREL_WORK:-$root/work}"
mkdir -p "$work/cache" "$work/data" "$work/Diary"
[ -f "$work/Version.ini" ] || printf '[VER]\r\nVERSION=100\r\n' > "$work/Version.ini"

# The service runs while the trainer runs.
"$bin/tools/service/kestrel-service" serve --data "$data" > "$data/service.log" 2>&1 &
service=$!
trap 'kill $service 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  grep -q 'serving' "$data/service.log" 2>/dev/null && break
  if ! kill -0 "$service" 2>/dev/null; then
    echo "The practice service did not start:" >&2
    cat "$data/service.log" >&2
    exit 1
  fi
  sleep 0.1
done

cd "$work"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: starting the trainer on a virtual screen (xvfb-run)." >&2
  xvfb-run -a -s '-screen 0 1920x1080x24' "$bin/src/gui/kestrel" "$@"
else
  "$bin/src/gui/kestrel" "$@"
fi
