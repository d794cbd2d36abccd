#!/usr/bin/env bash
# The 32-bit program on a 64-bit system sees the system folder as it is: scanning C:\windows, it
# shows system32 with the size of system32's own files, not of syswow64's, which the system
# shows a 32-bit program under that name unless the program turns that off. Only the 32-bit
# program in a 64-bit prefix (where Wine redirects as 64-bit Windows does) can tell.
source "$(dirname "$0")/lib.sh"
e2e_init system32_view

# The program's machine, from its PE header: 014c is 32-bit x86.
pe_at=$(od -An -tu4 -j60 -N4 "$E2E_EXE" | tr -d ' ')
machine=$(od -An -tx2 -j$((pe_at + 4)) -N2 "$E2E_EXE" | tr -d ' ')
[ "$machine" = 014c ] \
  || skip "system32 as the 32-bit program sees it" "the tests run the 64-bit program here, which is never redirected"
windows="${WINEPREFIX:?}/drive_c/windows"
[ -d "$windows/syswow64" ] || skip "system32 as the 32-bit program sees it" "the prefix is not a 64-bit one: nothing is redirected"

# Bytes held by the files beneath a folder, as the scan counts them (a link to a file with its
# target's size, as Wine reports it).
bytes_in() { find -L "$1" -type f -printf '%s\n' 2>/dev/null | awk '{ s += $1 } END { printf "%d\n", s }'; }
own=$(bytes_in "$windows/system32")
wow=$(bytes_in "$windows/syswow64")
# Within a hundredth: the prefix's files may change a little while Wine runs (its logs).
near() { awk -v a="$1" -v b="$2" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(d * 100 <= b) }'; }
near "$wow" "$own" && skip "system32 as the 32-bit program sees it" "this prefix's system32 and syswow64 hold about as much ($own and $wow B)"

e2e_reset_registry
e2e_set_dword vl 1
e2e_set_dword un 0
e2e_start
wait_for_log "mvwl::mvwl () OK ..."
e2e_enter_path 'C:\windows'
wait_for_log "  OnFill::Name: system32 Size:" 120
shown=$(tr -d '\r' <"$E2E_LOG" | sed -n 's/^  OnFill::Name: system32 Size: \([0-9]*\) B$/\1/p' | tail -n 1)
echo "system32: shown $shown B; on disk system32 $own B, syswow64 $wow B"
near "$shown" "$own" || fail "system32 shown with $shown B, its own files hold $own B (syswow64: $wow B)"
e2e_close

echo "system32 view: ok"
