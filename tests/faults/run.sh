#!/usr/bin/env bash
# Seeded faults: applies each patch of tests/faults/ on its own to a scratch
# copy of the tree, builds it natively, runs the native suite and reports
# whether the suite caught the fault. Not part of the test command.
#   tests/faults/run.sh [PATCH...]      (default: every tests/faults/*.patch)
# Each patch starts with one line saying what a developer got wrong.
set -euo pipefail
cd "$(dirname "$0")/../.."
top=$PWD

patches=("$@")
[ ${#patches[@]} -gt 0 ] || patches=(tests/faults/*.patch)

scratch=$(mktemp -d "${TMPDIR:-/tmp}/lodestar-faults.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
# The committed tree plus what is not committed yet, without build outputs.
tar -C "$top" --exclude=./build --exclude=./dist --exclude=./.git -cf - . | tar -C "$scratch" -xf -
cmake -S "$scratch" -B "$scratch/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$scratch/build" >/dev/null || { echo "the unchanged tree does not build" >&2; exit 1; }
(cd "$scratch/build" && ctest -j2 --timeout 120 >/dev/null) || { echo "the unchanged tree fails its tests" >&2; exit 1; }

caught=0 missed=0 broken=0
printf '%-44s %-8s %s\n' fault result "first failing test / what it is"
for patch in "${patches[@]}"; do
    name=$(basename "$patch" .patch)
    what=$(head -n 1 "$patch")
    if ! patch -s -p1 -d "$scratch" --dry-run <"$patch" >/dev/null 2>&1; then
        printf '%-44s %-8s %s\n' "$name" "no-apply" "$what"
        broken=$((broken + 1))
        continue
    fi
    patch -s -p1 -d "$scratch" <"$patch"
    if ! cmake --build "$scratch/build" >"$scratch/build.log" 2>&1; then
        result=no-build detail=$what
        broken=$((broken + 1))
    elif (cd "$scratch/build" && ctest -j2 --timeout 120 >"$scratch/ctest.log" 2>&1); then
        result=MISSED detail=$what
        missed=$((missed + 1))
    else
        result=caught
        detail=$(sed -n -E 's/^[[:space:]]*[0-9]+ - (.*) \(.*\)$/\1/p' "$scratch/ctest.log" | head -n 1)
        caught=$((caught + 1))
    fi
    printf '%-44s %-8s %s\n' "$name" "$result" "$detail"
    patch -s -R -p1 -d "$scratch" <"$patch"
done
# Leave the scratch build as the tree is, for the next run's timing.
cmake --build "$scratch/build" >/dev/null 2>&1 || true
echo "caught $caught of $((caught + missed)) faults that built; $broken did not apply or build"
