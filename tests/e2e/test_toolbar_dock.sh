#!/usr/bin/env bash
# The toolbar dragged by its gripper: to the left edge of the frame it stands vertically beside
# the splitter, to the middle of the screen it floats in a captioned tool window, and a
# double-click on that caption docks it on top again, where the path field scans once more.
source "$(dirname "$0")/lib.sh"
e2e_init toolbar_dock

e2e_reset_registry
e2e_set_dword vl 1  # the left view logs every request it gets
e2e_start
e2e_wait_painted

# Points of the main window with the default settings: the gripper left of the first button,
# and a point of the empty list that the bar covers once it stands on the left edge.
GRIP_X=3
GRIP_Y=31
EDGE_X=12
LIST_X=70
LIST_Y=280

shot="$E2E_WORK/shot.png"
# is_white X Y: 0 when the point is white (the path field, the empty list) in a fresh picture,
# 1 when it is not, 2 when no picture could be taken.
is_white() {
  import -window "$E2E_WID" "$shot" 2>/dev/null || return 2
  local v
  v=$(convert "$shot" -format "%[fx:p{$1,$2}.r==1 && p{$1,$2}.g==1 && p{$1,$2}.b==1]" info:- 2>/dev/null) || return 2
  [ "$v" = 1 ]
}
white() {
  while [ $# -ge 2 ]; do
    is_white "$1" "$2" || return 1
    shift 2
  done
}
not_white() {
  is_white "$1" "$2"
  [ $? -eq 1 ]
}

# The floating bar's window: another visible window of the program, wide and low (a tooltip
# is neither).
floating_window() {
  local w
  for w in $(xdotool search --onlyvisible --classname kelvane.exe 2>/dev/null); do
    [ "$w" = "$E2E_WID" ] && continue
    eval "$(xdotool getwindowgeometry --shell "$w" | sed 's/^/G_/')"
    [ "$G_WIDTH" -gt 300 ] && [ "$G_HEIGHT" -lt 80 ] && { echo "$w"; return 0; }
  done
  return 1
}
no_floating_window() { ! floating_window; }

# drag X Y SCREEN_X SCREEN_Y: presses at X Y of the main window, moves and lets go on the screen.
drag() {
  eval "$(xdotool getwindowgeometry --shell "$E2E_WID" | sed 's/^/M_/')"
  xdotool mousemove --window "$E2E_WID" "$1" "$2" mousedown 1 \
    mousemove $((M_X + 150)) $((M_Y + 150)) mousemove "$3" "$4" mouseup 1
}

wait_until 20 white "$PATH_X" "$PATH_Y" "$EDGE_X" "$LIST_Y" || fail "the path field or the list is not where expected"

# To the left edge: the bar covers the list's left end, the list moved right beside it, and
# nothing is left on top (the path field is hidden with the bar standing).
eval "$(xdotool getwindowgeometry --shell "$E2E_WID" | sed 's/^/M_/')"
drag "$GRIP_X" "$GRIP_Y" $((M_X + 4)) $((M_Y + 200))
left_docked() { not_white "$EDGE_X" "$LIST_Y" && white "$LIST_X" "$LIST_Y" && not_white "$PATH_X" "$PATH_Y"; }
wait_until 20 left_docked || fail "the toolbar did not dock on the left edge"
e2e_screenshot toolbar-left >/dev/null

# Taken by an empty spot below its buttons to the middle of the screen (away from the frame):
# it floats, and the frame gives all its room to the splitter.
drag "$EDGE_X" "$LIST_Y" 900 650
wait_until 20 floating_window || fail "the toolbar did not float"
floater=$(floating_window)
floated() { white "$EDGE_X" "$LIST_Y" && not_white "$PATH_X" "$PATH_Y"; }
wait_until 20 floated || fail "the frame did not take the floating bar's room"
e2e_screenshot toolbar-floating >/dev/null

# A double-click on its caption (drawn by Wine itself: there is no window manager) docks it
# on top again.
xdotool mousemove --window "$floater" 60 6 click --repeat 2 --delay 80 1
wait_until 20 no_floating_window || fail "the floating window stayed after a double-click on its caption"
wait_until 20 white "$PATH_X" "$PATH_Y" "$EDGE_X" "$LIST_Y" || fail "the toolbar is not back on top"

# The path field works again.
mkdir -p "$E2E_WORK/folder"
log_has "mvwl::OnDirs" && fail "a scan before the path was entered"
e2e_enter_path "$(winepath_of "$E2E_WORK/folder")"
wait_for_log "mvwl::OnDirs"
no_boxes || fail "unexpected message box: $(cat "$E2E_MESSAGES")"
e2e_close
echo "toolbar_dock: ok"
