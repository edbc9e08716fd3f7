#!/usr/bin/env bash
# Fuzzes each libFuzzer target of tests/fuzz/ for SECONDS (default 60), one
# after the other, and merges what it found into the target's corpus in
# tests/fuzz/corpus/<target>/ (only inputs that add coverage, so the corpus
# stays small). An input that crashes, hangs or trips a sanitizer is kept in the
# corpus as crash-*, timeout-*, oom-* or leak-*, named on standard error; the
# script then ends with exit code 1, and the test suite fails on that input
# until the fault is mended.
#   scripts/fuzz.sh [SECONDS] [TARGET...]      (default: every target)
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
seconds=${1:-60}
shift || true
case $seconds in '' | *[!0-9]*) echo "usage: scripts/fuzz.sh [SECONDS] [TARGET...]" >&2; exit 2 ;; esac

# The flags of tests/fuzz/CMakeLists.txt.
flags=(-max_len=4096 -timeout=10 -rss_limit_mb=1024)

build=$top/build/fuzz
[ -f "$build/CMakeCache.txt" ] || cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    mapfile -t targets < <(ctest --test-dir "$build" -N -L fuzz | sed -n -E 's/^ *Test +#[0-9]+: fuzz\.//p')
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/lodestar-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT
failed=0
for target in "${targets[@]}"; do
    program=$build/tests/fuzz/$target
    corpus=$top/tests/fuzz/corpus/$target
    [ -x "$program" ] || { echo "$target: no such fuzz target in $build" >&2; exit 2; }
    mkdir -p "$corpus" "$work/$target/new" "$work/$target/found"
    echo "== $target: fuzzing for $seconds s" >&2
    # New inputs go into the first directory; the corpus is only read here.
    status=0
    nice -n 10 "$program" "${flags[@]}" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$work/$target/found/" "$work/$target/new" "$corpus" 2>"$work/$target/log" || status=$?
    grep -E '^(#[0-9]+[[:space:]]+DONE|stat::|Done )' "$work/$target/log" >&2 || true
    # The corpus becomes the smallest set of inputs that covers what the old
    # corpus and the new inputs cover. Named files (the seeds, earlier
    # findings) stay; the others are named by the SHA-1 of their content.
    before=$(find "$corpus" -type f | wc -l)
    mkdir "$work/$target/merged"
    nice -n 10 "$program" "${flags[@]}" -merge=1 "$work/$target/merged" "$corpus" "$work/$target/new" \
        >"$work/$target/merge.log" 2>&1
    hashed=(-type f -regextype egrep -regex '.*/[0-9a-f]{40}')
    named=$(find "$corpus" -type f -regextype egrep ! -regex '.*/[0-9a-f]{40}' -exec sha1sum {} + | cut -d' ' -f1)
    find "$corpus" "${hashed[@]}" -delete
    for file in "$work/$target/merged"/*; do
        [ -f "$file" ] || continue
        grep -qx "$(basename "$file")" <<<"$named" || cp "$file" "$corpus/"
    done
    echo "$target: corpus $before -> $(find "$corpus" -type f | wc -l) files" >&2
    for found in "$work/$target/found"/*; do
        [ -f "$found" ] || continue
        cp "$found" "$corpus/"
        echo "$target: FOUND $(basename "$found"), kept as tests/fuzz/corpus/$target/$(basename "$found")" >&2
        failed=1
    done
    if [ "$status" -ne 0 ]; then
        tail -n 60 "$work/$target/log" >&2
        failed=1
    fi
done
exit $failed
