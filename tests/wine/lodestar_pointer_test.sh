#!/bin/bash
# lodestar.exe in a Wine desktop, used with the pointer through X on the
# notification area that Wine's explorer draws:
#   lodestar_pointer_test.sh RUN_DIR LODESTAR_EXE TRAY_USER_EXE SCENARIO MAP_URL READY_ICO
# the task bar shows READY_ICO's 16x16 image pixel for pixel; hovering over
# it shows a five-line tooltip; a left double-click opens MAP_URL; a right
# click opens the menu, and clicking its item ends lodestar, which then has
# written lodestar.ini. tray_user only waits for lodestar here.
set -u
. "$(dirname "$0")/wine_common.sh"
. "$(dirname "$0")/x_screen.sh"
require_x_tools
run_under_xvfb "$0" "$@"
. "$(dirname "$0")/lodestar_harness.sh"

run_dir=$1 LODESTAR_EXE=$2 TRAY_USER_EXE=$3 scenario=$4 map_url=$5 ready_ico=$6
require_wine
require_file "$LODESTAR_EXE" "build the Windows build's lodestar target first"
require_file "$TRAY_USER_EXE" "build the Windows build's tray_user target first"
require_file "$scenario" "the scenario of this test"
require_file "$ready_ico" "the built-in \"ready\" icon"
use_run_prefix "$run_dir"
LODESTAR_EXE=$(absolute_path "$LODESTAR_EXE") TRAY_USER_EXE=$(absolute_path "$TRAY_USER_EXE")
scenario=$(absolute_path "$scenario")
icon_index=$(ico_image_index "$ready_ico" 16x16) || fail "$ready_ico holds no 16x16 image"
icon="$ready_ico[$icon_index]"

WORK=$(mktemp -d) || fail "cannot create a temporary directory"
DESKTOP=lodestar-pointer-$$
SHOT=$WORK/screen.png
trap 'keep_failed_screenshot lodestar_pointer_failed.png' EXIT

start_lodestar "$scenario"
tray_user --timeout 60000 find || fail "lodestar's dialog did not appear"

wait_for 60 desktop_shown || fail "no Wine desktop window named $DESKTOP on the X screen"
echo "Wine desktop: ${desk_w}x${desk_h} at $desk_x,$desk_y"

wait_for 60 tray_icon_shown "$icon" ||
    fail "the task bar does not show the 16x16 image of $ready_ico${differing:+ (closest at $icon_x,$icon_y: $differing pixels differ)}"
echo "the ready icon is shown at $icon_x,$icon_y"
xdotool mousemove $((icon_x + 8)) $((icon_y + 8))

# The tooltip: a window of explorer's above the icon, with five lines of text.
tooltip_lines() {
    read -r tip_x tip_y tip_w tip_h < <(shown_windows explorer.exe | awk -v top="$icon_y" '$2 + $4 <= top' | head -n 1)
    [ -n "${tip_x:-}" ] || return 1
    screenshot
    lines=$(text_lines "$((tip_w - 4))x$((tip_h - 4))+$((tip_x + 2))+$((tip_y + 2))")
    [ "$lines" = 5 ]
}
wait_for 60 tooltip_lines ||
    fail "hovering over the icon showed no five-line tooltip (window: ${tip_x:-none} ${tip_y:-} ${tip_w:-} ${tip_h:-}, lines: ${lines:-})"
echo "tooltip of five lines: ${tip_w}x${tip_h} at $tip_x,$tip_y"

xdotool click --repeat 2 --delay 120 1
wait_for_url 30
urls=$(recorded_urls)
[ "$urls" = "$map_url" ] || fail "the double-click opened [$urls], expected [$map_url]"

# The menu: a window of lodestar's; its item is where its text is, and lights
# up under the pointer.
xdotool click 3
menu_item() {
    read -r menu_x menu_y menu_w menu_h < <(shown_windows lodestar.exe | head -n 1)
    [ -n "${menu_x:-}" ] || return 1
    screenshot
    read -r item_x item_y item_w item_h < <(dark_box "${menu_w}x${menu_h}+$menu_x+$menu_y")
    [ -n "${item_x:-}" ]
}
wait_for 60 menu_item || fail "a right click on the icon opened no menu"
echo "menu ${menu_w}x${menu_h} at $menu_x,$menu_y, its item ${item_w}x${item_h} at $item_x,$item_y"
cp "$SHOT" "$WORK/menu.png"
xdotool mousemove $((item_x + item_w / 2)) $((item_y + item_h / 2))
item_lit() {
    screenshot
    area_changed "$WORK/menu.png" "${item_w}x${item_h}+$item_x+$item_y"
}
wait_for 60 item_lit || fail "the menu's item did not light up under the pointer"
xdotool click 1

tray_user --timeout 60000 wait-gone || fail "choosing the menu's item did not end lodestar"
check_settings "$scenario" "{637d3e4b-20da-4318-b6fc-a100fd003a83}"
echo "PASS"
