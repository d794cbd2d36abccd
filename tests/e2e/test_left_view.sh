#!/usr/bin/env bash
# The left pane end to end: the drives at start, a folder typed into the path field is scanned
# and listed largest first, sub-folders and ".." inside the tree refill without a scan, ".."
# above the scanned folder scans its parent, Properties shows the entry's texts, Delete in the
# drive list is refused.
source "$(dirname "$0")/lib.sh"
e2e_init left_view

data="$E2E_WORK/data"
mkdir -p "$data/sub/deeper"
head -c 3000 /dev/zero >"$data/big.bin"
head -c 2000 /dev/zero >"$data/mid.txt"
head -c 1500 /dev/zero >"$data/sub/inner.bin"
head -c 100 /dev/zero >"$data/sub/deeper/x"
head -c 10 /dev/zero >"$data/small.txt"
win_data=$(winepath_of "$data")

e2e_reset_registry
e2e_set_dword vl 1
e2e_set_dword un 0
e2e_start
wait_for_log "mvwl::mvwl () OK ..."

# The drives: their usage bars are pure blue (polled: the first paint may still be on its way).
bars_drawn() {
  local shot
  shot=$(e2e_screenshot left_view_drives) || return 1
  convert "$shot" -crop 300x200+14+120 -format %c histogram:info:- | grep -qi "#0000FF"
}
wait_until 20 bars_drawn || fail "no drive bars drawn"

# Delete in the drive list.
e2e_focus
e2e_click "$ROW_X" "$(row_y 0)"
e2e_key Delete
wait_for_message "0|INVALID OPERATION !"

# Type the folder and press Enter.
e2e_enter_path "$win_data"
wait_for_log "  OnFill::Name: small.txt Size: 10 B"
fills=$(grep -F "  OnFill::Name:" "$E2E_LOG" | tr -d '\r')
expected="  OnFill::Name: big.bin Size: 3000 B
  OnFill::Name: mid.txt Size: 2000 B
  OnFill::Name: sub Size: 1600 B
  OnFill::Name: small.txt Size: 10 B"
[ "$fills" = "$expected" ] || fail "listing was: $fills"
log_has "  mvwl::OnDirs () pa->mdir.path:, pa->mdir.cdir:$win_data" || fail "no OnDirs line for the request"
scans() { grep -c "Thread:read_mdir () started" "$E2E_LOG"; }
[ "$(scans)" = 1 ] || fail "expected one scan, saw $(scans)"

# Properties of big.bin (row 2) through the context menu's first item.
windows() { xdotool search --onlyvisible --name '.*' 2>/dev/null | wc -l; }
before=$(windows)
e2e_click "$ROW_X" "$(row_y 2)" 3
wait_until 5 sh -c "[ \$(xdotool search --onlyvisible --name '.*' 2>/dev/null | wc -l) -gt $before ]" \
  || fail "no context menu"
e2e_click $((ROW_X + 20)) $(($(row_y 2) + 9))
# The path as the tree holds it (the letters' case may differ from the typed one).
props_shown() { grep -qiF -- "64|$win_data\\big.bin\\n3000 B" "$E2E_MESSAGES"; }
answer_boxes_until 10 props_shown || fail "no Properties of big.bin"

# Open sub (row 4): a refill without a scan.
e2e_double_click "$ROW_X" "$(row_y 4)"
log_has_i() { grep -qiF -- "$1" "$E2E_LOG"; }
wait_until 10 log_has_i "pa->mdir.cdir:$win_data\\sub" || fail "sub not requested"
wait_for_log "  OnFill::Name: deeper Size: 100 B"
[ "$(scans)" = 1 ] || fail "opening a sub-folder scanned"

# ".." back to the scanned folder, still without a scan; then ".." above it scans the parent.
e2e_double_click "$ROW_X" "$(row_y 1)"
wait_until 10 sh -c "[ \$(grep -c 'OnFill::Name: small.txt' '$E2E_LOG') -ge 2 ]" || fail "no refill after .."
[ "$(scans)" = 1 ] || fail "going up inside the tree scanned"
e2e_double_click "$ROW_X" "$(row_y 1)"
wait_until 30 sh -c "[ \$(grep -c 'Thread:read_mdir () started' '$E2E_LOG') -ge 2 ]" || fail "no scan of the parent"
wait_for_log "  OnFill::Name: data Size: 6610 B"
parent=${win_data%\\*}
log_has_i "pa->mdir.cdir:$parent" || fail "parent not requested"

e2e_close
echo "left view: ok"
