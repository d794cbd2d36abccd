#!/usr/bin/env bash
# Closing the program while a scan runs: the walk stops soon, the program ends on its own
# without a crash, and the log still ends with the destruction lines.
source "$(dirname "$0")/lib.sh"
e2e_init close_during_scan

# A tree big enough that its walk outlasts the close: many small folders.
data="$E2E_WORK/data"
mkdir -p "$data"/a{1..40}/b{1..40}
(cd "$data" && touch a{1..40}/b{1..40}/f)

e2e_reset_registry
e2e_set_dword vl 2
e2e_start
wait_for_log "mvwl::mvwl () OK ..."
e2e_enter_path "$(winepath_of "$data")"
wait_for_log "    read_sdir () started ..."
log_has "  Thread:read_mdir () finished ..." && echo "note: the walk ended before the close"
e2e_close
log=$(tr -d '\r' <"$E2E_LOG")
[ "$(tail -n 1 <<<"$log")" = "CGUI::~CGUI () OK ..." ] || fail "log does not end with CGUI's line"
grep -q -F -x "mdir::~mdir () OK ..." <<<"$log" || fail "mdir was not destroyed"
if grep -qi -E "unhandled|exception|crash" "$E2E_WORK/wine.out" 2>/dev/null; then fail "crash: $(cat "$E2E_WORK/wine.out")"; fi
[ -s "$E2E_MESSAGES" ] && fail "unexpected message: $(cat "$E2E_MESSAGES")"
echo "close during scan: ok"
