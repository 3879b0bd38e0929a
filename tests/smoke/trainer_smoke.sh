#!/usr/bin/env bash
# Drives the real trainer against the real practice service on a private
# virtual screen, as a user would: log in, download the newest practice day,
# run it at 32x, end it and quit through the menu. Screenshots go to
# BUILD_DIR/artefacts (also one of the moment of a failure).
#
# usage: trainer_smoke.sh KESTREL KESTREL_SERVICE KESTREL_DAYGEN BUILD_DIR
set -euo pipefail

if [ $# -ne 4 ]; then
  echo "usage: $0 KESTREL KESTREL_SERVICE KESTREL_DAYGEN BUILD_DIR" >&2
  exit 2
fi
# Absolute: the trainer starts in its own working folder.
kestrel=$(readlink -f "$1")
service_bin=$(readlink -f "$2")
daygen=$(readlink -f "$3")
mkdir -p "$4"
build=$(readlink -f "$4")
tmp="$build/tmp"
artefacts="$build/artefacts"
# Never the caller's own screen: the test makes its own.
unset DISPLAY

# Bounds of the waits, in seconds: generous for a loaded 2-core machine.
readonly kStartLimit=30     # service, X server, first window
readonly kDialogLimit=20    # a dialog to appear or go
readonly kDownloadLimit=60  # the day archive and its K-line history
readonly kExitLimit=20      # the trainer to end after the last answer
readonly kRunSeconds=3      # the replay runs this long before the screenshot

# The tick list's rows on a 1920x1080 screen (right column, below its header,
# above the status bar).
readonly kTickListCrop=460x690+1440+345

service_pid=""
xvfb_pid=""
trainer_pid=""
current_step="starting"

say() { echo "smoke: $*"; }

step() {
  current_step=$1
  say "$1"
}

# Every visible top-level window of the trainer as "id<TAB>title".
trainer_windows() {
  local id
  [ -n "$trainer_pid" ] || return 0
  for id in $(xdotool search --all --onlyvisible --pid "$trainer_pid" --name '' 2>/dev/null); do
    printf '%s\t%s\n' "$id" "$(xdotool getwindowname "$id" 2>/dev/null || true)"
  done
}

screenshot() {
  import -window root "$1"
}

fail() {
  local name
  echo "smoke: FAILED while $current_step: $*" >&2
  if [ -n "${DISPLAY:-}" ]; then
    name="$artefacts/failed-$(echo "$current_step" | tr -c 'a-zA-Z0-9\n' '-').png"
    if screenshot "$name" 2>/dev/null; then echo "smoke: screen at the failure: $name" >&2; fi
    echo "smoke: trainer windows (id, title):" >&2
    trainer_windows | sed 's/^/  /' >&2
  fi
  if [ -f "$tmp/trainer.log" ]; then
    echo "smoke: trainer output:" >&2
    tail -n 20 "$tmp/trainer.log" | sed 's/^/  /' >&2
  fi
  if [ -s "$tmp/xvfb.log" ]; then
    echo "smoke: Xvfb output:" >&2
    tail -n 10 "$tmp/xvfb.log" | sed 's/^/  /' >&2
  fi
  if [ -f "$tmp/service.log" ]; then
    echo "smoke: service log (last lines):" >&2
    tail -n 15 "$tmp/service.log" | sed 's/^/  /' >&2
  fi
  exit 1
}

stop_process() {
  local pid=$1
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null || return 0
  for _ in $(seq 30); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

cleanup() {
  stop_process "$trainer_pid"
  stop_process "$service_pid"
  stop_process "$xvfb_pid"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

require() {
  command -v "$1" >/dev/null 2>&1 ||
    fail "the program $1 is missing: install the Debian package $2 (scripts/setup-deps.sh does)"
}

trainer_alive() {
  kill -0 "$trainer_pid" 2>/dev/null
}

# Fails with the trainer's exit status when it has ended.
expect_trainer_running() {
  local status=0
  trainer_alive && return 0
  wait "$trainer_pid" || status=$?
  trainer_pid=""
  fail "the trainer ended with status $status while waiting for $1"
}

# Polls until a visible trainer window's title matches the regular expression;
# leaves its id in $window.
window=""
wait_window() {
  local pattern=$1 limit=$2 what=$3 end=$((SECONDS + $2))
  while ((SECONDS < end)); do
    expect_trainer_running "$what"
    window=$(trainer_windows | awk -F'\t' -v re="$pattern" '$2 ~ re { print $1; exit }')
    [ -z "$window" ] || return 0
    sleep 0.1
  done
  fail "no window $what ('$pattern') within ${limit}s"
}

wait_window_gone() {
  local pattern=$1 limit=$2 what=$3 end=$((SECONDS + $2))
  while ((SECONDS < end)); do
    expect_trainer_running "$what to close"
    trainer_windows | awk -F'\t' -v re="$pattern" '$2 ~ re { found = 1 } END { exit !found }' ||
      return 0
    sleep 0.1
  done
  fail "the window $what ('$pattern') was still open after ${limit}s"
}

focus() {
  timeout "$kDialogLimit" xdotool windowfocus --sync "$1" ||
    fail "could not give window $1 the keyboard focus"
}

# The main window, titled "Kestrel..." (and, once logged in, with the account).
focus_main() {
  wait_window '^Kestrel' "$kDialogLimit" "the main window"
  focus "$window"
}

# Only the main window may be open before a menu command: anything else is a
# message the test did not expect.
expect_only_main() {
  local others
  others=$(trainer_windows | awk -F'\t' '$2 !~ /^Kestrel/ { print "[" $2 "]" }' | tr '\n' ' ')
  [ -z "$others" ] || fail "unexpected window(s) open: $others"
}

wait_id_gone() {
  local id=$1 limit=$2 what=$3 end=$((SECONDS + $2))
  while ((SECONDS < end)); do
    expect_trainer_running "$what to close"
    trainer_windows | grep -q "^$id"$'\t' || return 0
    sleep 0.1
  done
  fail "$what (window $id) was still open after ${limit}s"
}

# Opens a menu of the main window with its Alt key and waits for the popup. A
# popup is titled with the program's name, as an untitled message box is: with
# only the main window open before, the new window is the popup.
popup=""
open_menu() {
  expect_only_main
  focus_main
  xdotool key "$1"
  wait_window '^kestrel$' "$kDialogLimit" "the menu popup of $1"
  popup=$window
}

# Keys that pick an item of the open menu; returns once the popup is gone.
pick_in_menu() {
  xdotool key "$@"
  wait_id_gone "$popup" "$kDialogLimit" "the menu popup"
}

colours() {
  identify -format '%k' "$1"
}

tick_list() {
  convert "$1" -crop "$kTickListCrop" +repage "$2"
}

# ---------------------------------------------------------------------------

# Fresh every run; the artefacts stay after it for a look.
rm -rf "$tmp" "$artefacts"
mkdir -p "$tmp" "$artefacts"

require Xvfb xvfb
require xdotool xdotool
require import imagemagick
require compare imagemagick
for program in "$kestrel" "$service_bin" "$daygen"; do
  [ -x "$program" ] || fail "$program is not built"
done

data="$tmp/practice"
work="$tmp/work"

step "generating practice days"
# A handful of weekdays ending yesterday; the calendar opens on today.
"$daygen" generate --from "$(date -d '-8 days' +%F)" --to "$(date -d yesterday +%F)" --seed 1 \
  --out "$data" >"$tmp/daygen.log" 2>&1 || fail "kestrel-daygen failed: $(cat "$tmp/daygen.log")"
newest=$(grep -v '^#' "$data/catalogue.txt" | cut -d, -f1 | sort | tail -n 1)
[ -n "$newest" ] || fail "kestrel-daygen wrote no trading day"
say "newest practice day $newest"

step "starting the practice service"
# Cheap hashes: the test's logins need not cost a real password check.
"$service_bin" --cheap-hash init --data "$data" >"$tmp/init.log" 2>&1 ||
  fail "kestrel-service init failed: $(cat "$tmp/init.log")"
printf 'version=100\nupdate=KestrelUpdate_100.zip\n' >"$data/service.conf"
"$service_bin" serve --data "$data" --listen :0 --log >"$tmp/service.log" 2>&1 &
service_pid=$!
port=""
end=$((SECONDS + kStartLimit))
while [ -z "$port" ] && ((SECONDS < end)); do
  kill -0 "$service_pid" 2>/dev/null || fail "kestrel-service ended: $(cat "$tmp/service.log")"
  port=$(sed -n 's|.*serving .* on http://[^:]*:\([0-9][0-9]*\)$|\1|p' "$tmp/service.log")
  [ -n "$port" ] || sleep 0.1
done
[ -n "$port" ] || fail "no 'serving ... on http://HOST:PORT' line within ${kStartLimit}s"
say "service on port $port"

# The trainer's working folder, as run.sh prepares it, with the service's address.
mkdir -p "$work/cache" "$work/data" "$work/Diary"
printf '[VER]\r\nVERSION=100\r\n' >"$work/Version.ini"
base="http://127.0.0.1:$port"
printf '[SERVICE]\r\nPRIMARY=%s\r\nSECONDARY=%s\r\nMIRROR=%s\r\n' "$base" "$base" "$base" \
  >"$work/setup.ini"

step "starting the virtual screen"
# The server picks a free display itself: tests may run side by side. Without
# -noreset it resets each time its last client (an xdotool poll) leaves, and a
# client connecting during a reset (the trainer starting) can be dropped.
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$tmp/display" \
  2>"$tmp/xvfb.log" &
xvfb_pid=$!
display=""
end=$((SECONDS + kStartLimit))
while ((SECONDS < end)); do
  kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb ended: $(cat "$tmp/xvfb.log")"
  # The number is written, with a line end, once the server accepts clients.
  if grep -q '^[0-9][0-9]*$' "$tmp/display" 2>/dev/null; then
    display=$(head -n 1 "$tmp/display")
    break
  fi
  sleep 0.1
done
[ -n "$display" ] || fail "Xvfb gave no display number within ${kStartLimit}s"
export DISPLAY=":$display"
say "display $DISPLAY"

step "starting the trainer"
mkdir -p "$tmp/runtime" && chmod 700 "$tmp/runtime"
(
  cd "$work"
  unset WAYLAND_DISPLAY KESTREL_ARCHIVE QT_IM_MODULE
  export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$tmp/runtime"
  exec "$kestrel"
) >"$tmp/trainer.log" 2>&1 &
trainer_pid=$!

step "logging in"
wait_window '^帳號登入$' "$kStartLimit" "the login dialog"
focus "$window"
# The account field has the focus; Tab twice from the password reaches "登入".
xdotool type --delay 20 demo
xdotool key Tab
xdotool type --delay 20 demo
xdotool key Tab Tab space
wait_window_gone '^帳號登入$' "$kDialogLimit" "the login dialog"
wait_window '已登入: demo' "$kDialogLimit" "the main window titled as logged in"
grep -q 'GET /net_Login_Future.php 200' "$tmp/service.log" || fail "the service saw no login"

step "opening the download calendar"
# "資料下載(&F)": its first enabled item, once logged in, is "下載盤勢".
open_menu alt+f
pick_in_menu Return
wait_window '^選擇下載日期$' "$kDialogLimit" "the download calendar"
calendar=$window

step "choosing $newest"
today=$(date +%F)
presses=$((($(date -u -d "$today" +%s) - $(date -u -d "${newest//\//-}" +%s)) / 86400))
((presses >= 1)) || fail "the newest day $newest is not before today $today"
focus "$calendar"
# The calendar opens on today; each Left is one day back. Tab reaches "下載".
lefts=()
for _ in $(seq "$presses"); do lefts+=(Left); done
xdotool key --delay 20 "${lefts[@]}"
xdotool key Tab space

step "downloading $newest"
wait_window '^下載資料$' "$kDialogLimit" "the download dialog"
# It closes by itself once the archive and its history are in.
wait_window_gone '^下載資料$' "$kDownloadLimit" "the download dialog"
grep -q "GET /DATA/TICK_${newest//\//_}.zip 200" "$tmp/service.log" ||
  fail "the service did not send TICK_${newest//\//_}.zip"

step "opening the session at 32x"
# "盤勢操作(&O)": with a day loaded its first enabled item is "開盤".
open_menu alt+o
pick_in_menu Return
focus_main
# X walks the speed ring downward: from 1x it wraps round to 32x.
xdotool key x
sleep "$kRunSeconds"
expect_only_main
shot="$artefacts/trainer-32x.png"
screenshot "$shot"
say "screenshot $shot"
n=$(colours "$shot")
((n >= 50)) || fail "the screenshot has only $n colours: the screen is blank"
sleep 1
later="$artefacts/trainer-32x-later.png"
screenshot "$later"
tick_list "$shot" "$tmp/ticks-1.png"
tick_list "$later" "$tmp/ticks-2.png"
# compare prints the count of differing pixels (possibly as 1.2e+05).
diff=$(compare -metric AE "$tmp/ticks-1.png" "$tmp/ticks-2.png" null: 2>&1 || true)
awk -v d="$diff" 'BEGIN { exit !(d + 0 > 0) }' ||
  fail "the tick list did not move in a second (differing pixels: $diff)"
say "tick list moved ($diff pixels differ in a second)"

step "ending the session"
# While running: "暫停" is the first enabled item, "結束" the next one ("繼續" is grey).
open_menu alt+o
pick_in_menu Down Return
# "確定結束盤勢？" has no caption: Qt shows the program's name.
wait_window '^kestrel$' "$kDialogLimit" "the end-of-session question"
focus "$window"
xdotool key Return
wait_window_gone '^kestrel$' "$kDialogLimit" "the end-of-session question"
# The ended session empties the tick list.
end=$((SECONDS + kDialogLimit))
while :; do
  screenshot "$tmp/ended.png"
  tick_list "$tmp/ended.png" "$tmp/ticks-ended.png"
  n=$(colours "$tmp/ticks-ended.png")
  ((n > 4)) || break
  ((SECONDS < end)) || fail "the tick list still shows $n colours after the session ended"
  sleep 0.2
done

step "closing the program"
# "離開程式(&X)"
open_menu alt+f
pick_in_menu x
wait_window '^提示$' "$kDialogLimit" "the question '確定登出並離開程式？'"
focus "$window"
# "是(&Y)"; the logout progress closes by itself, then the program ends.
xdotool key y
end=$((SECONDS + kExitLimit))
while trainer_alive && ((SECONDS < end)); do sleep 0.1; done
trainer_alive && fail "the trainer was still running ${kExitLimit}s after the logout was confirmed"
status=0
wait "$trainer_pid" || status=$?
trainer_pid=""
((status == 0)) || fail "the trainer exited with status $status"

step "checking what the close wrote"
grep -q $'^RUN_SPEED=32\r$' "$work/setup.ini" ||
  fail "setup.ini has no RUN_SPEED=32 line: $(grep -a RUN_SPEED "$work/setup.ini" || echo none)"
grep -q $'^MARGIN=[0-9-][0-9]*\r$' "$work/setup.ini" || fail "setup.ini has no [ACCOUNT] MARGIN"
grep -q 'GET /net_Logout_Future.php 200' "$tmp/service.log" || fail "the service saw no logout"

say "passed in ${SECONDS}s"
