#!/usr/bin/env bash
# The disk changes behind the program's back after a scan: a file and a folder removed, a folder
# renamed. Open of the missing file says "File not found !"; Properties and Open of folders show
# the tree as it was scanned (moving inside a tree never reads the disk); Delete of the missing
# folder just drops it. A multiple selection holding a folder that got a file after the scan
# stops there with "Could not delete": the entries before it are gone, what the scan listed in
# that folder goes, the folder with the new file stays, and so do the entries after it, with
# their sizes. A new scan shows the disk as it is. (Deleting a file removed outside:
# test_delete.sh and test_delete_checked.sh.)
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/faults_lib.sh"
e2e_init faults_vanished

V="$E2E_WORK/V"
mkdir -p "$V/D/sub" "$V/D/ro" "$V/gonedir" "$V/moved"
head -c 3000 /dev/zero >"$V/D/a.bin"
head -c 2000 /dev/zero >"$V/D/ro/in"
head -c 1000 /dev/zero >"$V/D/c.txt"
head -c 100 /dev/zero >"$V/D/sub/x"
head -c 5000 /dev/zero >"$V/gonefile.txt"
head -c 4000 /dev/zero >"$V/gonedir/x"
head -c 3000 /dev/zero >"$V/moved/y"
head -c 100 /dev/zero >"$V/keep.bin"
win_V=$(winepath_of "$V")

fills_of() { grep -c -F -- "  OnFill::Name: $1" "$E2E_LOG"; }
more_fills_of() { [ "$(fills_of "$1")" -gt "$2" ]; }
scans() { grep -c -F "Thread:read_mdir () started" "$E2E_LOG"; }
# back_up N: ".." to the scanned folder, its listing then seen for the Nth time.
back_up() {
  e2e_double_click "$ROW_X" "$(row_y 1)"
  wait_until 10 more_fills_of "keep.bin Size: 100 B" $(($1 - 1)) || fail "no refill after .."
}

e2e_reset_registry
e2e_set_dword vl 1
e2e_set_dword un 0
e2e_set_dword ud 0
e2e_start
wait_for_log "mvwl::mvwl () OK ..."
# Rows: "\", "..", D, gonefile.txt, gonedir, moved, keep.bin.
e2e_enter_path "$win_V"
wait_for_log "  OnFill::Name: keep.bin Size: 100 B"
rm -f "$V/gonefile.txt"
rm -rf "$V/gonedir"
mv "$V/moved" "$V/renamed"

# Open of the missing file: the program's own message, once, and nothing else changes.
e2e_double_click "$ROW_X" "$(row_y 3)"
wait_for_message "0|File not found !"
# Properties show the entries as scanned.
menu_item 3 1
answer_boxes_until 10 grep -qiF -- "64|$win_V\\gonefile.txt\\n5000 B" "$E2E_MESSAGES" || fail "no Properties of the missing file"
menu_item 4 1
answer_boxes_until 10 grep -qiF -- "64|$win_V\\gonedir\\nFiles: 1\\nFolders: 0\\n4000 B" "$E2E_MESSAGES" ||
  fail "no Properties of the missing folder"
[ "$(grep -c -F "File not found !" "$E2E_MESSAGES")" = 1 ] || fail "messages: $(cat "$E2E_MESSAGES")"

# The missing folder and the renamed one open from the tree, without a scan.
e2e_double_click "$ROW_X" "$(row_y 4)"
wait_for_log "  OnFill::Name: x Size: 4000 B"
back_up 2
e2e_double_click "$ROW_X" "$(row_y 5)"
wait_for_log "  OnFill::Name: y Size: 3000 B"
back_up 3
[ "$(scans)" = 1 ] || fail "opening a folder scanned"

# Delete of the missing folder: it leaves the list without a box.
e2e_click "$ROW_X" "$(row_y 4)"
e2e_key Delete
e2e_answer yes "4|Delete gonedir ?"
wait_until 10 more_fills_of "keep.bin Size: 100 B" 3 || fail "no refill after the deletion"
[ "$(fills_of "gonedir")" = 3 ] || fail "the missing folder is still listed"
collect_boxes
messages_have "Could not delete" && fail "a box for a folder already gone"

# A multiple selection in D: a.bin, ro (a folder that got a file since the scan: its stamp holds
# its creation time, which Wine gives as its last-write time, so it is another folder now and is
# left whole), c.txt. Rows: "\", "..", a.bin, ro, c.txt, sub.
e2e_double_click "$ROW_X" "$(row_y 2)"
wait_for_log "  OnFill::Name: c.txt Size: 1000 B"
e2e_click "$ROW_X" "$(row_y 2)"
xdotool keydown shift mousemove --window "$E2E_WID" "$ROW_X" "$(row_y 4)" click 1 keyup shift
head -c 10 /dev/zero >"$V/D/ro/new"
e2e_key Delete
e2e_answer yes "4|Delete from a.bin to c.txt ?"
changed_ro() { grep -qiF -- "0|$win_V\\D\\ro\nCHANGED SINCE THE SCAN, SCAN AGAIN !" "$E2E_MESSAGES"; }
answer_boxes_until 20 changed_ro || fail "no message for the changed folder: $(cat "$E2E_MESSAGES")"
wait_until 10 more_fills_of "c.txt Size: 1000 B" 1 || fail "no refill after the failed deletion"
[ -e "$V/D/a.bin" ] && fail "a.bin, before the failure, is still on disk"
[ -f "$V/D/ro/new" ] && [ -f "$V/D/c.txt" ] || fail "an entry at or after the failure left the disk"
[ -f "$V/D/ro/in" ] || fail "ro/in left a folder that changed since the scan"
[ "$(fills_of "a.bin")" = 1 ] || fail "a.bin is still listed"
more_fills_of "ro Size: 2000 B" 1 || fail "ro is not listed as scanned"
log_has "mdir::delete_entry () changed since the scan after 0 of 2 entries" || fail "the refusal was not logged"
# D keeps the sizes of what is still there.
e2e_double_click "$ROW_X" "$(row_y 1)"
wait_for_log "  OnFill::Name: D Size: 3100 B"

# A new scan shows the disk as it is.
e2e_enter_path "$win_V"
wait_for_log "  OnFill::Name: D Size: 3110 B"
[ "$(scans)" = 2 ] || fail "expected a second scan"
last=$(grep -F "  OnFill::Name:" "$E2E_LOG" | tail -n 3 | tr -d '\r')
[ "$last" = "  OnFill::Name: D Size: 3110 B
  OnFill::Name: renamed Size: 3000 B
  OnFill::Name: keep.bin Size: 100 B" ] || fail "listing after the new scan: $last"
for f in renamed/y keep.bin D/ro/new D/c.txt D/sub/x; do [ -f "$V/$f" ] || fail "lost: $f"; done
[ "$(grep -c -F "File not found !" "$E2E_MESSAGES")" = 1 ] || fail "messages: $(cat "$E2E_MESSAGES")"
scan_again_and_close
echo "faults vanished: ok"
