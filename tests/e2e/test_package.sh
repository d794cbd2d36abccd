#!/usr/bin/env bash
# The release packages as a user meets them, for the architecture this host runs, made by
# scripts/package from this build: the zip unpacked into a fresh folder starts and closes
# cleanly; the installer puts the files, the shortcut and the Programs and Features entry in
# place, and the installed program finds its colour file; a later version installed over it
# leaves one entry; uninstalling removes all of it but the user's settings.
source "$(dirname "$0")/lib.sh"
e2e_init package

# Each package writes its uninstall entry in its own registry view, as on 64-bit Windows: a
# plain `wine reg` is the 32-bit reg.exe where 32-bit Wine runs, and the 64-bit one elsewhere.
case $(file -b "$E2E_EXE") in
  PE32+*) arch=x64 programs="Program Files" view=/reg:64 ;;
  *) arch=x86 programs="Program Files (x86)" view=/reg:32 ;;
esac
version=$(head -n 1 "$E2E_SOURCE/VERSION")
later=$((${version%%.*} + 1)).0
name=kelvane-$version-$arch
dist=$E2E_WORK/dist
"$E2E_SOURCE/scripts/package" --out "$dist" "$arch=$E2E_BUILD" >"$E2E_WORK/package.out" 2>&1 ||
  { cat "$E2E_WORK/package.out" >&2; fail "scripts/package"; }
(cd "$dist" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match"
msi=$(winepath_of "$dist/$name.msi")

drive_c=$WINEPREFIX/drive_c
# A prefix without a 64-bit part has one Program Files.
[ "$arch" = x86 ] && [ ! -d "$drive_c/$programs" ] && programs="Program Files"
installed=$drive_c/$programs/Kelvane
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'

# The Programs and Features entries named Kelvane, one line each: product code, version and
# publisher.
entry_lines() {
  wine reg query "$uninstall_key" /s $view 2>/dev/null | tr -d '\r' | awk '
    function flush() { if (name == "Kelvane") print code, version, publisher }
    /^HKEY_/ { flush(); code = $0; sub(/.*\\/, "", code); name = version = publisher = ""; next }
    $1 == "DisplayName" { name = $3 }
    $1 == "DisplayVersion" { version = $3 }
    $1 == "Publisher" { publisher = $3 }
    END { flush() }'
}
# The same as "version|publisher|icon", where icon is 1 when the product's icon (which the list
# shows) is in the installer's store.
entries() {
  local code version publisher
  entry_lines | while read -r code version publisher; do
    echo "$version|$publisher|$([ -f "$drive_c/windows/Installer/$code/kelvane.ico" ] && echo 1)"
  done
}
shortcuts() { find "$drive_c/users" "$drive_c/ProgramData" -name Kelvane.lnk 2>/dev/null; }
visible_windows() { xdotool search --onlyvisible --name Kelvane 2>/dev/null | wc -l; }
# A visible "Kelvane" window before the settings are read through can only be a message box
# (a missing colour file is reported there): the frame comes later.
started() { log_has "mapp::mapp () OK ..." && [ -n "$(find_main_window)" ]; }
boxed() { ! log_has "CGUI::CGUI () OK ..." && [ "$(visible_windows)" -gt 0 ]; }
started_or_boxed() { started || boxed; }

# run_and_close EXE: starts the program from its folder, checks that it shows its one window
# and no box, closes it, and checks the log of a clean run.
run_and_close() {
  rm -f "$E2E_LOG"
  (cd "$(dirname "$1")" && exec wine "$1" >"$E2E_WORK/wine.out" 2>&1) &
  E2E_PID=$!
  wait_until 60 started_or_boxed || fail "$1 did not start"
  boxed && fail "$1 shows a message box at start (colour file not found?)"
  E2E_WID=$(find_main_window)
  e2e_wait_painted
  [ "$(visible_windows)" -eq 1 ] || fail "$1 shows a box beside its window"
  e2e_close
  log_has "Could not open" && fail "$1 logged a file it could not open"
  [ "$(tr -d '\r' <"$E2E_LOG" | tail -n 1)" = "CGUI::~CGUI () OK ..." ] || fail "$1 did not close cleanly"
}

# Leftovers of an earlier run that ended half way.
for code in $(entry_lines | cut -d' ' -f1); do wine msiexec /x "$code" /qn >/dev/null 2>&1; done

# The portable zip, unpacked into a fresh folder.
unzip -q "$dist/$name.zip" -d "$E2E_WORK/portable" || fail "unzip"
for f in kelvane.exe kelvane.cfg kelvane.chm README.txt; do
  [ -f "$E2E_WORK/portable/$name/$f" ] || fail "the zip lacks $name/$f"
done
run_and_close "$E2E_WORK/portable/$name/kelvane.exe"

# Installed.
wine msiexec /i "$msi" /qn >"$E2E_WORK/msiexec.out" 2>&1 || fail "msiexec /i failed"
for f in kelvane.exe kelvane.cfg kelvane.chm; do
  cmp -s "$installed/$f" "$E2E_WORK/portable/$name/$f" || fail "$programs\\Kelvane\\$f is not the packaged file"
done
[ "$(shortcuts | wc -l)" -eq 1 ] || fail "no Start-menu shortcut Kelvane"
[ "$(entries)" = "$version|Tarnwick|1" ] || fail "Programs and Features entry: '$(entries)'"
run_and_close "$installed/kelvane.exe"
# The program wrote its settings: they must outlive the uninstall.
wine reg query "$E2E_KEY" >/dev/null 2>&1 || fail "no settings after the first start"

# A later version installed over it: it replaces the installed one (one entry), and its files
# are all in place, even one the user had deleted.
"$E2E_SOURCE/scripts/package" --out "$E2E_WORK/later" --version "$later" "$arch=$E2E_BUILD" \
  >"$E2E_WORK/package.out" 2>&1 || { cat "$E2E_WORK/package.out" >&2; fail "scripts/package --version $later"; }
rm -f "$installed/kelvane.cfg"
wine msiexec /i "$(winepath_of "$E2E_WORK/later/kelvane-$later-$arch.msi")" /qn >"$E2E_WORK/msiexec.out" 2>&1 ||
  fail "installing $later failed"
[ "$(entries)" = "$later|Tarnwick|1" ] || fail "entries after the upgrade: $(entries)"
for f in kelvane.exe kelvane.cfg kelvane.chm; do
  cmp -s "$installed/$f" "$E2E_WORK/portable/$name/$f" || fail "$programs\\Kelvane\\$f is not current after the upgrade"
done
msi=$(winepath_of "$E2E_WORK/later/kelvane-$later-$arch.msi")

# Uninstalled: nothing left but the settings.
wine msiexec /x "$msi" /qn >"$E2E_WORK/msiexec.out" 2>&1 || fail "msiexec /x failed"
[ -e "$installed" ] && fail "left after uninstall: $(ls -A "$installed")"
[ -z "$(shortcuts)" ] || fail "shortcut left after uninstall: $(shortcuts)"
[ -z "$(entries)" ] || fail "entry left after uninstall: $(entries)"
wine reg query "$E2E_KEY" >/dev/null 2>&1 || fail "uninstall removed the settings"
echo "package $name: ok"
