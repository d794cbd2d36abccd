#!/usr/bin/env bash
# The program follows the display scale: started at 96, 144 and 192 DPI (Wine's LogPixels, read
# when its session starts) with a scanned folder, the list's rows, texts and colour keys and the
# pie's radius and the toolbar's images all grow by the scale, within a pixel or two of the
# fonts' rounding, and the path field leaves the refresh button uncovered. Each scale is
# captured (screenshots/display_scale_DPI.png). A prefix of the test's own takes the scale, so
# nothing else that runs meanwhile sees it.
source "$(dirname "$0")/lib.sh"
e2e_init display_scale

shared=$WINEPREFIX
export WINEPREFIX="$E2E_WORK/prefix"
cp -a "$shared" "$WINEPREFIX" || fail "could not copy the Wine prefix"
E2E_LOG="$WINEPREFIX/drive_c/users/$E2E_USER/Temp/kelvane.log"
stop_server() { wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1; return 0; }
trap 'e2e_cleanup; stop_server' EXIT

# Two files: slice 0 (red, 0xFF0000) and slice 1 (orange, 0xFFA500), names with ascenders and
# descenders, so that their height is the font's.
mkdir -p "$E2E_WORK/folder"
head -c 60000 /dev/zero >"$E2E_WORK/folder/bigfile.dat"
head -c 40000 /dev/zero >"$E2E_WORK/folder/playbook.dat"

declare -A green key pitch text disc
for dpi in 96 144 192; do
  stop_server
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 ||
    fail "LogPixels $dpi"
  stop_server
  e2e_reset_registry
  # 600 x 480 at 96: at 192 the window (1200 x 960) still fits the 1280 x 1024 screen.
  e2e_set_dword xs 610
  e2e_set_dword ys 490
  e2e_start
  e2e_wait_painted
  s() { echo $(( $1 * dpi / 96 )); }
  e2e_focus
  e2e_click "$(s "$PATH_X")" "$(s "$PATH_Y")"
  e2e_key End shift+Home
  e2e_type "$(winepath_of "$E2E_WORK/folder")"
  e2e_key Return

  eval "$(xdotool getwindowgeometry --shell "$E2E_WID")"
  shot="$E2E_BUILD/screenshots/display_scale_$dpi.png"
  raw="$E2E_WORK/shot.raw"
  ask() { python3 "$E2E_SOURCE/tests/e2e/pie_pixels.py" "$raw" "$WIDTH" "$@"; }
  left=$(s 280)
  right=$(s 320)
  # The toolbar is painted on its own: a capture may catch the panes drawn and the bar not yet.
  captured() {
    import -window "$E2E_WID" "$shot" 2>/dev/null && convert "$shot" -depth 8 "rgb:$raw" 2>/dev/null &&
      [ "$(ask extent "$right" 0 "$WIDTH" "$HEIGHT" ff0000)" != "0 0" ] &&
      [ "$(ask extent 0 0 "$left" "$HEIGHT" ffa500)" != "0 0" ] &&
      [ "$(ask extent 0 0 "$WIDTH" "$(s 70)" 008000)" != "0 0" ]
  }
  wait_until 30 captured || fail "$dpi DPI: the folder's pie, keys and toolbar were not drawn"

  # The refresh button's green (0x008000) in the toolbar strip, and the room between the path
  # field's white and that green on the image's middle row (none when the field covers it).
  read -r gw _ < <(ask extent 0 0 "$WIDTH" "$(s 70)" 008000)
  gap=$(python3 - "$raw" "$WIDTH" "$(s 70)" <<'EOF'
import sys
raw, w, h = open(sys.argv[1], "rb").read(), int(sys.argv[2]), int(sys.argv[3])
px = lambda x, y: raw[(y * w + x) * 3:(y * w + x) * 3 + 3].hex()
green = [(x, y) for y in range(h) for x in range(w) if px(x, y) == "008000"]
x0, y = min(g[0] for g in green), (min(g[1] for g in green) + max(g[1] for g in green)) // 2
x = x0 - 1
while x >= 0 and px(x, y) != "ffffff":
    x -= 1
print(x0 - 1 - x)
EOF
)
  # The colour keys in the list: their height (the interior and the pen's two pixels), and the
  # row pitch from the top of one to the next.
  read -r _ kh < <(ask extent 0 0 "$left" "$HEIGHT" ff0000)
  top0=$(python3 - "$raw" "$WIDTH" "$left" "$HEIGHT" <<'EOF'
import sys
raw, w, x1, h = open(sys.argv[1], "rb").read(), int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
def top(rgb):
    for y in range(h):
        for x in range(x1):
            i = (y * w + x) * 3
            if raw[i:i + 3].hex() == rgb:
                return y
    return -1
print(top("ff0000"), top("ffa500"))
EOF
)
  read -r t0 t1 <<<"$top0"
  # The first file's name: black text between the row's top and its key's bottom.
  read -r _ th < <(ask extent 0 $((t0 - $(s 3))) $((left - $(s 20))) $((t0 + kh + $(s 2))) 000000)
  # The pie: slice 0 takes 216 degrees, from 3 o'clock through 9 o'clock: its width is the diameter.
  read -r dw _ < <(ask extent "$right" 0 "$WIDTH" "$HEIGHT" ff0000)
  green[$dpi]=$gw key[$dpi]=$((kh + 2)) pitch[$dpi]=$((t1 - t0)) text[$dpi]=$th disc[$dpi]=$dw
  [ "$gap" -ge "$(s 4)" ] || fail "$dpi DPI: the path field covers the refresh button (${gap} pixels apart)"
  echo "$dpi DPI: toolbar image ${gw}, field to refresh ${gap}, key ${key[$dpi]}, row ${pitch[$dpi]}, text ${th}, pie ${dw} (pixels)"
  e2e_close
done

# Each figure at 144 and 192 is its 96-DPI value times the scale, within tolerance pixels.
scaled() {  # NAME VALUE96 VALUE DPI TOLERANCE
  awk -v a="$2" -v b="$3" -v d="$4" -v t="$5" 'BEGIN { e = a * d / 96; exit !(b >= e - t && b <= e + t) }' ||
    fail "$1 at $4 DPI is $3, not $2 x $4 / 96 (within $5)"
}
for dpi in 144 192; do
  scaled "toolbar image" "${green[96]}" "${green[$dpi]}" "$dpi" 1
  scaled "colour key" "${key[96]}" "${key[$dpi]}" "$dpi" 1
  scaled "row pitch" "${pitch[96]}" "${pitch[$dpi]}" "$dpi" 2
  scaled "text height" "${text[96]}" "${text[$dpi]}" "$dpi" 2
  # The pane around the pie also holds the system's menu, caption and bars, which Wine scales by
  # its own rounding: the disc follows the pane within 2 %.
  scaled "pie diameter" "${disc[96]}" "${disc[$dpi]}" "$dpi" 8
done
echo "display scale: ok"
