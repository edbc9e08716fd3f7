#!/usr/bin/env bash
# Builds the Windows Installer package from a release folder:
#   packaging/build_msi.sh RELEASE_DIR VERSION OUTPUT.msi
# RELEASE_DIR holds lodestar.exe, skyprobe.exe, lodestar.ini, README.txt,
# LICENSE and THIRD-PARTY-NOTICES.txt as shipped; VERSION is N.N.N.
# wixl (msitools) builds the package from lodestar.wxs; msibuild then sets
# what wixl 0.101 cannot express. LODESTAR_HELP_LINK replaces the help and
# publisher link shown in Apps & features.
set -euo pipefail
packaging=$(cd "$(dirname "$0")" && pwd)
release_dir=$1 version=$2 output=$3
help_link=${LODESTAR_HELP_LINK:-https://github.com/lodestar/skyprobe}

[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] ||
  { echo "the package needs a version of the form N.N.N, not '$version'" >&2; exit 1; }
for tool in wixl msibuild msiinfo; do
  command -v $tool >/dev/null || { echo "$tool not found: install the Debian packages wixl and msitools" >&2; exit 1; }
done

# wixl reads sources relative to the working directory.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$release_dir"/{lodestar.exe,skyprobe.exe,lodestar.ini,README.txt,LICENSE,THIRD-PARTY-NOTICES.txt} "$work/"
cp "$packaging/../tray/icons/app.ico" "$work/"
(cd "$work" && wixl -a x64 -D Version="$version" -D HelpLink="$help_link" -o package.msi "$packaging/lodestar.wxs")

# The FILEVERSION of a program's version resource, as N.N.N.N.
file_version() {
  x86_64-w64-mingw32-windres -i "$1" -O rc | sed -n 's/^\s*FILEVERSION \([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\)\s*$/\1.\2.\3.\4/p'
}

# What wixl 0.101 cannot say:
# - lodestar.ini is the user's: installed only where none exists, never
#   removed (component attributes 256 64-bit + 16 permanent + 128 never overwrite);
# - the Run value only without AUTOSTART=0 (256 + 4 registry key path, and a condition);
# - a new package of the installed version replaces it rather than adding a
#   second product (upgrade attributes 1 + 512: the maximum version is inclusive);
# - AUTOSTART is passed on to the installation's server side;
# - the programs' file versions, which decide over files already there.
msibuild "$work/package.msi" -q "UPDATE Component SET Attributes = 400 WHERE Component = 'Settings'"
msibuild "$work/package.msi" -q "UPDATE Component SET Attributes = 260, Condition = 'AUTOSTART<>\"0\"' WHERE Component = 'AutoStart'"
upgrade_code=$(msiinfo export "$work/package.msi" Property | tr -d '\r' | sed -n 's/^UpgradeCode\t//p')
msibuild "$work/package.msi" -q "DELETE FROM Upgrade WHERE ActionProperty = 'WIX_UPGRADE_DETECTED'"
msibuild "$work/package.msi" -q "INSERT INTO Upgrade (UpgradeCode, VersionMax, Attributes, ActionProperty)
  VALUES ('$upgrade_code', '$version', 513, 'WIX_UPGRADE_DETECTED')"
msibuild "$work/package.msi" -q "UPDATE Property SET Value = 'AUTOSTART;WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED' WHERE Property = 'SecureCustomProperties'"
for exe in lodestar.exe skyprobe.exe; do
  msibuild "$work/package.msi" -q "UPDATE File SET Version = '$(file_version "$work/$exe")' WHERE File = '$exe'"
done
mv "$work/package.msi" "$output"
