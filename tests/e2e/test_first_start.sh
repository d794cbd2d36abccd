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

for pair in xo=0xa yo=0xa xs=0x2bc ys=0x190 ft=0x1 tm=0x3 ud=0x1 un=0x2 vl=0x0; do
  name=${pair%%=*} want=${pair#*=}
  got=$(e2e_get_value "$name")
  [ "$got" = "$want" ] || fail "registry $name is '$got', expected $want"
done
[ "$(e2e_get_value mf)" = "Tahoma" ] || fail "registry mf is '$(e2e_get_value mf)'"
[ -z "$(e2e_get_value db)" ] || fail "db was written"
[ -z "$(e2e_get_value iv)" ] || fail "iv was written"
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
