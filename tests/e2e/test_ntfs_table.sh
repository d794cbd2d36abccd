#!/usr/bin/env bash
# The fast scan of an NTFS drive end to end: an NTFS image made by mkntfs, written through its
# ntfs-3g mount, is drive T: (the mount) with its raw device (the image). Scanned once without
# the raw device (the walk) and once with it (the table), the program shows the same tree, in
# the same order, with the same sizes as a walk of the mount; a deletion after the fast scan
# passes every check and a rescan no longer holds the entry. A folder of the drive, typed in
# another case than the disk's, gives the same tree from the table as from its walk. ntfs-3g's
# links are listed as what they name, as Wine lists them, by the table as by the walk.
source "$(dirname "$0")/lib.sh"
e2e_init ntfs_table

if [ "$(id -u)" != 0 ] || ! command -v mkntfs >/dev/null || ! command -v ntfs-3g >/dev/null || [ ! -w /dev/fuse ]; then
  skip "the NTFS table scan end to end" "needs root, /dev/fuse, mkntfs and ntfs-3g"
fi

# Wine learns its drives when its session starts: a prefix of its own (as test_user_road.sh).
[ -f "$WINEPREFIX/system.reg" ] || wine cmd /c exit >/dev/null 2>&1
own="$E2E_WORK/prefix"
cp -al "$WINEPREFIX" "$own" || fail "no copy of the prefix"
for f in "$own"/*.reg "$own"/drive_c/windows/*.ini; do cp --remove-destination "$WINEPREFIX/${f#"$own"/}" "$f"; done
rm -rf "$own/drive_c/users" "$own/drive_c/ProgramData"
cp -a "$WINEPREFIX/drive_c/users" "$WINEPREFIX/drive_c/ProgramData" "$own/drive_c/" || fail "no copy of the users"
export WINEPREFIX=$own
E2E_LOG="$WINEPREFIX/drive_c/users/$E2E_USER/Temp/kelvane.log"

img="$E2E_WORK/vol.img"
mnt="$E2E_WORK/mnt"
cleanup() {
  e2e_cleanup
  wineserver -k 2>/dev/null
  umount "$mnt" 2>/dev/null
  rm -f "$img"
}
trap cleanup EXIT
truncate -s 64M "$img"
mkntfs -F -f -q "$img" >/dev/null 2>&1 || fail "mkntfs"
mkdir -p "$mnt"
ntfs-3g -o streams_interface=windows "$img" "$mnt" || fail "ntfs-3g mount"
(
  cd "$mnt" || exit 1
  mkdir -p docs/deep pics empty
  # More entries than the folder's walk may list before it gives way to the table.
  for i in 1 2 3 4 5 6 7 8; do : >"docs/note$i.txt"; done
  head -c 3000000 /dev/urandom >big.bin
  head -c 700 /dev/urandom >docs/resident.txt
  head -c 50000 /dev/urandom >docs/deep/inner.bin
  head -c 20000 /dev/urandom >pics/p1.bin
  ln pics/p1.bin pics/p1-again.bin
  ln pics/p1.bin docs/p1-link.bin
  echo main >ads.txt
  echo 'an alternate stream is not counted' >'ads.txt:extra'
  head -c 12345 /dev/urandom >'Grüße 日本.txt'
  : >zero.txt
  truncate -s 3G sparse.bin
  head -c 777 /dev/urandom >victim.bin
  ln -s ../big.bin docs/big-again.bin
  ln -s docs/deep to-deep
  ln -s nowhere gone
  ln -s "$mnt/pics/p1.bin" whole-path.bin
) || fail "tree not written"
# A settled volume: what ntfs-3g held in memory is on the image.
umount "$mnt" && ntfs-3g -o streams_interface=windows "$img" "$mnt" || fail "ntfs-3g mount again"
total=$( (find "$mnt" -type f -printf '%s\n' && find "$mnt" -type l -xtype f -exec stat -L -c %s {} +) |
  awk '{ s += $1 } END { print s }')
ln -s "$mnt" "$WINEPREFIX/dosdevices/t:" || fail "no drive t:"

e2e_reset_registry
e2e_set_dword vl 1
e2e_set_dword un 0
e2e_set_dword ud 0
e2e_start
wait_for_log "mvwl::mvwl () OK ..."

# The scan's file list (the log's dump of the tree) and the root's sizes, by scan number.
scans() { grep -c "FILE-LIST:" "$E2E_LOG"; }
dump_of() {
  tr -d '\r' <"$E2E_LOG" | awk -v n="$1" '/^FILE-LIST:/ { k++; on = (k == n); next }
    on && (/::/ || /\(\)/) { on = 0 } on { print }'
}
fills_of() {
  tr -d '\r' <"$E2E_LOG" | awk -v n="$1" '/^FILE-LIST:/ { k++ } k == n && /OnFill::Name: / { print }'
}
filled() { grep -c -F "  OnFill::Name: big.bin Size: 3000000 B" "$E2E_LOG"; }
scan_t() {
  local before
  before=$(filled)
  e2e_enter_path 'T:\'
  wait_until 60 sh -c "[ \$(grep -c -F '  OnFill::Name: big.bin Size: 3000000 B' '$E2E_LOG') -gt $before ]" ||
    fail "no scan of T:"
}
docs_row='  OnFill::Name: resident.txt Size: 700 B'
scan_docs() {
  local before
  before=$(grep -c -F "$docs_row" "$E2E_LOG")
  e2e_enter_path 'T:\DOCS'
  wait_until 60 sh -c "[ \$(grep -c -F '$docs_row' '$E2E_LOG') -gt $before ]" || fail "no scan of T:\\DOCS"
}

# The walk: no raw device.
scan_t
log_has "T:\\ walked, not read from the NTFS table: " || fail "the walk's reason not logged"
walk=$(dump_of 1)
scan_docs
log_has "T:\\DOCS walked, not read from the NTFS table: " || fail "the folder's walk not logged"
docs_walk=$(dump_of 2)

# The table: the raw device is the image.
ln -s "$img" "$WINEPREFIX/dosdevices/t::" || fail "no device t::"
scan_docs
log_has "T:\\DOCS read from the NTFS table: 13 entries, 0 left out" || fail "the folder's table line not logged"
[ "$docs_walk" = "$(dump_of 3)" ] || fail "the folder's trees differ: $(diff <(echo "$docs_walk") <(dump_of 3))"
[ "$(fills_of 2)" = "$(fills_of 3)" ] || fail "the folder's sizes differ: $(diff <(fills_of 2) <(fills_of 3))"
scan_t
log_has "T:\\ read from the NTFS table: 26 entries, 0 left out" || fail "the table's line not logged"
table=$(dump_of 4)
[ -n "$walk" ] || fail "no file list from the walk"
[ "$walk" = "$table" ] || fail "the trees differ: $(diff <(echo "$walk") <(echo "$table"))"
[ "$(fills_of 1)" = "$(fills_of 4)" ] || fail "the sizes differ: $(diff <(fills_of 1) <(fills_of 4))"
shown=$(fills_of 4 | sed -n 's/.* Size: \([0-9]*\) B$/\1/p' | awk '{ s += $1 } END { print s }')
[ "$shown" = "$total" ] || fail "the root shows $shown B, the mount holds $total B"

# Delete after the fast scan: every check passes; the rescan has no such entry.
row=$(fills_of 4 | grep -n "Name: victim.bin " | cut -d: -f1)
e2e_click "$ROW_X" "$(row_y "$row")"  # the rows below the header, largest first
e2e_key Delete
e2e_answer yes "4|Delete victim.bin ?"
wait_until 10 sh -c "[ ! -e '$mnt/victim.bin' ]" || fail "victim.bin still on the mount"
collect_boxes
messages_have "CHANGED SINCE THE SCAN" && fail "the fast scan's stamps are not the check's"
scan_t
log_has "T:\\ read from the NTFS table: 25 entries, 0 left out" || fail "the rescan was not read from the table"
dump_of 5 | grep -q "victim.bin" && fail "the rescan still holds victim.bin"
e2e_close
echo "ntfs_table: ok"
