#!/usr/bin/env bash
# Bad settings and colour files: every registry value stored with the wrong type, negative, or
# huge; a colour file of junk, and none at all. The program starts without a crash, replaces
# what is unusable by its default (written back, except db and sq, and iv, which are only
# read), takes huge values as they are (the window still inside the screen), uses the colours
# it could read, and scans.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/faults_lib.sh"
e2e_init faults_settings

# The settings and their defaults come from the table that declares them.
table=$(setting_table)
[ "$(wc -l <<<"$table")" -ge 12 ] || fail "setting table not read: $table"
DWORDS=$(awk '$1 == "dword" { printf "%s ", $2 }' <<<"$table")
# The DWORDs start-up leaves as they are when unusable (db and sq), and the face's default.
KEPT_DWORDS=$(awk '$1 == "dword" && $4 != "kWriteBack" { printf "%s ", $2 }' <<<"$table")
MF_DEFAULT=$(awk '$2 == "mf" { gsub(/"/, "", $3); print $3 }' <<<"$table")
# Few Wine starts: the values go in with one import, and come out with one query.
# reg_import LINES...: the key made anew with these value lines ("name"=dword:.. or "name"="..").
reg_import() {
  local file="$E2E_WORK/settings.reg"
  { printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Tarnwick\\Kelvane]\r\n'
    printf '%s\r\n' "$@"; } >"$file"
  e2e_reset_registry
  wine reg import "$(winepath_of "$file")" >/dev/null 2>&1 || fail "reg import"
}
# reg_read: the key's values as lines "name type data".
reg_read() {
  REG=$(wine reg query "$E2E_KEY" 2>/dev/null | tr -d '\r' | awk 'NF >= 2 && $2 ~ /^REG_/ { print }')
}
reg_value() { awk -v n="$1" '$1 == n { print $2, $3 }' <<<"$REG"; }
expect_defaults_written() {
  local kind name default use want
  while read -r kind name default use; do
    [ "$kind" = dword ] && [ "$use" = kWriteBack ] || continue
    want=$(printf '0x%x' "$default")
    [ "$(reg_value "$name")" = "REG_DWORD $want" ] || fail "$name is '$(reg_value "$name")', not the default $want"
  done <<<"$table"
}
# The main window's place and size on the screen: X Y WIDTH HEIGHT.
geometry() { xdotool getwindowgeometry --shell "$E2E_WID" | sed -n 's/^\(X\|Y\|WIDTH\|HEIGHT\)=//p' | tr '\n' ' '; }
inside_screen() {
  local x y w h sw sh
  read -r x y w h <<<"$(geometry)"
  read -r sw sh < <(xdpyinfo | sed -n 's/^ *dimensions: *\([0-9]*\)x\([0-9]*\) .*/\1 \2/p')
  [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ "$w" -gt 100 ] && [ "$h" -gt 100 ] && [ $((x + w)) -le "$sw" ] &&
    [ $((y + h)) -le "$sh" ] || fail "window at $x,$y size ${w}x$h is not inside the screen ${sw}x$sh"
}
# colour_at X Y: the main window's pixel there as rrggbb.
colour_at() {
  import -window "$E2E_WID" -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' |
    tr 'A-F' 'a-f' | tail -n 1
}
# 0x00BBGGRR as rrggbb.
rgb_of() { local v=${1#0x}; v=$(printf '%08x' "$((16#$v))"); echo "${v:6:2}${v:4:2}${v:2:2}"; }
# A point of the pie's single sector (left of the centre) in the default layout.
DISC_X=450 DISC_Y=204
data="$E2E_WORK/data"
mkdir -p "$data"
head -c 5000 /dev/zero >"$data/only.bin"
# scan_shows_colour RRGGBB: the folder of one file is scanned and its pie is of that colour.
disc_is() { [ "$(colour_at "$DISC_X" "$DISC_Y")" = "$1" ]; }
scan_shows_colour() {
  e2e_enter_path "$(winepath_of "$data")"
  wait_until 30 disc_is "$1" || fail "the pie is $(colour_at "$DISC_X" "$DISC_Y"), not $1"
}
build_colour0=$(rgb_of "$(grep -m 1 -o '^0x[0-9A-Fa-f]*' "$E2E_BUILD/kelvane.cfg")")

# Wrong types: every DWORD a string, the strings DWORDs. The defaults are used and written
# back as DWORDs; db, sq and iv are left as they were; mf becomes its default.
values=()
for v in $DWORDS; do values+=("\"$v\"=\"5\""); done
reg_import "${values[@]}" '"mf"=dword:00000005' '"iv"=dword:00000005'
e2e_start
e2e_wait_painted
reg_read
expect_defaults_written
for v in $KEPT_DWORDS; do [ "$(reg_value "$v")" = "REG_SZ 5" ] || fail "$v was rewritten: $(reg_value "$v")"; done
[ "$(reg_value iv)" = "REG_DWORD 0x5" ] || fail "iv was rewritten: $(reg_value iv)"
[ "$(reg_value mf)" = "REG_SZ $MF_DEFAULT" ] || fail "mf is '$(reg_value mf)'"
default_place=$(geometry)
inside_screen
scan_shows_colour "$build_colour0"
no_boxes || fail "unexpected message: $(cat "$E2E_MESSAGES")"
e2e_close
expect_clean_end

# Negative: the same defaults, the same place.
values=()
for v in $DWORDS; do values+=("\"$v\"=dword:ffffffff"); done
reg_import "${values[@]}" '"xs"=dword:80000000' '"mf"=""'
e2e_start
e2e_wait_painted
reg_read
expect_defaults_written
for v in $KEPT_DWORDS; do [ "$(reg_value "$v")" = "REG_DWORD 0xffffffff" ] || fail "$v was rewritten: $(reg_value "$v")"; done
[ "$(reg_value mf)" = "REG_SZ $MF_DEFAULT" ] || fail "mf is '$(reg_value mf)'"
[ "$(geometry)" = "$default_place" ] || fail "window at $(geometry), not at the default $default_place"
scan_shows_colour "$build_colour0"
no_boxes || fail "unexpected message: $(cat "$E2E_MESSAGES")"
e2e_close
expect_clean_end

# Huge: taken as they are and not rewritten. The window stays inside the screen; every trace
# line of level 2 is written; db shows its "SCAN" box and turns the pie off; a face name and
# a viewer of 300 characters do no harm.
long=$(printf 'F%.0s' $(seq 1 300))
values=()
for v in $DWORDS; do values+=("\"$v\"=dword:7fffffff"); done
reg_import "${values[@]}" "\"mf\"=\"$long\"" "\"iv\"=\"C:\\\\$long.exe\""
e2e_start
e2e_wait_painted
reg_read
for v in $DWORDS; do [ "$(reg_value "$v")" = "REG_DWORD 0x7fffffff" ] || fail "$v is '$(reg_value "$v")'"; done
[ "$(reg_value mf)" = "REG_SZ $long" ] || fail "mf was rewritten"
[ "$(reg_value iv)" = "REG_SZ C:\\$long.exe" ] || fail "iv is '$(reg_value iv)'"
inside_screen
e2e_enter_path "$(winepath_of "$data")"
wait_for_message "0|SCAN"
wait_for_log "  Thread:read_mdir () finished ..."
e2e_close
expect_clean_end

# The colour file: a copy of the program beside a file of comments, a section header, blank
# lines, junk, a line of 320 characters and colour lines that do not count (leading blanks, a
# capital X, no digits), then two colours. The first of them colours the pie; no message.
prog="$E2E_WORK/prog"
mkdir -p "$prog"
cp "$E2E_BUILD/kelvane.exe" "$prog/"
E2E_EXE="$prog/kelvane.exe"
{
  printf '[Colors]\n; a comment\n\n\njunk line\n'
  printf 'z%.0s' $(seq 1 320)
  printf '\n   0x00FF00\n0X0000FF\n0x\n0x00C08040 with words after it\n0x0000FF\n'
} >"$prog/kelvane.cfg"
e2e_reset_registry
: >"$E2E_MESSAGES"
e2e_start
e2e_wait_painted
scan_shows_colour "$(rgb_of 0x00C08040)"
no_boxes || fail "unexpected message: $(cat "$E2E_MESSAGES")"
e2e_close
expect_clean_end

# No colour file: the program says so, then paints in greys (the first is F0F0F0) and scans.
rm -f "$prog/kelvane.cfg"
e2e_set_dword vl 1
e2e_start
wait_for_message "0|Could not open file: $(winepath_of "$prog")\\kelvane.cfg !"
e2e_wait_painted
scan_shows_colour f0f0f0
scan_again_and_close
echo "faults settings: ok"
