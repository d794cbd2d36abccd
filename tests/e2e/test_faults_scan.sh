#!/usr/bin/env bash
# A tree a real disk may hold: a folder of 100,000 files, a branch 40 levels deep (paths over
# 300 characters), names in emoji and right-to-left scripts, and a folder that cannot be read
# (counted as empty, the scan completes). Then the user's hands during a scan of it: Enter, F5,
# a unit button, a click and a right-click on the pie and the list, a resize and a splitter
# drag are ignored or harmless; only the unit change is taken. The scan is held (a folder whose
# listing waits for the test) until the program has taken all of that. Nothing on disk is lost
# but what was deleted, and the program scans again at the end. Run as root without the
# permission override, so that the unreadable folder really refuses.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/faults_lib.sh"
e2e_init faults_scan

E2E_LAUNCH="setpriv --bounding-set=-dac_override,-dac_read_search --inh-caps=-dac_override,-dac_read_search"
wine() { $E2E_LAUNCH wine "$@"; }
restart_server() { wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1; return 0; }
# The big folder lives in memory where there is room: made and removed in seconds.
base=$(mktemp -d /dev/shm/kelvane-faults.XXXXXX 2>/dev/null || mktemp -d "$E2E_WORK/tree.XXXXXX")
T="$base/T"
finish() { e2e_cleanup; chmod -R u+rwx "$base" 2>/dev/null; restart_server; rm -rf "$base"; }
trap finish EXIT
restart_server

smile=$'\xf0\x9f\x98\x80 smile.txt'                                # 😀 smile.txt
shalom=$'\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d.txt'                     # Hebrew
marhaba=$'\xd9\x85\xd8\xb1\xd8\xad\xd8\xa8\xd8\xa7.bin'            # Arabic
emojidir=$'\xf0\x9f\x93\x81 emoji dir'                             # 📁 emoji dir
inner=$'\xd9\x85\xd9\x84\xd9\x81.txt'                              # Arabic, inside it
mkdir -p "$T/many" "$T/locked" "$T/$emojidir"
# 100,000 names of one 1-byte file (hard links: each is listed and counted as a file).
python3 - "$T/many" <<'EOF' || fail "could not make the big folder"
import os, sys
d = sys.argv[1]
first = os.path.join(d, "f000000")
with open(first, "wb") as f:
    f.write(b"x")
for i in range(1, 100000):
    os.link(first, os.path.join(d, "f%06d" % i))
EOF
head -c 5000 /dev/zero >"$T/$smile"
head -c 4000 /dev/zero >"$T/$shalom"
head -c 3000 /dev/zero >"$T/$marhaba"
head -c 2000 /dev/zero >"$T/$emojidir/$inner"
deep="$T/deep"
for i in $(seq -w 1 40); do deep="$deep/level$i"; done
mkdir -p "$deep"
head -c 700 /dev/zero >"$deep/leaf"
head -c 900 /dev/zero >"$T/locked/secret"
chmod 000 "$T/locked"
gate_mount "$T/held"
win_T=$(winepath_of "$T")
win_deep=$(winepath_of "$deep")

fills_of() { grep -c -F -- "  OnFill::Name: $1" "$E2E_LOG"; }
more_fills_of() { [ "$(fills_of "$1")" -gt "$2" ]; }

e2e_reset_registry
e2e_set_dword vl 1
e2e_set_dword un 2
e2e_set_dword ud 0
e2e_start
wait_for_log "mvwl::mvwl () OK ..."
e2e_wait_painted
read -r W0 H0 < <(xdotool getwindowgeometry --shell "$E2E_WID" | sed -n 's/^\(WIDTH\|HEIGHT\)=//p' | tr '\n' ' ')
e2e_enter_path "$win_T"
wait_for_log "  Thread:read_mdir () started ..."

# During the scan, which cannot end while the held folder is closed, in one go: Enter and F5 in the path field, the unit button "B", a click and
# a right-click on the pie, a right-click, a double-click and Delete on a row, the window 200
# by 100 pixels larger, the splitter bar dragged 100 pixels to the right. Points of the main
# window in the default layout.
B_X=42 B_Y=31 PIE_X=493 PIE_Y=204 SPLIT_X=303 SPLIT_Y=250
W="--window $E2E_WID"
xdotool key --clearmodifiers Return key --clearmodifiers F5 \
  mousemove $W "$B_X" "$B_Y" click 1 \
  mousemove $W "$PIE_X" "$PIE_Y" click 1 click 3 \
  mousemove $W "$ROW_X" "$(row_y 2)" click 3 click --repeat 2 --delay 80 1 key Delete \
  windowsize "$E2E_WID" $((W0 + 200)) $((H0 + 100)) \
  mousemove $W "$SPLIT_X" "$SPLIT_Y" mousedown 1 mousemove $W $((SPLIT_X + 50)) "$SPLIT_Y" \
  mousemove $W $((SPLIT_X + 100)) "$SPLIT_Y" mouseup 1
# The drag is the last of it: once the bar stands where it was dropped, the program has taken
# every input before it. Only then is the held folder let go.
read -r W1 H1 < <(xdotool getwindowgeometry --shell "$E2E_WID" | sed -n 's/^\(WIDTH\|HEIGHT\)=//p' | tr '\n' ' ')
[ "$W1" = $((W0 + 200)) ] && [ "$H1" = $((H0 + 100)) ] || fail "window is ${W1}x$H1, not $((W0 + 200))x$((H0 + 100))"
shot="$E2E_WORK/shot.png"
pixel() { convert "$shot" -format "%[fx:p{$1,$2}.r==1 && p{$1,$2}.g==1 && p{$1,$2}.b==1]" info:- 2>/dev/null; }
bar_moved() {
  import -window "$E2E_WID" "$shot" 2>/dev/null || return 1
  [ "$(pixel "$SPLIT_X" "$SPLIT_Y")" = 1 ] || return 1
  local x
  for x in $(seq $((SPLIT_X + 96)) $((SPLIT_X + 106))); do [ "$(pixel "$x" "$SPLIT_Y")" = 0 ] && return 0; done
  return 1
}
wait_until 30 bar_moved || fail "the splitter bar is not where it was dragged"
[ "$(popups)" = 0 ] || fail "a menu opened during the scan"
log_has "  OnFill::Name:" && fail "the scan ended while the held folder was closed"
[ "$(gate_listed /)" = 0 ] || fail "the held folder was listed before it was let go"
gate_open

# The scan: largest first; the unreadable folder is an empty entry; the deepest folder and its
# file are in the tree. Enter and F5 asked for nothing more, and nothing was shown.
wait_for_log "  OnFill::Name: locked Size: 0 B" 180
listing=$(grep -F "  OnFill::Name:" "$E2E_LOG" | tr -d '\r')
expected="  OnFill::Name: many Size: 100000 B
  OnFill::Name: $smile Size: 5000 B
  OnFill::Name: $shalom Size: 4000 B
  OnFill::Name: $marhaba Size: 3000 B
  OnFill::Name: $emojidir Size: 2000 B
  OnFill::Name: deep Size: 700 B
  OnFill::Name: held Size: 600 B
  OnFill::Name: locked Size: 0 B"
[ "$listing" = "$expected" ] || fail "listing was: $listing"
[ "$(grep -c -F " Parent:many" "$E2E_LOG")" = 100000 ] || fail "not every file of the big folder is in the tree"
log_has "level40:level39:level39" || fail "the 40th level is not in the tree"
log_has "leaf Parent:level40" || fail "the deepest file is not in the tree"
[ "$(grep -c -F "  mvwl::OnDirs () " "$E2E_LOG")" = 1 ] || fail "Enter or F5 during the scan asked for another"
[ "$(grep -c -F "Thread:read_mdir () started" "$E2E_LOG")" = 1 ] || fail "a second scan ran"
no_boxes || fail "a message during the scan: $(cat "$E2E_MESSAGES")"

# The splitter stays where it was dropped once the list is filled.
wait_until 10 bar_moved || fail "the splitter bar is not where it was dragged"

# Properties of the emoji file, in the unit chosen during the scan (bytes, not the stored MB).
menu_item 3 1
props() { grep -qiF -- "64|$win_T\\$smile\\n5000 B" "$E2E_MESSAGES"; }
answer_boxes_until 10 props || fail "no Properties of the emoji file in bytes: $(cat "$E2E_MESSAGES")"
# The emoji folder opened, and back with "..": no scan.
e2e_double_click "$ROW_X" "$(row_y 6)"
wait_for_log "  OnFill::Name: $inner Size: 2000 B"
e2e_double_click "$ROW_X" "$(row_y 1)"
wait_until 10 more_fills_of "locked Size: 0 B" 1 || fail "no refill after .."
[ "$(grep -c -F "Thread:read_mdir () started" "$E2E_LOG")" = 1 ] || fail "moving inside the tree scanned"

# Delete the right-to-left file: it alone leaves the disk.
e2e_click "$ROW_X" "$(row_y 4)"
e2e_key Delete
e2e_answer yes "4|Delete $shalom ?"
wait_until 10 more_fills_of "locked Size: 0 B" 2 || fail "no refill after the deletion"
[ -e "$T/$shalom" ] && fail "the right-to-left file is still on disk"
[ "$(fills_of "$shalom")" = 2 ] || fail "the right-to-left file is still listed"

# The deepest folder typed into the path field (a path of over 300 characters) is scanned; its
# file is deleted, and ".." above it scans its parent.
e2e_enter_path "$win_deep"
wait_for_log "  OnFill::Name: leaf Size: 700 B"
e2e_click "$ROW_X" "$(row_y 2)"
e2e_key Delete
e2e_answer yes "4|Delete leaf ?"
wait_until 10 test ! -e "$deep/leaf" || fail "the deepest file is still on disk: $(cat "$E2E_MESSAGES")"
e2e_double_click "$ROW_X" "$(row_y 1)"
wait_for_log "  OnFill::Name: level40 Size: 0 B"
collect_boxes
grep -q "^0|" "$E2E_MESSAGES" && fail "unexpected message: $(cat "$E2E_MESSAGES")"
scan_again_and_close

# Nothing else left the disk.
[ "$(find "$T/many" -type f | wc -l)" = 100000 ] || fail "files of the big folder were lost"
for f in "$smile" "$marhaba" "$emojidir/$inner" locked/secret; do
  [ -e "$T/$f" ] || fail "lost: $f"
done
[ -d "$deep" ] || fail "lost: the deepest folder"
echo "faults scan: ok"
