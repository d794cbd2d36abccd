#!/usr/bin/env bash
# Closing the program while a scan runs: the walk stops soon, the program ends on its own
# without a crash, and the log still ends with the destruction lines. A failed scan followed
# by a good one works whether the scan reads its folders on a pool of readers or on one thread.
source "$(dirname "$0")/lib.sh"
e2e_init close_during_scan

# A tree big enough that its walk outlasts the close: many small folders.
data="$E2E_WORK/data"
mkdir -p "$data"/a{1..40}/b{1..40}
(cd "$data" && touch a{1..40}/b{1..40}/f)

expect_clean_end() {
  local log
  log=$(tr -d '\r' <"$E2E_LOG")
  [ "$(tail -n 1 <<<"$log")" = "CGUI::~CGUI () OK ..." ] || fail "log does not end with CGUI's line"
  grep -q -F -x "mdir::~mdir () OK ..." <<<"$log" || fail "mdir was not destroyed"
  if grep -qi -E "unhandled|exception|crash" "$E2E_WORK/wine.out" 2>/dev/null; then fail "crash: $(cat "$E2E_WORK/wine.out")"; fi
}

e2e_reset_registry
e2e_set_dword vl 2
e2e_start
wait_for_log "mvwl::mvwl () OK ..."
e2e_enter_path "$(winepath_of "$data")"
wait_for_log "    read_sdir () started ..."
log_has "  Thread:read_mdir () finished ..." && echo "note: the walk ended before the close"
e2e_close
expect_clean_end
no_boxes || fail "unexpected message: $(cat "$E2E_MESSAGES")"
[ -z "$(e2e_get_value sq)" ] || fail "sq was written back"

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
  # The last close, with no scan running, is the reference for the Exit below.
  e2e_focus
  start=$(date +%s%N)
  e2e_close
  idle_ms=$((($(date +%s%N) - start) / 1000000))
  expect_clean_end
done
echo "exit with no scan running took $idle_ms ms"

# Exit well into a scan of a large tree with links (Z:\usr), the log at level 2: the program
# ends within 4 s of the command (or, on a machine so loaded that even the Exit without a scan
# is slow, no more than 1.5 s after that one takes).
e2e_start
wait_for_log "mvwl::mvwl () OK ..."
e2e_enter_path 'Z:\usr'
wait_for_log "    read_sdir () started ..."
# A deliberate delay, not a wait for readiness: Exit comes 1.5 s into the scan, and the test
# holds whether or not the scan has finished by then.
sleep 1.5
finished_before=no
log_has "  Thread:read_mdir () finished ..." && finished_before=yes
e2e_focus
start=$(date +%s%N)
e2e_key alt+F4
wait_until 30 e2e_exited || fail "program did not close"
ms=$((($(date +%s%N) - start) / 1000000))
wait "$E2E_PID" 2>/dev/null
E2E_PID=
echo "exit during the scan of Z:\\usr took $ms ms (scan finished before: $finished_before)"
expect_clean_end
[ "$ms" -le 4000 ] || [ "$ms" -le $((idle_ms + 1500)) ] || fail "Exit during the scan took $ms ms"

echo "close during scan: ok"
