#!/usr/bin/env bash
# The main frame takes its place from the settings, shows the stored unit, ignores Enter with a
# one-character path, and quits through File > E&xit with its own lines in the log in order.
source "$(dirname "$0")/lib.sh"
e2e_init frame

e2e_reset_registry
e2e_set_dword xo 50
e2e_set_dword yo 200
e2e_set_dword un 0
e2e_set_dword vl 1  # the left view then logs every request it gets
e2e_start
wait_for_log "mwin::mwin () OK ..."
e2e_wait_painted
e2e_screenshot frame >/dev/null

eval "$(xdotool getwindowgeometry --shell "$E2E_WID")"
# The X window may start below the frame's own edge (caption and borders are not part of it).
[ "$X" -ge 200 ] && [ "$X" -le 220 ] || fail "frame at x $X, expected 200 (+ border)"
[ "$Y" -ge 50 ] && [ "$Y" -le 100 ] || fail "frame at y $Y, expected 50 (+ caption)"

# One character in the path field and Enter: nothing is scanned, nothing is shown.
e2e_focus
e2e_click 300 29
e2e_type D
e2e_key Return
e2e_key F5
no_boxes || fail "unexpected message box: $(cat "$E2E_MESSAGES")"
# A real folder in the field: the same keys now reach the left view.
mkdir -p "$E2E_WORK/folder"
e2e_key BackSpace
e2e_type "$(winepath_of "$E2E_WORK/folder")"
log_has "mvwl::OnDirs" && fail "a one-character path was scanned"
e2e_key Return
wait_for_log "mvwl::OnDirs"
[ "$(e2e_get_value un)" = "0x0" ] || fail "un changed"

e2e_focus
e2e_key alt+f
e2e_key x
wait_until 30 e2e_exited || fail "File > Exit did not close the program"
wait "$E2E_PID" 2>/dev/null
E2E_PID=

log=$(tr -d '\r' <"$E2E_LOG")
pos=0
for line in "mapp::mapp () OK ..." "mdoc::mdoc () OK ..." "mtbr::mtbr () OK ..." "mspw::mspw () OK ..." "mwin::mwin () OK ..." \
  "mvwr::mvwr () OK ..." "mwin::~mwin () OK ..." "mspw::~mspw () OK ..." "mtbr::~mtbr () OK ..." \
  "mdoc::~mdoc () OK ..." "mapp::~mapp () OK ..." "CGUI::~CGUI () OK ..."; do
  n=$(grep -n -F -x -- "$line" <<<"$log" | head -n 1 | cut -d: -f1)
  [ -n "$n" ] || fail "log lacks: $line"
  [ "$n" -gt "$pos" ] || fail "log line out of order: $line"
  pos=$n
done
# Nothing is written back at exit: the stored place is still there.
[ "$(e2e_get_value yo)" = "0xc8" ] || fail "yo was rewritten: $(e2e_get_value yo)"
echo "frame: ok"
