# Sourced by the end-to-end tests: starts kelvane.exe under Wine on the X display of
# scripts/test and drives it with xdotool. Every wait polls for a condition with a bounded
# timeout; a test never sleeps blindly.
set -uo pipefail

E2E_SOURCE=${KELVANE_SOURCE:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
E2E_BUILD=${KELVANE_BUILD:-${KELVANE_WIN_BUILD:-$E2E_SOURCE/build/win}}
export WINEPREFIX=${WINEPREFIX:-$E2E_SOURCE/build/wineprefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
E2E_EXE="$E2E_BUILD/kelvane.exe"
E2E_DRIVER="$E2E_BUILD/box_driver.exe"
E2E_USER=$(whoami)
# Wine gives every program its own TEMP in the prefix, whatever the caller's environment says.
E2E_LOG="$WINEPREFIX/drive_c/users/$E2E_USER/Temp/kelvane.log"
E2E_KEY='HKCU\Software\Tarnwick\Kelvane'
E2E_PID=
E2E_WID=

# Scale timeouts on a slow machine: KELVANE_E2E_SLOW=2 doubles them.
E2E_SLOW=${KELVANE_E2E_SLOW:-1}

# skip WHAT WHY: this host cannot make the check; says so, adds it to the test run's list of
# skipped checks (KELVANE_SKIPS) and ends the script with the status ctest takes as skipped.
skip() {
  echo "skipped: $1 ($2)"
  [ -z "${KELVANE_SKIPS:-}" ] || echo "skipped: $1 ($2)" >>"$KELVANE_SKIPS"
  exit 77
}

fail() {
  echo "FAIL: $*" >&2
  e2e_screenshot "failure-${E2E_NAME:-e2e}" >/dev/null 2>&1
  [ -n "${E2E_WORK:-}" ] && box_showing && box_driver none
  [ -f "$E2E_LOG" ] && { echo "--- kelvane.log (tail)" >&2; tail -n 40 "$E2E_LOG" >&2; }
  [ -f "${E2E_MESSAGES:-}" ] && { echo "--- messages" >&2; cat "$E2E_MESSAGES" >&2; }
  exit 1
}

# e2e_init NAME: a clean work folder $E2E_WORK for this test, and cleanup at exit.
e2e_init() {
  E2E_NAME=$1
  E2E_WORK="$E2E_BUILD/e2e/$E2E_NAME"
  rm -rf "$E2E_WORK"
  mkdir -p "$E2E_WORK" "$E2E_BUILD/screenshots"
  E2E_MESSAGES="$E2E_WORK/messages.txt"
  : >"$E2E_MESSAGES"
  [ -x "$E2E_EXE" ] || [ -f "$E2E_EXE" ] || fail "no program at $E2E_EXE"
  [ -f "$E2E_DRIVER" ] || fail "no box driver at $E2E_DRIVER"
  [ -n "${DISPLAY:-}" ] || fail "no X display (run through scripts/test)"
  trap e2e_cleanup EXIT
}

e2e_cleanup() {
  # A program blocked in a held listing hears no signal: the gate opens first.
  gate_open
  if [ -n "$E2E_PID" ] && kill -0 "$E2E_PID" 2>/dev/null; then
    kill "$E2E_PID" 2>/dev/null
    wait "$E2E_PID" 2>/dev/null
  fi
  E2E_PID=
  gate_unmount
}

# A held folder: gate_mount DIR [FOLDERS [HELD_SIZE]] mounts tests/e2e/gate_fs.py at DIR (a file
# "held.bin" of 600 B, or HELD_SIZE, and FOLDERS folders "dN" of one file each), whose every listing waits
# until gate_open. A scan that reaches it cannot end before the test lets it, however quick the
# machine. $GATE_LOG has a line "waiting PATH" or "listed PATH" for each listing.
GATE_DIR= GATE_FILE= GATE_LOG= GATE_PID=
gate_mount() {
  GATE_DIR=$1
  GATE_FILE="$E2E_WORK/gate.open"
  GATE_LOG="$E2E_WORK/gate.log"
  rm -f "$GATE_FILE"
  : >"$GATE_LOG"
  mkdir -p "$GATE_DIR"
  /usr/bin/python3 "$E2E_SOURCE/tests/e2e/gate_fs.py" "$GATE_DIR" "$GATE_FILE" "$GATE_LOG" "${2:-0}" ${3:-} \
    >"$E2E_WORK/gate.out" 2>&1 &
  GATE_PID=$!
  wait_until 20 mountpoint -q "$GATE_DIR" || fail "the held folder was not mounted: $(cat "$E2E_WORK/gate.out")"
}
gate_open() { if [ -n "$GATE_FILE" ]; then touch "$GATE_FILE"; fi; return 0; }
gate_waiting() { grep -q "^waiting " "$GATE_LOG" 2>/dev/null; }
gate_listed() { grep -c "^listed $1\$" "$GATE_LOG" 2>/dev/null; }
gate_unmount() {
  [ -n "$GATE_PID" ] || return 0
  gate_open
  fusermount3 -u -z "$GATE_DIR" 2>/dev/null
  kill "$GATE_PID" 2>/dev/null
  wait "$GATE_PID" 2>/dev/null
  GATE_PID=
  return 0
}

# wait_until TIMEOUT_SECONDS COMMAND...: polls COMMAND until it succeeds; 1 on timeout.
wait_until() {
  local limit=$(( $1 * E2E_SLOW * 10 )) i=0
  shift
  while ! "$@" >/dev/null 2>&1; do
    i=$((i + 1))
    [ "$i" -ge "$limit" ] && return 1
    sleep 0.1
  done
  return 0
}

# Registry of the program, through Wine's reg.exe.
e2e_reset_registry() { wine reg delete "$E2E_KEY" /f >/dev/null 2>&1; return 0; }
e2e_set_dword() { wine reg add "$E2E_KEY" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1 || fail "reg add $1"; }
e2e_set_string() { wine reg add "$E2E_KEY" /v "$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1 || fail "reg add $1"; }
# e2e_get_value NAME: prints the value's data as reg.exe shows it (0x.. for DWORDs), or nothing.
e2e_get_value() {
  wine reg query "$E2E_KEY" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}

# e2e_start: starts the program and waits for its main window. A box it shows before the
# window (a fault found at start) is recorded and dismissed on the way, as a user would.
# $E2E_LAUNCH, when set, is a command (with its options) that Wine is started through.
e2e_start() {
  rm -f "$E2E_LOG"
  (cd "$E2E_WORK" && exec ${E2E_LAUNCH:-} wine "$E2E_EXE" >"$E2E_WORK/wine.out" 2>&1) &
  E2E_PID=$!
  wait_until 60 main_window_up || fail "main window did not appear"
  E2E_WID=$(find_main_window)
}
main_window_up() {
  find_main_window >/dev/null && return 0
  box_showing && box_driver wait-answer 0 ok
  return 1
}

# The frame's X window: a visible window whose title ends in " - Kelvane" (a box's caption is
# "Kelvane" alone).
find_main_window() {
  local w
  w=$(xdotool search --onlyvisible --name ' - Kelvane$' 2>/dev/null | head -n 1)
  [ -n "$w" ] && echo "$w"
}

# setting_table: the rows of the table that declares the settings (base/settings.h), one to a
# line as KIND NAME DEFAULT USE: "dword xo 10 kWriteBack", "text mf "Tahoma" kWriteBack".
setting_table() {
  sed -n 's/^ *\(dword\|text\)_setting("\([a-z]*\)", *&Settings::[a-z]*, *\("[^"]*"\|[0-9]*\), *SettingUse::\(k[A-Za-z]*\)).*/\1 \2 \3 \4/p' \
    "$E2E_SOURCE/base/settings.h"
}

# winepath_of UNIX_PATH: the path as the program sees it (Z:\...).
winepath_of() { echo "Z:${1//\//\\}"; }

log_has() { grep -qF -- "$1" "$E2E_LOG" 2>/dev/null; }
# wait_for_log TEXT [TIMEOUT]
wait_for_log() { wait_until "${2:-30}" log_has "$1" || fail "log line not seen: $1"; }

# Message boxes. The program shows every box on the screen and waits until it is answered. The
# tests answer them as a user does, through box_driver.exe (tests/e2e/box_driver.cpp), which
# reads a box's text and presses its button from another process of the same Wine session.
# Every box seen is recorded in $E2E_MESSAGES as a line TYPE|TEXT (0 OK, 4 Yes and No, 64 the
# information icon; "\n" a line end inside the box). A box blocks the program's window, so a
# step that brings one up is followed by its answer: e2e_answer for a question, and
# wait_for_message or answer_boxes_until for a box that only tells something.

# box_showing: a box of the program is on the screen.
box_showing() { xdotool search --onlyvisible --name '^Kelvane$' >/dev/null 2>&1; }
# box_driver ARGS...: runs the driver; the box it printed is added to $E2E_MESSAGES.
box_driver() {
  local rc
  wine "$E2E_DRIVER" "$@" >"$E2E_WORK/box.out" 2>/dev/null
  rc=$?
  tr -d '\r' <"$E2E_WORK/box.out" >>"$E2E_MESSAGES"
  return "$rc"
}
last_message() { tail -n 1 "$E2E_MESSAGES"; }

# e2e_answer yes|no|ok [TEXT] [TIMEOUT]: waits for the box the last step brings up, records it
# and presses the button; with TEXT, the box must say it.
e2e_answer() {
  box_driver wait-answer $((${3:-30} * E2E_SLOW * 1000)) "$1"
  case $? in
    0) ;;
    1) fail "no box came up to answer ${2:-$1}" ;;
    2) fail "the box has no button '$1': $(last_message)" ;;
    *) fail "the box stayed after '$1': $(last_message)" ;;
  esac
  [ -z "${2:-}" ] || last_message | grep -qF -- "$2" || fail "the box said '$(last_message)', not '$2'"
}

# answer_boxes_until TIMEOUT COMMAND...: until COMMAND (a look at $E2E_MESSAGES) holds, each
# box that comes up is recorded and closed with OK, as a user reads and dismisses it; 1 on
# timeout. A question fails the test: its answer is the test's to give (e2e_answer).
answer_boxes_until() {
  local end=$(($(date +%s%N) / 1000000 + $1 * E2E_SLOW * 1000)) left
  shift
  until "$@" >/dev/null 2>&1; do
    left=$((end - $(date +%s%N) / 1000000))
    [ "$left" -gt 0 ] || return 1
    box_driver wait-answer "$left" ok
    [ $? = 2 ] && fail "a question nobody answered: $(last_message)"
  done
  return 0
}
messages_have() { grep -qF -- "$1" "$E2E_MESSAGES" 2>/dev/null; }
# wait_for_message TEXT [TIMEOUT]: a box saying TEXT has come up (and was closed with OK).
wait_for_message() { answer_boxes_until "${2:-30}" messages_have "$1" || fail "message not shown: $1"; }
# collect_boxes: a box that is open is recorded (and left open), so that a look at
# $E2E_MESSAGES sees a box that came up unasked.
collect_boxes() {
  box_showing && box_driver none
  return 0
}
# no_boxes: no box is open, and none came up since $E2E_MESSAGES was last emptied.
no_boxes() { collect_boxes && [ ! -s "$E2E_MESSAGES" ]; }

# e2e_screenshot NAME: the whole display as build/win/screenshots/NAME.png.
e2e_screenshot() {
  local out="$E2E_BUILD/screenshots/$1.png"
  import -window root "$out" 2>/dev/null && echo "$out"
}

# e2e_wait_painted: waits until the main window shows more than a blank area (its first
# paint has arrived), so a screenshot taken next shows the window.
window_painted() {
  local n
  n=$(import -window "$E2E_WID" -format %k info:- 2>/dev/null) || return 1
  [ "${n:-0}" -ge 8 ]
}
e2e_wait_painted() { wait_until 20 window_painted || fail "the main window was not painted"; }

# Input. Without a window manager the X window is the frame's client area, so coordinates
# are client coordinates of the main window.
e2e_focus() { xdotool windowfocus --sync "$E2E_WID" 2>/dev/null || xdotool windowfocus "$E2E_WID"; }
e2e_click() { xdotool mousemove --window "$E2E_WID" "$1" "$2" click "${3:-1}"; }
e2e_double_click() { xdotool mousemove --window "$E2E_WID" "$1" "$2" click --repeat 2 --delay 80 1; }
e2e_key() { xdotool key --clearmodifiers "$@"; }
e2e_type() { xdotool type --delay 20 -- "$1"; }

# The main window's layout with the default settings and font, in client coordinates: the
# list's first row (its middle) and the row pitch, a point inside the Size column (rows are
# selected whole), and the path field.
ROW0_Y=94
ROW_H=14
ROW_X=150
PATH_X=386
PATH_Y=31
row_y() { echo $((ROW0_Y + ROW_H * $1)); }

# e2e_enter_path TEXT: replaces the path field's text with TEXT and presses Enter.
e2e_enter_path() {
  e2e_focus
  e2e_click "$PATH_X" "$PATH_Y"
  # The edit control takes no Ctrl+A under Wine: the whole line is selected from its end.
  e2e_key End shift+Home
  e2e_type "$1"
  e2e_key Return
}

# e2e_close: Alt+F4 (the window's close command); waits for the process to end.
e2e_close() {
  box_showing && fail "a box is open at the close"
  e2e_focus
  e2e_key alt+F4
  wait_until 30 e2e_exited || fail "program did not close"
  wait "$E2E_PID" 2>/dev/null
  E2E_PID=
}
e2e_exited() { ! kill -0 "$E2E_PID" 2>/dev/null; }
