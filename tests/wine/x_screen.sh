# shellcheck shell=bash
# Looks at the X screen of a Wine desktop the way a user would: screenshots,
# the windows shown on it, and where a known image sits (sourced, after
# wine_common.sh). SHOT is the file of the last screenshot.

require_x_tools() {
    require_program xdotool xdotool "to move and click the pointer"
    require_program xwininfo x11-utils "to read where a window is shown"
    require_program import imagemagick "to take screenshots"
    require_program compare imagemagick "to compare images"
    require_program stream imagemagick "to read pixels of a screenshot"
}

screenshot() {
    import -window root "$SHOT" || fail "cannot take a screenshot"
}

# X Y WIDTH HEIGHT of an X window, on the screen.
window_geometry() {
    xwininfo -id "$1" | awk '
        /Absolute upper-left X:/ { x = $NF }
        /Absolute upper-left Y:/ { y = $NF }
        /^ *Width:/ { w = $NF }
        /^ *Height:/ { h = $NF }
        END { print x, y, w, h }'
}

# The geometry of every window of PROGRAM (its .exe name) now shown, one a line.
shown_windows() {
    local id
    for id in $(xdotool search --onlyvisible --class "^${1//./\\.}\$" 2>/dev/null); do
        window_geometry "$id"
    done
}

# wait_for SECONDS COMMAND...: runs COMMAND every 0.2 s until it succeeds.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.2
    done
}

# The image of WIDTHxHEIGHT in an .ico file (its first such image): the
# index ImageMagick reads it under.
ico_image_index() {
    local ico=$1 size=$2 count i width height
    count=$(od -An -tu2 -j4 -N2 "$ico") || return 1
    for ((i = 0; i < count; i++)); do
        read -r width height < <(od -An -tu1 -j$((6 + 16 * i)) -N2 "$ico")
        if [ "${width}x${height}" = "$size" ]; then
            echo "$i"
            return 0
        fi
    done
    return 1
}

# find_image IMAGE WxH+X+Y: where in that area of the last screenshot IMAGE
# matches best, as "DIFFERING_PIXELS X Y" in screen coordinates.
find_image() {
    local image=$1 area=$2 result
    result=$(compare -metric AE -subimage-search "$SHOT" -crop "$area" +repage "$image" null: 2>&1)
    local left=${area#*+}
    local top=${left#*+}
    left=${left%+*}
    sed -n 's/^\([0-9.e+]*\) @ \([0-9]*\),\([0-9]*\)$/\1 \2 \3/p' <<<"$result" |
        awk -v left="$left" -v top="$top" '{ print $1 + 0, $2 + left, $3 + top }'
}

# The rows of an area of the last screenshot, one line each: how many of its
# pixels are dark (text on a light background).
dark_pixels_per_row() {
    local width=${1%%x*}
    stream -map i -storage-type char -extract "$1" "$SHOT" - |
        od -An -v -tu1 -w"$width" |
        awk '{ n = 0; for (i = 1; i <= NF; i++) if ($i < 128) n++; print n }'
}

# Whether an area of the last screenshot differs from the same area of IMAGE.
area_changed() {
    ! cmp -s <(stream -map rgb -storage-type char -extract "$2" "$1" -) \
        <(stream -map rgb -storage-type char -extract "$2" "$SHOT" -)
}

# Lines of text in an area: runs of at least 5 rows holding dark pixels (a
# descender or an underline alone is shorter).
text_lines() {
    dark_pixels_per_row "$1" | awk '
        $1 > 0 { run++; next }
        { if (run >= 5) lines++; run = 0 }
        END { if (run >= 5) lines++; print lines + 0 }'
}

# The box around the dark pixels of an area, as "X Y WIDTH HEIGHT" in screen
# coordinates; nothing if the area has none.
dark_box() {
    local area=$1 width=${1%%x*} left top
    left=${area#*+}
    top=${left#*+}
    left=${left%+*}
    stream -map i -storage-type char -extract "$area" "$SHOT" - |
        od -An -v -tu1 -w"$width" |
        awk -v left="$left" -v top="$top" '
            { for (i = 1; i <= NF; i++) if ($i < 128) {
                  x = i - 1; y = NR - 1
                  if (!found || x < x0) x0 = x
                  if (!found || x > x1) x1 = x
                  if (!found || y < y0) y0 = y
                  if (!found || y > y1) y1 = y
                  found = 1
              } }
            END { if (found) print x0 + left, y0 + top, x1 - x0 + 1, y1 - y0 + 1 }'
}

# The EXIT trap of a case that reads the screen: a failed case leaves its last
# screenshot in RUN_DIR as NAME to look at; then the case is finished.
#   trap 'keep_failed_screenshot NAME' EXIT
keep_failed_screenshot() {
    local status=$?
    [ $status -ne 0 ] && [ -f "$SHOT" ] && cp "$SHOT" "$run_dir/$1" && echo "last screenshot: $run_dir/$1"
    (exit $status)
    finish_case
}

# Whether the Wine desktop DESKTOP is on the X screen; sets desk_x desk_y
# desk_w desk_h.
desktop_shown() {
    local id
    id=$(xdotool search --name "^$DESKTOP - Wine desktop\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] && read -r desk_x desk_y desk_w desk_h < <(window_geometry "$id")
}

# Whether the notification area, at the right end of the desktop's task bar,
# shows the image ICON pixel for pixel; sets icon_x icon_y (where it matches
# best) and differing (how many pixels differ there).
tray_icon_shown() {
    screenshot
    read -r differing icon_x icon_y < <(find_image "$1" "$((desk_w / 2))x48+$((desk_x + desk_w / 2))+$((desk_y + desk_h - 48))")
    [ "${differing:-}" = 0 ]
}
