#!/usr/bin/env bash
# The pie chart end to end: after a scan each wide sector has the colour of its list row's key,
# the wide ones carry boxed labels and the narrow entries form a hatched remainder; a tooltip
# names the entry under the pointer; a right click and Properties shows the entry's text;
# Delete from the pie sends exactly that slice's entry to the trash, whatever else the list
# had selected; a left click on a folder's sector opens it in both panes without reading a
# folder again.
source "$(dirname "$0")/lib.sh"
e2e_init pie

trash="${XDG_DATA_HOME:-$HOME/.local/share}/Trash/files"
tag="kelvane-pie-$$"
data="$E2E_WORK/data"
mkdir -p "$data/sub"
head -c 30000 /dev/zero >"$data/big.bin"
head -c 20000 /dev/zero >"$data/sub/inner.bin"
head -c 15000 /dev/zero >"$data/$tag.txt"
head -c 10000 /dev/zero >"$data/small.txt"
# 50 entries of 1.8 degrees each: below the threshold of 3, they are the hatched remainder.
for i in $(seq -w 0 49); do head -c 500 /dev/zero >"$data/n$i.bin"; done

# Wine's info colour is white like the chart area: a pale yellow shows the boxes and the tip.
colours='HKCU\Control Panel\Colors'
info=ffffc8
old_info=$(wine reg query "$colours" /v InfoWindow 2>/dev/null | tr -d '\r' | awk '$1 == "InfoWindow" { $1 = ""; $2 = ""; sub(/^ +/, ""); print }')
cleanup() {
  rm -f "$trash/$tag.txt" "$trash/../info/$tag.txt.trashinfo"
  if [ -n "$old_info" ]; then
    wine reg add "$colours" /v InfoWindow /t REG_SZ /d "$old_info" /f >/dev/null 2>&1
  else
    wine reg delete "$colours" /v InfoWindow /f >/dev/null 2>&1
  fi
  e2e_cleanup
}
trap cleanup EXIT
wine reg add "$colours" /v InfoWindow /t REG_SZ /d "255 255 200" /f >/dev/null 2>&1 || fail "reg add InfoWindow"

e2e_reset_registry
e2e_set_dword vl 3
e2e_set_dword un 0
e2e_set_dword ud 1
e2e_start
wait_for_log "mvwl::mvwl () OK ..."
e2e_enter_path "$(winepath_of "$data")"
wait_for_log "    mvwr::OnDraw Color:04, n00.bin"
e2e_wait_painted

# The pie pane's top in the main window's client area with the default layout; its width, the
# centre and the slices come from the log (level 3 writes them at every paint).
PIE_TOP=47
latest() { grep -F "    $1: " "$E2E_LOG" | tail -n 1 | tr -d '\r' | awk '{ print $2 }'; }
geometry() {
  local xs ys width
  xs=$(latest xs) ys=$(latest ys)
  width=$(xdotool getwindowgeometry --shell "$E2E_WID" | sed -n 's/^WIDTH=//p')
  RD=$((xs / 3 - 5 < ys / 3 - 5 ? xs / 3 - 5 : ys / 3 - 5))
  CX=$((width - 1 - xs + $(latest xo)))
  CY=$((PIE_TOP + $(latest yo)))
  read -r WX WY < <(xdotool getwindowgeometry --shell "$E2E_WID" | sed -n 's/^[XY]=//p' | tr '\n' ' ')
}
# slice_point NAME FRACTION: client point at the slice's middle angle, FRACTION of the radius out.
slice_point() {
  grep -F ", $1, ph:" "$E2E_LOG" | tail -n 1 | tr -d '\r' | sed 's/.*ph:\([-0-9.]*\), th:\([-0-9.]*\)/\1 \2/' |
    awk -v cx="$CX" -v cy="$CY" -v r="$RD" -v f="$2" '{ m = $1 + $2 / 2; printf "%d %d\n", cx + f * r * cos(m), cy - f * r * sin(m) }'
}
shot_raw() {
  local shot
  shot=$(e2e_screenshot "pie_$1") || fail "no screenshot"
  convert "$shot" -depth 8 "rgb:$E2E_WORK/shot.raw" || fail "no raw screenshot"
}
ask() { python3 "$E2E_SOURCE/tests/e2e/pie_pixels.py" "$E2E_WORK/shot.raw" 1280 "$@"; }
# The slice colours of the program's colour file as rrggbb (the file holds 0x00BBGGRR).
mapfile -t colour < <(grep -o '^0x[0-9A-Fa-f]*' "$E2E_BUILD/kelvane.cfg" |
  awk '{ v = tolower(substr($1, 5)); print substr(v, 5, 2) substr(v, 3, 2) substr(v, 1, 2) }')
popups() { xdotool search --onlyvisible --class kelvane.exe 2>/dev/null | grep -vc "^$E2E_WID\$"; }
reads() { grep -c -F "    read_sdir () started ..." "$E2E_LOG"; }

geometry
shot_raw scanned
# Rows: "\\", "..", big.bin, sub, the tag file, small.txt, n00.bin ...
i=0
for name in big.bin sub "$tag.txt" small.txt; do
  read -r x y < <(slice_point "$name" 0.6)
  got=$(ask colour $((WX + x)) $((WY + y)))
  [ "$got" = "${colour[$i]}" ] || fail "sector of $name is $got, not ${colour[$i]}"
  ry=$(row_y $((i + 2)))
  keys=$(ask count "$WX" $((WY + ry - 3)) $((WX + 290)) $((WY + ry + 3)) "${colour[$i]}")
  [ "$keys" -ge 20 ] || fail "no key of colour ${colour[$i]} in the row of $name"
  i=$((i + 1))
done
boxes=$(ask count $((WX + CX - 2 * RD)) $((WY + PIE_TOP + 22)) $((WX + CX + 2 * RD)) $((WY + CY + 2 * RD)) "$info")
[ "$boxes" -ge 800 ] || fail "label boxes: only $boxes pixels in the info colour"
hatching=$(ask lines $((WX + CX)) $((WY + CY)) $((RD * 8 / 10)) 271 359)
[ "$hatching" -ge 25 ] || fail "hatched remainder: $hatching lines"

# The tooltip over a sector, and none off the disc.
read -r x y < <(slice_point big.bin 0.5)
xdotool mousemove --window "$E2E_WID" "$x" "$y"
xdotool mousemove --window "$E2E_WID" $((x + 2)) $((y + 1))
wait_until 10 sh -c "[ \$(xdotool search --onlyvisible --class kelvane.exe | wc -l) -ge 2 ]" || fail "no tooltip"
shot_raw tooltip
tip=$(xdotool search --onlyvisible --class kelvane.exe | grep -v "^$E2E_WID\$" | head -n 1)
read -r tx ty tw th < <(xdotool getwindowgeometry --shell "$tip" | sed -n 's/^\(X\|Y\|WIDTH\|HEIGHT\)=//p' | tr '\n' ' ')
[ "$(ask count "$tx" "$ty" $((tx + tw)) $((ty + th)) "$info")" -ge 100 ] || fail "the tooltip is not in the info colour"
xdotool mousemove --window "$E2E_WID" $((CX - RD - 10)) $((CY + RD))
wait_until 10 sh -c "[ \$(xdotool search --onlyvisible --class kelvane.exe | wc -l) -le 1 ]" || fail "the tooltip stayed off the disc"

# Right click on the folder's sector, Properties.
read -r x y < <(slice_point sub 0.5)
e2e_click "$x" "$y" 3
wait_until 10 sh -c "[ \$(xdotool search --onlyvisible --class kelvane.exe | wc -l) -ge 2 ]" || fail "no menu"
e2e_key Down Return
props() { grep -qiF -- "64|$(winepath_of "$data")\\sub\\nFiles: 1\\nFolders: 0\\n20000 B" "$E2E_MESSAGES"; }
answer_boxes_until 10 props || fail "no Properties of sub"

# Delete from the pie while the list has another row selected: only the slice's entry goes.
e2e_click "$ROW_X" "$(row_y 5)"  # small.txt
read -r x y < <(slice_point "$tag.txt" 0.5)
before=$(reads)
e2e_click "$x" "$y" 3
wait_until 10 sh -c "[ \$(xdotool search --onlyvisible --class kelvane.exe | wc -l) -ge 2 ]" || fail "no menu"
e2e_key Down Down Down Return
e2e_answer yes "4|Delete $tag.txt ?"
wait_until 10 test -f "$trash/$tag.txt" || fail "not in the trash: $tag.txt"
[ -f "$data/small.txt" ] || fail "small.txt went too"
messages_have "Delete from" && fail "the question named more than the slice's entry"
wait_until 10 sh -c "grep -F ', small.txt, ph:' '$E2E_LOG' | tail -n 1 | grep -qF 'Color:02'" || fail "no repaint after the deletion"

# Left click on the folder's sector: both panes show it, nothing is read again.
geometry
read -r x y < <(slice_point sub 0.5)
e2e_click "$x" "$y"
wait_for_log "    mvwr::OnDraw Color:00, inner.bin"
grep -F "  mvwl::OnDirs () " "$E2E_LOG" | tail -n 1 | grep -qiF "cdir:$(winepath_of "$data")\\sub" || fail "sub was not opened"
xdotool getwindowname "$E2E_WID" | grep -qiF "\\sub - Kelvane" || fail "title: $(xdotool getwindowname "$E2E_WID")"
[ "$(reads)" = "$before" ] || fail "opening the folder read folders again"
[ "$(grep -c -F '  Thread:read_mdir () finished ...' "$E2E_LOG")" = 1 ] || fail "a second scan ran"
e2e_screenshot pie_opened >/dev/null
e2e_close
echo "pie: ok"
