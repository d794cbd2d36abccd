# Sourced (after scripts/setup): chooses the Windows build that the tests, scripts/run and the
# benchmarks start, and the Wine that runs it.
#
# kelvane.exe is a 32-bit program, always built to build/win. Some hosts run 64-bit user code
# only: there an i386 program fails with "Exec format error", so 32-bit Wine cannot start at
# all. On such a host the same sources are also built for 64-bit Windows (build/win64) and run
# by 64-bit Wine, so every Windows and end-to-end test still runs. KELVANE_WIN_ARCH (i686 or
# x86_64) overrides the choice.
#
# Sets KELVANE_WIN_ARCH, KELVANE_WIN_BUILD (the build folder to start programs from) and
# KELVANE_TOOLCHAIN; for 64-bit, puts a `wine` first on PATH that starts 64-bit Wine.
kelvane_wine_env() {
  local root=$1
  if [ -z "${KELVANE_WIN_ARCH:-}" ]; then
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then KELVANE_WIN_ARCH=i686; else KELVANE_WIN_ARCH=x86_64; fi
  fi
  export KELVANE_WIN_ARCH
  if [ "$KELVANE_WIN_ARCH" = x86_64 ]; then
    export KELVANE_WIN_BUILD="$root/build/win64" KELVANE_TOOLCHAIN=cmake/mingw-x86_64.cmake
    local shim="$root/build/wine64-bin"
    if [ ! -x "$shim/wine" ]; then
      mkdir -p "$shim"
      printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' >"$shim/wine"
      chmod +x "$shim/wine"
    fi
    case ":$PATH:" in *":$shim:"*) ;; *) export PATH="$shim:$PATH" ;; esac
  else
    export KELVANE_WIN_BUILD="$root/build/win" KELVANE_TOOLCHAIN=cmake/mingw-i686.cmake
  fi
}
