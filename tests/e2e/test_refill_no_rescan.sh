#!/usr/bin/env bash
# Moving inside a scanned tree reads no folder again: at log level 2 every folder read is
# logged, and opening a sub-folder, going back with ".." and jumping to "\\" of a drive-root
# tree add no such line.
source "$(dirname "$0")/lib.sh"
e2e_init refill_no_rescan

data="$E2E_WORK/data"
mkdir -p "$data/sub/deeper"
head -c 3000 /dev/zero >"$data/big.bin"
head -c 1500 /dev/zero >"$data/sub/inner.bin"
head -c 100 /dev/zero >"$data/sub/deeper/x"
win_data=$(winepath_of "$data")
reads() { grep -c -F "    read_sdir () started ..." "$E2E_LOG"; }
requests() { grep -c -F "  mvwl::OnDirs () " "$E2E_LOG"; }

e2e_reset_registry
e2e_set_dword vl 2
e2e_start
wait_for_log "mvwl::mvwl () OK ..."
e2e_enter_path "$win_data"
wait_for_log "  Thread:read_mdir () finished ..."
read_count=$(reads)
[ "$read_count" -ge 1 ] || fail "the scan logged no folder read"

# Rows: "\\", "..", big.bin (3000 B), sub (1600 B).
e2e_double_click "$ROW_X" "$(row_y 3)"  # sub
wait_until 10 sh -c "[ \$(grep -c -F '  mvwl::OnDirs () ' '$E2E_LOG') -ge 2 ]" || fail "sub was not opened"
e2e_double_click "$ROW_X" "$(row_y 1)"  # ".."
wait_until 10 sh -c "[ \$(grep -c -F '  mvwl::OnDirs () ' '$E2E_LOG') -ge 3 ]" || fail ".. was not opened"
e2e_double_click "$ROW_X" "$(row_y 3)"  # sub again
wait_until 10 sh -c "[ \$(grep -c -F '  mvwl::OnDirs () ' '$E2E_LOG') -ge 4 ]" || fail "sub was not opened again"
[ "$(reads)" = "$read_count" ] || fail "moving inside the tree read folders again ($(reads) after $read_count)"
[ "$(grep -c -F '  Thread:read_mdir () finished ...' "$E2E_LOG")" = 1 ] || fail "a second scan ran"
e2e_close
echo "refill without rescan: ok"
