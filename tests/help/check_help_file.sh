#!/usr/bin/env bash
# The built help file is a valid compiled help file holding the whole manual: libchm's tools
# (Debian's libchm-bin) list its pages and unpack it, and every page of help/ must be inside,
# titled, named in the table of contents, and link only to pages that are inside too.
# Usage: check_help_file.sh BUILT_CHM HELP_SOURCE_FOLDER
set -uo pipefail
chm=$1
src=$2
fail=0
bad() { echo "FAIL: $*"; fail=1; }

[ -s "$chm" ] || { echo "FAIL: no help file at $chm"; exit 1; }
listing=$(enum_chmLib "$chm") || { echo "FAIL: enum_chmLib cannot read $chm"; exit 1; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
extract_chmLib "$chm" "$out" >/dev/null || { echo "FAIL: extract_chmLib cannot unpack $chm"; exit 1; }
[ -f "$out/kelvane.hhc" ] || bad "no table of contents (kelvane.hhc) inside"
[ -f "$out/kelvane.hhk" ] || bad "no index (kelvane.hhk) inside"

pages=0
for page in "$src"/*.html; do
  name=$(basename "$page")
  pages=$((pages + 1))
  grep -qE "[[:space:]]/$name\$" <<<"$listing" || bad "$name is not listed in the help file"
  cmp -s "$page" "$out/$name" || bad "$name inside differs from its source"
  grep -qE '<title>[^<]+</title>' "$page" || bad "$name has no title"
  grep -qF "value=\"$name\"" "$out/kelvane.hhc" || bad "$name is not in the table of contents"
  for link in $(grep -oE 'href="[^"#]+' "$page" | sed 's/href="//'); do
    [ -f "$out/$link" ] || bad "$name links to $link, which is not in the help file"
  done
done
[ "$pages" -ge 12 ] || bad "only $pages manual pages"
[ "$fail" -eq 0 ] && echo "help file: $pages pages, contents and index present"
exit "$fail"
