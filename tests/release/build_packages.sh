#!/bin/bash
# Makes the release of the previous version and of the project's version from
# one Windows build, as scripts/make_release.sh does for users, and a second
# package of the project's version (a new build of the same version):
#   build_packages.sh SOURCE_DIR BUILD_DIR OUT_DIR PREVIOUS_VERSION VERSION
# OUT_DIR/dist holds both releases and the winget manifest of the newer one;
# OUT_DIR/rebuilt the second package.
set -euo pipefail
source_dir=$1 build_dir=$2 out=$3 previous=$4 version=$5

rm -rf "$out"
mkdir -p "$out/rebuilt"
for v in "$previous" "$version"; do
    "$source_dir/scripts/make_release.sh" --build-dir "$build_dir" --dist "$out/dist" --version "$v" \
        >"$out/make_release-$v.log" 2>&1 || { cat "$out/make_release-$v.log"; exit 1; }
done
cat "$out/make_release-$version.log"
"$source_dir/packaging/build_msi.sh" "$out/dist/lodestar-$version" "$version" "$out/rebuilt/lodestar-$version.msi"
