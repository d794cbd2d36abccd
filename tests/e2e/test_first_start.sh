#!/usr/bin/env bash
# A first start on an empty registry writes the defaults and the log, shows the main window
# without any message box, and closes cleanly with the destruction lines in order.
source "$(dirname "$0")/lib.sh"
e2e_init first_start

e2e_reset_registry
e2e_start
wait_for_log "mapp::mapp () OK ..."
e2e_wait_painted
e2e_screenshot first_start >/dev/null

# What a first start writes, from the table that declares the settings: each DWORD and string
# marked for writing back holds its default, the others stay absent.
table=$(setting_table)
[ "$(wc -l <<<"$table")" -ge 12 ] || fail "setting table not read: $table"
while read -r kind name default use; do
  got=$(e2e_get_value "$name")
  if [ "$use" != kWriteBack ]; then
    [ -z "$got" ] || fail "$name was written"
    continue
  fi
  if [ "$kind" = dword ]; then want=$(printf '0x%x' "$default"); else want=${default//\"/}; fi
  [ "$got" = "$want" ] || fail "registry $name is '$got', expected $want"
done <<<"$table"
no_boxes || fail "unexpected message box: $(cat "$E2E_MESSAGES")"

e2e_close
log=$(tr -d '\r' <"$E2E_LOG")
head -n 2 <<<"$log" | grep -q "^Windows Version: " || fail "log header missing"
[ "$(head -n 1 <<<"$log")" = "Logfile created by kelvane.exe:" ] || fail "first log line"
expect_order() {  # the lines given appear in this order
  local pos=0 line n
  for line in "$@"; do
    n=$(grep -n -F -x -- "$line" <<<"$log" | head -n 1 | cut -d: -f1)
    [ -n "$n" ] || fail "log lacks: $line"
    [ "$n" -gt "$pos" ] || fail "log line out of order: $line"
    pos=$n
  done
}
expect_order "CGUI::CGUI () OK ..." "mdrv::mdrv () OK ..." "mdir::mdir () OK ..." "mapp::mapp () OK ..." \
  "mapp::~mapp () OK ..." "mdir::~mdir () OK ..." "mdrv::~mdrv () OK ..." "CGUI::~CGUI () OK ..."
[ "$(tail -n 1 <<<"$log")" = "CGUI::~CGUI () OK ..." ] || fail "CGUI's line is not the last"
echo "first start: ok"
