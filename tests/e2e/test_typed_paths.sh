#!/usr/bin/env bash
# Typed paths are resolved before a scan: "." and ".." components and blanks around the text
# name the folder itself, and the path field shows it resolved; a drive the system does not
# know, or a drive "letter" that is no letter, gives "INVALID PATH !" and the program scans
# again afterwards.
source "$(dirname "$0")/lib.sh"
e2e_init typed_paths

data="$E2E_WORK/KTEST"
mkdir -p "$data/D1"
head -c 300 /dev/zero >"$data/D1/F2"
head -c 10 /dev/zero >"$data/F1"
win_data=$(winepath_of "$data")

e2e_reset_registry
e2e_set_dword vl 1
e2e_set_dword un 0
e2e_start
wait_for_log "mvwl::mvwl () OK ..."

listings() { grep -c -F "  OnFill::Name: F1 Size: 10 B" "$E2E_LOG"; }
more_listings() { [ "$(listings)" -gt "$1" ]; }
last_request() { grep -F -- "pa->mdir.cdir:" "$E2E_LOG" | tail -n 1 | tr -d '\r' | sed 's/.*pa->mdir.cdir://'; }
# lists_data TEXT: TEXT typed lists the folder itself, requested by its resolved path.
lists_data() {
  local before
  before=$(listings)
  e2e_enter_path "$1"
  wait_until 30 more_listings "$before" || fail "'$1' did not list the folder"
  [ "$(last_request)" = "$win_data" ] || fail "'$1' was requested as '$(last_request)'"
}

lists_data "$win_data\\."
lists_data "$win_data\\D1\\.."
lists_data "  $win_data "

for bad in 'Q:\' '1:\'; do
  : >"$E2E_MESSAGES"
  e2e_enter_path "$bad"
  wait_for_message "0|INVALID PATH !"
done
lists_data "$win_data"
e2e_close
echo "typed paths: ok"
