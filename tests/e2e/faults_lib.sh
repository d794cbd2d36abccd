# Sourced after lib.sh by the fault tests: what every one of them checks at its end.

# popups: how many windows of the program besides the main one are showing (menus, tips).
popups() { xdotool search --onlyvisible --class kelvane.exe 2>/dev/null | grep -vc "^$E2E_WID\$"; }

# menu_item ROW N: opens the context menu of a list row and chooses its Nth item.
menu_item() {
  e2e_click "$ROW_X" "$(row_y "$1")" 3
  wait_until 10 sh -c "[ \$(xdotool search --onlyvisible --class kelvane.exe | wc -l) -ge 2 ]" || fail "no menu"
  local keys=() i
  for ((i = 0; i < $2; i++)); do keys+=(Down); done
  e2e_key "${keys[@]}" Return
}

# expect_clean_end: the process has ended; its log ends with the destruction lines and Wine
# saw no crash.
expect_clean_end() {
  local log
  log=$(tr -d '\r' <"$E2E_LOG")
  [ "$(tail -n 1 <<<"$log")" = "CGUI::~CGUI () OK ..." ] || fail "log does not end with CGUI's line"
  grep -q -F -x "mdir::~mdir () OK ..." <<<"$log" || fail "mdir was not destroyed"
  if grep -qi -E "unhandled|exception" "$E2E_WORK/wine.out" 2>/dev/null; then fail "crash: $(cat "$E2E_WORK/wine.out")"; fi
  return 0
}

# scan_again_and_close: a new folder is scanned and listed (the log at level 1 or 3), then the
# program is closed and ends cleanly.
fault_fresh_scans() { grep -c -E "OnFill::Name: fresh.bin Size: 42 B|OnDraw Color:00, fresh.bin" "$E2E_LOG"; }
fault_more_fresh_scans() { [ "$(fault_fresh_scans)" -gt "$1" ]; }
scan_again_and_close() {
  local folder="$E2E_WORK/fresh" before
  mkdir -p "$folder"
  [ -f "$folder/fresh.bin" ] || head -c 42 /dev/zero >"$folder/fresh.bin"
  before=$(fault_fresh_scans)
  e2e_enter_path "$(winepath_of "$folder")"
  wait_until 30 fault_more_fresh_scans "$before" || fail "no scan after the fault"
  e2e_close
  expect_clean_end
}
