#!/bin/bash
# The benchmarks. Prints one table (Markdown) of each figure beside its floor
# and their ratio:
#   bench/run.sh
# Uses the native build in build/native (NATIVE_BUILD) and, where Wine and the
# Windows build in build/windows (WINDOWS_BUILD) are there, the .exe files in a
# throw-away Wine prefix; instructions are counted where valgrind is installed.
# Builds what is missing first. Not part of the tests: it takes a few minutes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bench=$root/bench
native=${NATIVE_BUILD:-$root/build/native}
windows=${WINDOWS_BUILD:-$root/build/windows}
work=$(mktemp -d "${TMPDIR:-/tmp}/lodestar-bench.XXXXXX")
wine_run=
cleanup() {
    [ -n "$wine_run" ] && bash "$root/tests/wine/prefix_cleanup.sh" "$wine_run" || true
    rm -rf "$work"
}
trap cleanup EXIT

have() { command -v "$1" >/dev/null 2>&1; }
say() { echo "$*" >&2; }

build_if_missing() {
    local preset=$1 dir=$2 target=$3
    [ -f "$dir/$target" ] && return 0
    say "building the $preset preset"
    (cd "$root" && cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" >/dev/null)
}

# The shortest wall time of RUNS runs of a command, in microseconds: the
# least disturbed by whatever else the machine is doing.
best_us() {
    local runs=$1 i start elapsed best=
    shift
    for ((i = 0; i < runs; i++)); do
        start=${EPOCHREALTIME/[.,]/}
        "$@" >/dev/null 2>&1 || true
        elapsed=$((${EPOCHREALTIME/[.,]/} - start))
        if [ -z "$best" ] || [ "$elapsed" -lt "$best" ]; then best=$elapsed; fi
    done
    echo "$best"
}

rows=()
# row FIGURE VALUE FLOOR (numbers as text; the ratio is worked out from the raw ones)
row() { rows+=("$1|$2|$3|$4"); }
ratio() { # a b -> a/b with two decimals
    if [ "$2" -gt 0 ]; then printf '%d.%02d' $(($1 / $2)) $(($1 * 100 / $2 % 100)); else echo -; fi
}
ms() { printf '%d.%d ms' $(($1 / 1000)) $(($1 / 100 % 10)); }
count() { # 1234567 -> 1,234,567
    local n=$1 out=
    while [ ${#n} -gt 3 ]; do
        out=,${n: -3}$out
        n=${n:0:${#n}-3}
    done
    echo "$n$out"
}
kb() { echo "$(count "$1") KB"; }

build_if_missing native "$native" tray/lodestar
for n in 1 10 100 1000; do "$bench/make_scenario.sh" "$n" >"$work/sensors$n.ini"; done

# skyprobe, native, against /bin/true.
# The floor is taken before and after, as a busy moment may spoil either.
floor=$(best_us 21 /bin/true)
declare -A probe_us
for n in 1 10 100 1000; do
    probe_us[$n]=$(SENSORSIM_SCENARIO=$work/sensors$n.ini best_us 11 "$native/probe/skyprobe")
done
json_us=$(SENSORSIM_SCENARIO=$work/sensors1000.ini best_us 11 "$native/probe/skyprobe" --json)
after=$(best_us 21 /bin/true)
[ "$after" -lt "$floor" ] && floor=$after
for n in 1 10 100 1000; do
    t=${probe_us[$n]}
    row "skyprobe, $n sensor(s), native" "$(ms "$t")" "$(ms "$floor") (/bin/true)" "$(ratio "$t" "$floor")"
done
# The JSON report against the text one, at 1,000 sensors.
row "skyprobe --json, 1000 sensor(s), native" "$(ms "$json_us")" "$(ms "${probe_us[1000]}") (text report)" \
    "$(ratio "$json_us" "${probe_us[1000]}")"

# lodestar's resident memory across 2,000 live status events.
read -r early late < <("$bench/lodestar_events.sh" "$native/tray/lodestar" 2000)
row "lodestar resident memory after 2,000 status events (floor: after 100)" "$(kb "$late")" "$(kb "$early")" \
    "$(ratio "$late" "$early")"

# A 5,000-sensor scenario written while lodestar runs.
read -r shown deleted ended < <("$bench/lodestar_takein.sh" "$native/tray/lodestar" 5000)
row "lodestar takes in a 5,000-sensor edit" "$shown ms" "-" "-"
row "then Exit removes its tray entry" "$deleted ms" "-" "-"
row "then it has saved the catalog and ended" "$ended ms" "-" "-"

# Instructions per status, against a formatted tooltip and one printed line.
if have valgrind; then
    c++ -O2 -o "$work/status_floor" "$bench/status_floor.cpp"
    valgrind --tool=callgrind --callgrind-out-file="$work/floor.cg" --toggle-collect='OneStatus*' \
        "$work/status_floor" 1000 >/dev/null 2>&1
    floor_ir=$(($(sed -n 's/^summary: //p' "$work/floor.cg") / 1000))
    "$bench/lodestar_events.sh" "$native/tray/lodestar" 201 valgrind --tool=callgrind \
        --callgrind-out-file="$work/status.cg" '--toggle-collect=CSensorEvents::PublishStatus*' >/dev/null
    status_ir=$(($(sed -n 's/^summary: //p' "$work/status.cg") / 201))
    row "instructions per status (sensor event to tray line)" "$(count "$status_ir")" \
        "$(count "$floor_ir") (snprintf + one line)" "$(ratio "$status_ir" "$floor_ir")"
else
    say "valgrind not installed: no instruction counts"
fi

stripped_size() { # FILE STRIP -> size of a stripped copy
    "$2" -o "$work/stripped" "$1" && stat -c %s "$work/stripped"
}
true_size=$(stripped_size /bin/true strip)
for program in tray/lodestar probe/skyprobe; do
    size=$(stripped_size "$native/$program" strip)
    row "${program#*/}, native, stripped" "$(count "$size") B" "$(count "$true_size") B (/bin/true)" \
        "$(ratio "$size" "$true_size")"
done

# The Windows build under Wine, against a bare MinGW program.
if have wine && have x86_64-w64-mingw32-gcc; then
    build_if_missing windows "$windows" probe/skyprobe.exe
    wine_run=$work/wine
    bash "$root/tests/wine/prefix_setup.sh" "$wine_run" "$windows/sim/sensorsim.dll" >/dev/null
    . "$root/tests/wine/wine_common.sh"
    WINEPREFIX=$(cat "$wine_run/prefix")
    export WINEPREFIX
    unset DISPLAY WAYLAND_DISPLAY
    x86_64-w64-mingw32-gcc -O2 -o "$work/bare.exe" "$bench/bare.c"
    # A persistent wineserver: no run pays for starting it (prefix_cleanup.sh ends it).
    wineserver -p
    # The prefix's own services start with the first program: let them settle.
    for _ in 1 2 3; do wine "$work/bare.exe" >/dev/null 2>&1 || true; done
    sleep 2
    for n in 1 10 100 1000; do
        probe_us[$n]=$(SENSORSIM_SCENARIO=$(windows_path "$work/sensors$n.ini") \
            best_us 7 wine "$windows/probe/skyprobe.exe")
    done
    json_us=$(SENSORSIM_SCENARIO=$(windows_path "$work/sensors1000.ini") \
        best_us 7 wine "$windows/probe/skyprobe.exe" --json)
    floor=$(best_us 7 wine "$work/bare.exe")
    for n in 1 10 100 1000; do
        t=${probe_us[$n]}
        row "skyprobe.exe, $n sensor(s), Wine" "$(ms "$t")" "$(ms "$floor") (bare.exe)" "$(ratio "$t" "$floor")"
    done
    row "skyprobe.exe --json, 1000 sensor(s), Wine" "$(ms "$json_us")" "$(ms "${probe_us[1000]}") (text report)" \
        "$(ratio "$json_us" "${probe_us[1000]}")"
    bare_size=$(stripped_size "$work/bare.exe" x86_64-w64-mingw32-strip)
    for program in tray/lodestar.exe probe/skyprobe.exe; do
        size=$(stripped_size "$windows/$program" x86_64-w64-mingw32-strip)
        row "${program#*/}, stripped" "$(count "$size") B" "$(count "$bare_size") B (bare.exe)" \
            "$(ratio "$size" "$bare_size")"
    done
else
    say "wine or MinGW-w64 not installed: no Windows figures"
fi

echo "| figure | value | floor | ratio |"
echo "|---|---:|---:|---:|"
for line in "${rows[@]}"; do
    IFS='|' read -r figure value floor_text ratio_text <<<"$line"
    echo "| $figure | $value | $floor_text | $ratio_text |"
done
echo
echo "$(nproc) cores, $(. /etc/os-release && echo "$PRETTY_NAME"), $(date -u +%Y-%m-%d)"
