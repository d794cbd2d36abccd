#!/usr/bin/env bash
# Closing the program while a scan runs: the walk stops soon, the program ends on its own
# without a crash, and the log still ends with the destruction lines. A failed scan followed
# by a good one works whether the scan reads its folders on a pool of readers or on one thread.
source "$(dirname "$0")/lib.sh"
e2e_init close_during_scan

# A tree whose walk cannot end before the close: beside a few small folders, a held folder
# (tests/e2e/gate_fs.py) of 400 folders whose listings wait until the test lets them go.
data="$E2E_WORK/data"
mkdir -p "$data"/a{1..4}/b{1..4}
(cd "$data" && touch a{1..4}/b{1..4}/f)
gate_mount "$data/held" 400

expect_clean_end() {
  local log
  log=$(tr -d '\r' <"$E2E_LOG")
  [ "$(tail -n 1 <<<"$log")" = "CGUI::~CGUI () OK ..." ] || fail "log does not end with CGUI's line"
  grep -q -F -x "mdir::~mdir () OK ..." <<<"$log" || fail "mdir was not destroyed"
  if grep -qi -E "unhandled|exception|crash" "$E2E_WORK/wine.out" 2>/dev/null; then fail "crash: $(cat "$E2E_WORK/wine.out")"; fi
}

# Exit while the walk waits in the held folder: the window goes, and once the folder is let go
# the walk stops instead of reading the 400 folders beneath it; the program then ends.
e2e_reset_registry
e2e_set_dword vl 2
e2e_start
wait_for_log "mvwl::mvwl () OK ..."
e2e_enter_path "$(winepath_of "$data")"
wait_until 60 gate_waiting || fail "the walk never reached the held folder"
log_has "  Thread:read_mdir () finished ..." && fail "the walk ended in a held folder"
e2e_focus
e2e_key alt+F4
wait_for_log "mvwl::~mvwl () OK ..."
start=$(date +%s%N)
gate_open
wait_until 60 e2e_exited || fail "program did not close after the held folder was let go"
ms=$((($(date +%s%N) - start) / 1000000))
wait "$E2E_PID" 2>/dev/null
E2E_PID=
read_after=$(grep -c "^listed /d" "$GATE_LOG")
echo "exit during the scan: the program ended $ms ms after the folder was let go, $read_after of 400 folders read"
[ "$read_after" -lt 400 ] || fail "the walk read on after the Exit: all 400 held folders were read"
expect_clean_end
no_boxes || fail "unexpected message: $(cat "$E2E_MESSAGES")"
[ -z "$(e2e_get_value sq)" ] || fail "sq was written back"
gate_unmount
rm -rf "$data/held"

# A failed scan, then a good one, in both modes.
for sq in 1 0; do
  e2e_set_dword sq "$sq"
  : >"$E2E_MESSAGES"
  e2e_start
  wait_for_log "mvwl::mvwl () OK ..."
  e2e_enter_path "$(winepath_of "$E2E_WORK/missing")"
  wait_for_message "0|INVALID PATH !"
  e2e_enter_path "$(winepath_of "$data")"
  wait_for_log "  Thread:read_mdir () finished ..." 60
  e2e_close
  expect_clean_end
done

echo "close during scan: ok"
