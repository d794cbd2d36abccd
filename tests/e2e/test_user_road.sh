#!/usr/bin/env bash
# The user's whole road in one run: the drive list, a folder typed into the path field, the
# five units from the toolbar and from the menu, into folders by double-click, Enter and a pie
# click, up by "..", Backspace and "\\", Properties from the list and the pie, Open of a file
# through its association, Delete of one entry and of a selection (No, then Yes), Help, Info
# and Exit. The witnesses are the log, the window title, the screen and the disk.
source "$(dirname "$0")/lib.sh"
e2e_init user_road

# The data is a drive of its own, so that "\\" goes to a small root and not the whole disk.
# Wine learns its drives when its session starts: this test runs in a prefix of its own (the
# shared one's program files linked, what Wine writes copied), with the drive in place.
letter=r
drive="$E2E_WORK/drive"
data="$drive/data"
tag="kelvane-road-$$"
ext="kvroad"
trash="${XDG_DATA_HOME:-$HOME/.local/share}/Trash"
[ -f "$WINEPREFIX/system.reg" ] || wine cmd /c exit >/dev/null 2>&1
own="$E2E_WORK/prefix"
cp -al "$WINEPREFIX" "$own" || fail "no copy of the prefix"
for f in "$own"/*.reg "$own"/drive_c/windows/*.ini; do cp --remove-destination "$WINEPREFIX/${f#"$own"/}" "$f"; done
rm -rf "$own/drive_c/users" "$own/drive_c/ProgramData"
cp -a "$WINEPREFIX/drive_c/users" "$WINEPREFIX/drive_c/ProgramData" "$own/drive_c/" || fail "no copy of the users"
export WINEPREFIX=$own
E2E_LOG="$WINEPREFIX/drive_c/users/$E2E_USER/Temp/kelvane.log"
ln -s "$drive" "$WINEPREFIX/dosdevices/$letter:" || fail "no drive $letter:"
mkdir -p "$data/pics" "$data/docs/deep"
head -c 30000 /dev/zero >"$data/big.bin"
head -c 14000 /dev/zero >"$data/pics/p1.bin"
head -c 6000 /dev/zero >"$data/pics/p2.bin"
yes "kelvane road" | head -c 12000 >"$data/docs/note.$ext"
head -c 6000 /dev/zero >"$data/docs/deep/inner.bin"
head -c 8000 /dev/zero >"$data/mid.txt"
head -c 3000 /dev/zero >"$data/$tag-a.bin"
head -c 2000 /dev/zero >"$data/$tag-b.bin"
head -c 1000 /dev/zero >"$data/$tag-c.bin"
head -c 10 /dev/zero >"$data/small.txt"
manifest() { (cd "$data" && find . -printf '%p %s\n' | sort); }
before_all=$(manifest)

cleanup() {
  for f in a b c; do rm -f "$trash/files/$tag-$f.bin" "$trash/info/$tag-$f.bin.trashinfo"; done
  e2e_cleanup
}
trap cleanup EXIT
# The association Open uses: the prefix's Notepad for our own extension.
wine reg add "HKCR\\.$ext" /ve /d "$ext.file" /f >/dev/null 2>&1 || fail "reg add .$ext"
wine reg add "HKCR\\$ext.file\\shell\\open\\command" /ve /d 'C:\windows\notepad.exe "%1"' /f >/dev/null 2>&1 ||
  fail "reg add $ext.file"

e2e_reset_registry
e2e_set_dword vl 1
e2e_set_dword un 0
e2e_set_dword ud 1
e2e_start
wait_for_log "mvwl::mvwl () OK ..."
e2e_wait_painted

R=$(tr a-z A-Z <<<"$letter")
title_is() { [ "$(xdotool getwindowname "$E2E_WID" 2>/dev/null)" = "$1" ]; }
count_of() { grep -c -F -- "$1" "$E2E_LOG"; }
# wait_count TEXT N: until the log holds TEXT at least N times.
wait_count() { wait_until "${3:-30}" sh -c "[ \$(grep -c -F -- '$1' '$E2E_LOG') -ge $2 ]" || fail "log line not seen $2 times: $1"; }
scans() { count_of "  Thread:read_mdir () started ..."; }
dirs_lines() { count_of "  mvwl::OnDirs () "; }
last_dirs_is() { grep -F "  mvwl::OnDirs () " "$E2E_LOG" | tail -n 1 | tr -d '\r' | grep -qiF -- ", pa->mdir.cdir:$1"; }
shot() { e2e_screenshot "road_$1" >/dev/null; }
# context_menu X Y: right-click at X Y and wait for the menu: a window of ours whose corner is
# at the pointer (a tooltip shows below it).
menu_at() {
  local w X Y
  for w in $(xdotool search --onlyvisible --class kelvane.exe 2>/dev/null); do
    [ "$w" = "$E2E_WID" ] && continue
    eval "$(xdotool getwindowgeometry --shell "$w" | grep '^[XY]=')"
    [ $((X - $1)) -ge -2 ] && [ $((X - $1)) -le 2 ] && [ $((Y - $2)) -ge -2 ] && [ $((Y - $2)) -le 2 ] && return 0
  done
  return 1
}
context_menu() {
  local X Y
  eval "$(xdotool getwindowgeometry --shell "$E2E_WID" | grep '^[XY]=')"
  e2e_click "$1" "$2" 3
  wait_until 10 menu_at $((X + $1)) $((Y + $2)) || fail "no context menu at $1,$2"
}

# --- Start: the drive list, with our drive among the others.
bars_drawn() {
  local shot
  shot=$(e2e_screenshot road_drives) || return 1
  convert "$shot" -crop 300x200+14+120 -format %c histogram:info:- | grep -qi "#0000FF"
}
wait_until 20 bars_drawn || fail "no drive bars drawn"
# Our drive is the second row: its Properties from the context menu. Backspace in the drive
# list does nothing (counted at the next request).
e2e_focus
context_menu "$ROW_X" "$(row_y 1)"
e2e_key Down Return
wait_for_message "64|$R:\\nSize: "
e2e_key BackSpace

# --- A folder typed into the path field.
e2e_enter_path "$R:\\data"
wait_for_log "  OnFill::Name: small.txt Size: 10 B"
fills=$(grep -F "  OnFill::Name:" "$E2E_LOG" | tr -d '\r')
expected="  OnFill::Name: big.bin Size: 30000 B
  OnFill::Name: pics Size: 20000 B
  OnFill::Name: docs Size: 18000 B
  OnFill::Name: mid.txt Size: 8000 B
  OnFill::Name: $tag-a.bin Size: 3000 B
  OnFill::Name: $tag-b.bin Size: 2000 B
  OnFill::Name: $tag-c.bin Size: 1000 B
  OnFill::Name: small.txt Size: 10 B"
[ "$fills" = "$expected" ] || fail "listing was: $fills"
[ "$(dirs_lines)" = 1 ] || fail "Backspace in the drive list made a request"
wait_until 10 title_is "$R:\\data - Kelvane" || fail "title: $(xdotool getwindowname "$E2E_WID")"
e2e_wait_painted
shot scanned

# --- The five units, from the toolbar and then from the menu. The witness is the picture of
# the list's Size column: one for each unit, the same whichever way the unit was chosen.
sizes_picture() {
  import -window "$E2E_WID" png:- 2>/dev/null | convert - -crop 140x150+160+86 +repage rgb:- | md5sum | cut -c1-32
}
# settled_picture FILE: the picture when two looks in a row agree, saved in FILE.
settled_picture() {
  local a b
  a=$(sizes_picture) && b=$(sizes_picture) && [ "$a" = "$b" ] && echo "$a" >"$1"
}
picture_is() { settled_picture "$E2E_WORK/pic" && [ "$(cat "$E2E_WORK/pic")" = "$1" ]; }
picture_new() { settled_picture "$E2E_WORK/pic" && ! grep -qxF "$(cat "$E2E_WORK/pic")" "$E2E_WORK/pics"; }
park_pointer() { xdotool mousemove --window "$E2E_WID" 100 250; }
: >"$E2E_WORK/pics"
wait_until 10 settled_picture "$E2E_WORK/pic" || fail "no settled picture"
pic[0]=$(cat "$E2E_WORK/pic")
echo "${pic[0]}" >>"$E2E_WORK/pics"
UNIT_X=(42 65 88 110 133)
UNIT_Y=31
unit_names=(bytes kb mb gb tb)
for u in 1 2 3 4; do
  e2e_click "${UNIT_X[$u]}" "$UNIT_Y"
  park_pointer
  wait_until 10 picture_new || fail "no new picture for unit $u from the toolbar"
  pic[$u]=$(cat "$E2E_WORK/pic")
  echo "${pic[$u]}" >>"$E2E_WORK/pics"
  shot "unit_${unit_names[$u]}"
done
e2e_click "${UNIT_X[0]}" "$UNIT_Y"
park_pointer
wait_until 10 picture_is "${pic[0]}" || fail "the toolbar's B did not bring the bytes back"
for u in 1 2 3 4 0; do
  e2e_focus
  e2e_key alt+v
  for ((i = 0; i < u; i++)); do e2e_key Down; done
  [ "$u" = 1 ] && shot menu_units
  e2e_key Return
  wait_until 10 picture_is "${pic[$u]}" || fail "the menu's unit $u differs from the toolbar's"
done
[ "$(e2e_get_value un)" = "0x0" ] || fail "the unit was written to the registry"

# --- Down and up inside the tree: no folder is read again.
# wait_opened FOLDER ENTRY N: until the latest request names FOLDER, the log shows ENTRY's
# line N times and the title names FOLDER.
wait_opened() {
  wait_until 15 last_dirs_is "$1" || fail "not opened: $1 (last: $(grep -F 'OnDirs' "$E2E_LOG" | tail -n 1))"
  wait_count "  OnFill::Name: $2" "$3"
  wait_until 10 title_is "$1 - Kelvane" || fail "title: $(xdotool getwindowname "$E2E_WID"), not $1"
}
e2e_double_click "$ROW_X" "$(row_y 4)"  # docs
wait_opened "$R:\\data\\docs" "note.$ext Size: 12000 B" 1
e2e_click "$ROW_X" "$(row_y 3)"  # deep, then Enter
e2e_key Return
wait_opened "$R:\\data\\docs\\deep" "inner.bin Size: 6000 B" 1
e2e_key BackSpace
wait_opened "$R:\\data\\docs" "note.$ext Size: 12000 B" 2
shot docs

# Enter on a file opens it with the program of its type: Notepad shows it.
e2e_click "$ROW_X" "$(row_y 2)"
e2e_key Return
notepad() { xdotool search --onlyvisible --name "^note\\.$ext - Notepad\$" 2>/dev/null | head -n 1; }
wait_until 30 notepad || fail "no Notepad window for note.$ext"
shot notepad
npad=$(notepad)
npid=$(xdotool getwindowpid "$npad" 2>/dev/null)
xdotool windowfocus --sync "$npad" 2>/dev/null
e2e_key alt+F4
wait_until 30 sh -c "! xdotool search --onlyvisible --name '^note\\.$ext - Notepad\$'" || fail "Notepad did not close"
# Until Notepad has ended, the pointer may still be its own.
[ -n "$npid" ] && { wait_until 30 sh -c "! kill -0 $npid" || fail "Notepad did not end"; }

# ".." back to the scanned folder, a click on the pie's pics sector, Backspace back again.
e2e_focus
e2e_double_click "$ROW_X" "$(row_y 1)"
wait_opened "$R:\\data" "small.txt Size: 10 B" 2
e2e_wait_painted
# A sector's middle: the mean of the pixels of its colour (slice i has colour i) in the pie pane.
colour_of() {
  grep -o '^0x[0-9A-Fa-f]*' "$E2E_BUILD/kelvane.cfg" | sed -n "$(($1 + 1))p" |
    awk '{ v = tolower(substr($1, 5)); print substr(v, 5, 2) substr(v, 3, 2) substr(v, 1, 2) }'
}
sector_middle() {
  import -window "$E2E_WID" png:- 2>/dev/null | convert - -depth 8 "rgb:$E2E_WORK/win.raw" || return 1
  width=$(xdotool getwindowgeometry --shell "$E2E_WID" | sed -n 's/^WIDTH=//p')
  python3 - "$E2E_WORK/win.raw" "$width" "$1" <<'PY'
import sys
raw, w, want = open(sys.argv[1], "rb").read(), int(sys.argv[2]), bytes.fromhex(sys.argv[3])
pts = [(i // 3 % w, i // 3 // w) for i in range(0, len(raw), 3) if raw[i:i + 3] == want and i // 3 % w > 310]
if len(pts) < 500:
    sys.exit(1)
print(sum(p[0] for p in pts) // len(pts), sum(p[1] for p in pts) // len(pts))
PY
}
# The pie of the scanned folder is up once mid.txt's sector shows (no sub-folder's has one).
wait_until 10 sector_middle "$(colour_of 3)" || fail "no pie of the scanned folder"
read -r px py < <(sector_middle "$(colour_of 1)") || fail "no pics sector on the screen"
e2e_click "$px" "$py"
wait_opened "$R:\\data\\pics" "p1.bin Size: 14000 B" 1
shot pie_pics
e2e_focus
e2e_key BackSpace
wait_opened "$R:\\data" "small.txt Size: 10 B" 3
[ "$(scans)" = 1 ] || fail "moving inside the tree scanned again"

# --- Properties from the list (big.bin) and from the pie (docs).
context_menu "$ROW_X" "$(row_y 2)"
e2e_key Down Return
props_of() { grep -qiF -- "64|$1" "$E2E_MESSAGES"; }
answer_boxes_until 10 props_of "$R:\\data\\big.bin\\n30000 B" || fail "no Properties of big.bin"
read -r px py < <(sector_middle "$(colour_of 2)") || fail "no docs sector on the screen"
context_menu "$px" "$py"
e2e_key Down Return
answer_boxes_until 10 props_of "$R:\\data\\docs\\nFiles: 2\\nFolders: 1\\n18000 B" || fail "no Properties of docs"

# --- "\\" goes to the drive's root (a scan of it), where Backspace has nowhere to go; Enter on
# data goes back into the tree without a scan.
e2e_double_click "$ROW_X" "$(row_y 0)"
wait_opened "$R:" "data Size: 82010 B" 1
[ "$(scans)" = 2 ] || fail "\\ did not scan the drive"
shot root
before=$(dirs_lines)
e2e_key BackSpace
e2e_click "$ROW_X" "$(row_y 1)"
e2e_key Return
wait_opened "$R:\\data" "small.txt Size: 10 B" 4
[ "$(dirs_lines)" = $((before + 1)) ] || fail "Backspace at the drive's root made a request"
[ "$(scans)" = 2 ] || fail "going into the scanned drive scanned again"

# --- Delete one entry: No keeps it, Yes sends it to the trash and the sizes drop at once.
in_trash() { [ -f "$trash/files/$1" ] && [ "$(stat -c %s "$trash/files/$1")" = "$2" ]; }
e2e_click "$ROW_X" "$(row_y 6)"  # a
e2e_key Delete
e2e_answer no "4|Delete $tag-a.bin ?"
[ -f "$data/$tag-a.bin" ] || fail "deleted although the answer was No"
e2e_key Delete
e2e_answer yes "4|Delete $tag-a.bin ?"
wait_until 10 in_trash "$tag-a.bin" 3000 || fail "$tag-a.bin is not in the trash"
[ -e "$data/$tag-a.bin" ] && fail "$tag-a.bin is still on disk"
wait_count "  OnFill::Name: small.txt Size: 10 B" 5
e2e_key BackSpace
wait_opened "$R:" "data Size: 79010 B" 1

# --- Delete a selection of two: No, then Yes.
e2e_click "$ROW_X" "$(row_y 1)"
e2e_key Return
wait_opened "$R:\\data" "small.txt Size: 10 B" 6
e2e_click "$ROW_X" "$(row_y 6)"  # b
xdotool keydown shift
e2e_click "$ROW_X" "$(row_y 7)"  # c
xdotool keyup shift
e2e_key Delete
e2e_answer no "4|Delete from $tag-b.bin to $tag-c.bin ?"
[ -f "$data/$tag-b.bin" ] && [ -f "$data/$tag-c.bin" ] || fail "deleted although the answer was No"
e2e_key Delete
e2e_answer yes "4|Delete from $tag-b.bin to $tag-c.bin ?"
wait_until 10 in_trash "$tag-b.bin" 2000 || fail "$tag-b.bin is not in the trash"
wait_until 10 in_trash "$tag-c.bin" 1000 || fail "$tag-c.bin is not in the trash"
wait_count "  OnFill::Name: small.txt Size: 10 B" 7
shot deleted
e2e_key BackSpace
wait_opened "$R:" "data Size: 76010 B" 1
[ "$(scans)" = 2 ] || fail "a deletion scanned again"
grep -v -e "$tag-a.bin" -e "$tag-b.bin" -e "$tag-c.bin" <<<"$before_all" >"$E2E_WORK/expected"
[ "$(manifest)" = "$(cat "$E2E_WORK/expected")" ] || fail "the disk holds: $(manifest)"

# --- The drive list again (File menu), and Enter on our drive scans it.
e2e_focus
e2e_key alt+f Return
wait_until 20 bars_drawn || fail "the drive list did not come back"
e2e_click "$ROW_X" "$(row_y 1)"
e2e_key Return
wait_until 30 sh -c "[ \$(grep -c -F '  Thread:read_mdir () started ...' '$E2E_LOG') -ge 3 ]" || fail "Enter on the drive did not scan it"
wait_count "  OnFill::Name: data Size: 76010 B" 2
last_dirs_is "$R:" || fail "Enter on the drive requested: $(grep -F 'OnDirs' "$E2E_LOG" | tail -n 1)"

# --- Help (the manual in its viewer) and Info (the program's dialog), from the "?" menu.
help_window() { xdotool search --onlyvisible --name '^Kelvane Help$' 2>/dev/null | head -n 1; }
e2e_focus
e2e_key alt+v Right Return
wait_until 30 help_window || fail "no help window"
shot help
hwin=$(help_window)
hpid=$(xdotool getwindowpid "$hwin" 2>/dev/null)
xdotool windowfocus --sync "$hwin" 2>/dev/null
e2e_key alt+F4
wait_until 30 sh -c "! xdotool search --onlyvisible --name '^Kelvane Help\$'" || fail "the help window did not close"
[ -n "$hpid" ] && { wait_until 30 sh -c "! kill -0 $hpid" || fail "the help viewer did not end"; }
info_window() { xdotool search --onlyvisible --name '^Info$' 2>/dev/null | head -n 1; }
e2e_focus
e2e_key alt+v Right Down Return
wait_until 20 info_window || fail "no Info dialog"
wait_for_log "CInf::CInf () OK ..."
shot info
xdotool windowfocus --sync "$(info_window)" 2>/dev/null
e2e_key Return
wait_for_log "CInf::~CInf () OK ..."
wait_until 10 sh -c "! xdotool search --onlyvisible --name '^Info\$'" || fail "the Info dialog stayed"

# --- Exit from the File menu: the log ends with the destruction lines, in order.
e2e_focus
e2e_key alt+f
e2e_key x
wait_until 30 e2e_exited || fail "File > Exit did not close the program"
wait "$E2E_PID" 2>/dev/null
E2E_PID=
log=$(tr -d '\r' <"$E2E_LOG")
ending="mvwl::~mvwl () OK ...
mbox::~mbox () OK ...
mvwr::~mvwr () OK ...
mwin::~mwin () OK ...
mspw::~mspw () OK ...
mtbr::~mtbr () OK ...
mdoc::~mdoc () OK ...
mapp::~mapp () OK ...
mdir::~mdir () OK ...
mdrv::~mdrv () OK ...
CGUI::~CGUI () OK ..."
[ "$(tail -n 11 <<<"$log")" = "$ending" ] || fail "the log ends with: $(tail -n 11 <<<"$log")"
messages_have "Could not" && fail "an error box: $(cat "$E2E_MESSAGES")"
[ "$(manifest)" = "$(cat "$E2E_WORK/expected")" ] || fail "the disk changed after the deletions: $(manifest)"

echo "road: ok"
