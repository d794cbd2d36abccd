#!/usr/bin/env bash
# Delete end to end: with Yes the entry goes to the recycle bin (the Linux user's trash under
# Wine) and its folder's size drops at once; an entry removed outside the program leaves the
# list without a box; with No nothing changes. The question is always on the screen: nothing in
# the program's environment answers it or hides it. (Failures on disk: test_delete_checked.sh.)
source "$(dirname "$0")/lib.sh"
e2e_init delete

trash="${XDG_DATA_HOME:-$HOME/.local/share}/Trash/files"
tag="kelvane-e2e-$$"

make_data() {
  mkdir -p "$1/sub/deeper"
  head -c 3000 /dev/zero >"$1/big.bin"
  head -c 2000 /dev/zero >"$1/mid.txt"
  head -c 1500 /dev/zero >"$1/sub/$tag.bin"
  head -c 100 /dev/zero >"$1/sub/deeper/x"
  head -c 10 /dev/zero >"$1/small.txt"
}
scan_folder() {
  e2e_enter_path "$(winepath_of "$1")"
  wait_for_log "  OnFill::Name: small.txt Size: 10 B"
}
fills_of() { grep -c -F -- "  OnFill::Name: $1" "$E2E_LOG"; }
cleanup_trash() { rm -f "$trash/$tag.bin" "$trash/../info/$tag.bin.trashinfo"; }
trap 'cleanup_trash; e2e_cleanup' EXIT

e2e_reset_registry
e2e_set_dword vl 1
e2e_set_dword un 0
e2e_set_dword ud 1

# Yes: the entry goes to the trash and its folder's size drops.
data="$E2E_WORK/yes"
make_data "$data"
e2e_start
wait_for_log "mvwl::mvwl () OK ..."
scan_folder "$data"
e2e_double_click "$ROW_X" "$(row_y 4)"  # sub
wait_for_log "  OnFill::Name: $tag.bin Size: 1500 B"
e2e_click "$ROW_X" "$(row_y 2)"
e2e_key Delete
e2e_answer yes "4|Delete $tag.bin ?"
wait_until 10 test -f "$trash/$tag.bin" || fail "not in the trash: $trash/$tag.bin"
[ -e "$data/sub/$tag.bin" ] && fail "still on disk"
wait_until 10 sh -c "[ \$(grep -c -F 'OnFill::Name: deeper Size: 100 B' '$E2E_LOG') -ge 2 ]" || fail "no refill"
e2e_double_click "$ROW_X" "$(row_y 1)"  # ".." back without a scan
wait_for_log "  OnFill::Name: sub Size: 100 B"
[ "$(grep -c 'Thread:read_mdir () started' "$E2E_LOG")" = 1 ] || fail "deletion rescanned"

e2e_close
cleanup_trash

# An entry removed behind the program's back since the scan just leaves the list: it is gone,
# as the user wanted, and nothing is shown.
e2e_set_dword ud 0
: >"$E2E_MESSAGES"
e2e_start
wait_for_log "mvwl::mvwl () OK ..."
scan_folder "$data"
rm -f "$data/mid.txt"
before=$(fills_of "small.txt Size: 10 B")
e2e_click "$ROW_X" "$(row_y 3)"  # mid.txt
e2e_key Delete
e2e_answer yes "4|Delete mid.txt ?"
wait_until 10 sh -c "[ $before -lt \$(grep -c -F 'OnFill::Name: small.txt Size: 10 B' '$E2E_LOG') ]" ||
  fail "no refill"
[ "$(fills_of "mid.txt")" = 1 ] || fail "the entry stayed in the list"
collect_boxes
messages_have "Could not delete" && fail "a box for an entry already gone"
e2e_close
e2e_set_dword ud 1

# No: nothing changes. The program runs with the variables that once made its boxes go to a
# file and answered its questions Yes: the question is on the screen all the same, nothing is
# deleted while it waits, and No keeps the entry.
data="$E2E_WORK/no"
make_data "$data"
: >"$E2E_MESSAGES"
hidden="$E2E_WORK/hidden.txt"
echo yes >"$E2E_WORK/answer.txt"
old_switch="KELVANE_MESSAGE_LOG=$(winepath_of "$hidden") KELVANE_MESSAGE_ANSWER=yes"
old_switch+=" KELVANE_MESSAGE_ANSWER_FILE=$(winepath_of "$E2E_WORK/answer.txt")"
E2E_LAUNCH="env $old_switch" e2e_start
wait_for_log "mvwl::mvwl () OK ..."
scan_folder "$data"
e2e_click "$ROW_X" "$(row_y 5)"  # small.txt
e2e_key Delete
wait_until 20 box_showing || fail "no question on the screen"
[ -f "$data/small.txt" ] || fail "deleted before the question was answered"
[ "$(fills_of "small.txt")" = 1 ] || fail "refilled before the question was answered"
e2e_answer no "4|Delete small.txt ?"
[ -f "$data/small.txt" ] || fail "deleted although the answer was No"
[ "$(fills_of "small.txt")" = 1 ] || fail "refilled after No"
[ -e "$hidden" ] && fail "a box went to a file: $(cat "$hidden")"
e2e_close
echo "delete: ok"
