#!/usr/bin/env bash
# Exit during a deletion held in a call that cannot be stopped: the window goes at once, and the
# process is gone within 5 s of the deletion's release, although the call it waited in was
# never asked to stop (as the shell's deletion cannot be). The deletion is held in a folder
# whose listing waits until the test lets it go (tests/e2e/gate_fs.py): the permanent deletion
# lists the folder through its handle before it removes anything. (The recycle bin is not
# asked: under Wine it cannot take a folder from this file system, which is refused before.)
source "$(dirname "$0")/lib.sh"
e2e_init exit_during_delete

# The held folder is scanned itself: d0 (one file of 600 B) and held.bin (100 B).
data="$E2E_WORK/data"
gate_mount "$data" 1 100
gate_open  # the scan reads it all

e2e_reset_registry
e2e_set_dword vl 1
e2e_set_dword un 0
e2e_set_dword ud 0
e2e_start
wait_for_log "mvwl::mvwl () OK ..."
e2e_enter_path "$(winepath_of "$data")"
wait_for_log "  OnFill::Name: held.bin Size: 100 B" 60

# The gate shuts again: the deletion waits in the held folder d0.
rm -f "$GATE_FILE"
: >"$GATE_LOG"
e2e_click "$ROW_X" "$(row_y 2)"  # d0 (after "\" and "..", the largest first)
e2e_key Delete
e2e_answer yes "4|Delete d0 ?"
wait_until 30 gate_waiting || fail "the deletion never reached the held folder"

window_gone() { ! find_main_window >/dev/null; }
e2e_focus
e2e_key alt+F4
wait_until 20 window_gone || fail "the window stayed while the deletion was held"
wait_for_log "mvwl::~mvwl () the deletion did not stop: it ends with the process"
start=$(date +%s%N)
gate_open
wait_until 5 e2e_exited || fail "the process was still there 5 s after the deletion was let go"
ms=$((($(date +%s%N) - start) / 1000000))
wait "$E2E_PID" 2>/dev/null
E2E_PID=
echo "exit during a deletion: the process ended $ms ms after the held folder was let go"
log_has "main () ends with the deletion unfinished" || fail "the process did not end by the program's own hand"
log_has "SHFileOperation" && fail "the shell was asked after the Exit"
gate_unmount

echo "exit during delete: ok"
