#!/usr/bin/env bash
# Deletion as the disk sees it, run as root WITHOUT the permission override so that a read-only
# folder really refuses: an entry the shell reports deleted but that is still on disk is a
# failed deletion ("Could not delete", row and sizes kept) with either setting of the recycle
# bin; an entry removed outside the program since the scan just leaves the list, without a box.
source "$(dirname "$0")/lib.sh"
e2e_init delete_checked

# Wine's server does part of the file work: it must run without the override too, so this
# prefix's server is started afresh under it, and ended again afterwards.
E2E_LAUNCH="setpriv --bounding-set=-dac_override,-dac_read_search --inh-caps=-dac_override,-dac_read_search"
wine() { $E2E_LAUNCH wine "$@"; }
restart_server() { wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1; return 0; }
d1="$E2E_WORK/D1"
finish() { chmod -R u+w "$d1" 2>/dev/null; e2e_cleanup; restart_server; }
trap finish EXIT
restart_server

mkdir -p "$d1/S"
head -c 2000 /dev/zero >"$d1/F2"
head -c 500 /dev/zero >"$d1/F4"
head -c 100 /dev/zero >"$d1/S/x"
chmod 555 "$d1"
win_d1=$(winepath_of "$d1")

e2e_reset_registry
e2e_set_dword vl 1
e2e_set_dword un 0

# Rows: "\", "..", F2, F4, S.
scan_d1() {
  e2e_enter_path "$win_d1"
  wait_for_log "  OnFill::Name: S Size: 100 B"
}
fills_of() { grep -c -F -- "  OnFill::Name: $1" "$E2E_LOG"; }
more_fills_of() { [ "$(fills_of "$1")" -gt "$2" ]; }
could_not() { grep -qiF -- "0|Could not delete $win_d1\\$1 !" "$E2E_MESSAGES"; }
# A failed deletion of F2: the box, F2 still on disk, listed again with its size.
expect_f2_kept() {
  answer_boxes_until 20 could_not F2 || fail "no failure message (ud $1)"
  [ -f "$d1/F2" ] || fail "F2 is gone (ud $1)"
  wait_until 10 more_fills_of "F2 Size: 2000 B" "$2" || fail "F2 left the list (ud $1)"
  # For good the program removes the entry itself; the recycle bin is the shell's.
  if [ "$1" = 0 ]; then
    log_has "mdir::delete_entry () kept some after 0 of 1 entries" || fail "failure not logged (ud $1)"
  else
    log_has "mdir::SHFileOperation () returned " || fail "failure not logged (ud $1)"
  fi
}

# Without the recycle bin.
e2e_set_dword ud 0
e2e_start
wait_for_log "mvwl::mvwl () OK ..."
scan_d1
before=$(fills_of "F2 Size: 2000 B")
e2e_click "$ROW_X" "$(row_y 2)"
e2e_key Delete
e2e_answer yes "4|Delete F2 ?"
expect_f2_kept 0 "$before"
e2e_close

# With the recycle bin: first an entry removed outside, then the read-only one, for which
# Wine asks in a window of its own whether to delete for good (answered Yes).
e2e_set_dword ud 1
: >"$E2E_MESSAGES"
e2e_start
wait_for_log "mvwl::mvwl () OK ..."
scan_d1
rm -f "$d1/F4"
before=$(fills_of "S Size: 100 B")
e2e_click "$ROW_X" "$(row_y 3)"  # F4
e2e_key Delete
e2e_answer yes "4|Delete F4 ?"
wait_until 10 more_fills_of "S Size: 100 B" "$before" || fail "no refill after F4"
[ "$(fills_of "F4")" = 1 ] || fail "F4 still listed"
collect_boxes
messages_have "Could not delete" && fail "a box for an entry already gone"

before=$(fills_of "F2 Size: 2000 B")
e2e_click "$ROW_X" "$(row_y 2)"  # F2
e2e_key Delete
e2e_answer yes "4|Delete F2 ?"
shell_dialog() { xdotool search --onlyvisible --name '^Confirm file deletion$' 2>/dev/null | head -n 1 | grep .; }
wait_until 20 shell_dialog || fail "the shell did not ask"
dialog=$(shell_dialog)
xdotool windowfocus --sync "$dialog" 2>/dev/null || xdotool windowfocus "$dialog"
e2e_key Return  # Yes, its default button
expect_f2_kept 1 "$before"
e2e_close
echo "delete checked: ok"
