#!/usr/bin/env bash
# Writes the winget manifest of a Windows Installer package: the version,
# default-locale and installer files of manifest schema 1.12.0.
#   packaging/winget_manifest.sh PACKAGE.msi DOWNLOAD_URL OUTPUT_DIR
# Names, version, codes and links come from the package's own tables.
set -euo pipefail
msi=$1 url=$2 out=$3
schema=1.12.0
id=Lodestar.Lodestar

[[ $url =~ ^https?://[^[:space:]]+$ ]] || { echo "not a download address: $url" >&2; exit 1; }
properties=$(msiinfo export "$msi" Property | tr -d '\r')
property() { sed -n "s/^$1\t//p" <<<"$properties"; }
version=$(property ProductVersion)
sha256=$(sha256sum "$msi" | cut -d' ' -f1 | tr a-f A-F)

# Single quotes keep YAML from reading braces, colons or hashes in a value.
quote() { printf "'%s'" "${1//\'/\'\'}"; }
manifest_head() {
  printf '# yaml-language-server: $schema=https://aka.ms/winget-manifest.%s.%s.schema.json\n' "$1" "$schema"
  printf 'PackageIdentifier: %s\nPackageVersion: %s\n' "$id" "$(quote "$version")"
}
manifest_tail() { printf 'ManifestType: %s\nManifestVersion: %s\n' "$1" "$schema"; }

mkdir -p "$out"
{
  manifest_head version
  printf 'DefaultLocale: en-US\n'
  manifest_tail version
} >"$out/$id.yaml"
{
  manifest_head defaultLocale
  cat <<YAML
PackageLocale: en-US
Publisher: $(quote "$(property Manufacturer)")
PublisherUrl: $(quote "$(property ARPURLINFOABOUT)")
PackageName: $(quote "$(property ProductName)")
PackageUrl: $(quote "$(property ARPURLINFOABOUT)")
License: MIT
ShortDescription: GPS tray monitor and location sensor diagnostic for Windows
Description: |-
  lodestar shows in the notification area whether the computer's satellite positioning
  receiver is ready, with its position in the tooltip; it starts at sign-in.
  skyprobe prints a report of every location sensor and of the Windows Location API.
Tags:
- gps
- gnss
- location
- tray
YAML
  manifest_tail defaultLocale
} >"$out/$id.locale.en-US.yaml"
{
  manifest_head installer
  cat <<YAML
InstallerType: wix
Scope: user
InstallModes:
- interactive
- silent
- silentWithProgress
UpgradeBehavior: install
ProductCode: $(quote "$(property ProductCode)")
AppsAndFeaturesEntries:
- DisplayName: $(quote "$(property ProductName)")
  Publisher: $(quote "$(property Manufacturer)")
  DisplayVersion: $(quote "$version")
  ProductCode: $(quote "$(property ProductCode)")
  UpgradeCode: $(quote "$(property UpgradeCode)")
Installers:
- Architecture: x64
  InstallerUrl: $(quote "$url")
  InstallerSha256: $sha256
YAML
  manifest_tail installer
} >"$out/$id.installer.yaml"
