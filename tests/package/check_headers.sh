#!/usr/bin/env bash
# check_headers.sh PROGRAM... : each kelvane.exe is a Windows GUI program of its kind (PE32 for
# i386, large-address-aware; PE32+ for x86-64), carries no link time (packages are built
# byte for byte the same), has its version resource, and its manifest names its own machine
# (x86 or amd64) for itself and the common controls: a 64-bit Windows holds both kinds of
# common controls, and a program that asks for the other kind does not start there.
set -uo pipefail
failed=0
bad() {
  echo "FAIL: $1: $2" >&2
  failed=1
}
for exe in "$@"; do
  [ -f "$exe" ] || { bad "$exe" "missing (scripts/test builds it)"; continue; }
  kind=$(file -b "$exe")
  case $kind in
    "PE32 executable (GUI) Intel 80386"*) objdump=i686-w64-mingw32-objdump format=pei-i386 arch=x86 ;;
    "PE32+ executable (GUI) x86-64"*) objdump=x86_64-w64-mingw32-objdump format=pei-x86-64 arch=amd64 ;;
    *) bad "$exe" "not a Windows GUI program of ours: $kind"; continue ;;
  esac
  headers=$("$objdump" -p "$exe")
  grep -q "file format $format\$" <<<"$headers" || bad "$exe" "format is not $format"
  grep -Eq "^Subsystem[[:space:]]+00000002[[:space:]]+\(Windows GUI\)" <<<"$headers" || bad "$exe" "subsystem is not Windows GUI"
  grep -Eq "^Time/Date[[:space:]]+Thu Jan  1 00:00:00 1970" <<<"$headers" || bad "$exe" "a link time is stamped in"
  if [ "$format" = pei-i386 ]; then
    grep -q "large address aware" <<<"$headers" || bad "$exe" "not large-address-aware"
  fi
  # A resource type (the first level of the resource tree, indented by three) of RT_VERSION, 16.
  grep -Eq "^[0-9a-f]+   Entry: ID: 0x000010," <<<"$headers" || bad "$exe" "no version resource"
  # The embedded manifest (RT_MANIFEST, 24) is plain UTF-8 text in the resources.
  grep -Eq "^[0-9a-f]+   Entry: ID: 0x000018," <<<"$headers" || bad "$exe" "no manifest"
  archs=$(strings -n 8 "$exe" | grep -o 'processorArchitecture="[^"]*"' | sort | uniq -c | awk '{print $1, $2}')
  [ "$archs" = "2 processorArchitecture=\"$arch\"" ] || bad "$exe" "manifest does not name $arch for itself and the common controls: ${archs:-none}"
  # (grep reads it all: a grep -q that stops early would fail the pipe.)
  [ "$(strings -n 8 "$exe" | grep -c 'requestedExecutionLevel level="asInvoker"')" -eq 1 ] ||
    bad "$exe" "manifest does not ask to run as invoker (no elevation, no virtualisation)"
  [ $failed -eq 0 ] && echo "$exe: $kind"
done
exit $failed
